// The parcel for CAD: ASCII DXF R12, in metres, CAD x = Y (east) and
// CAD y = X (north), as surveyors bring coordinates into CAD; texts in
// Windows-1251, which the header declares, in a text style whose font has
// Cyrillic letters; the extents in the header, so that CAD programs open on
// the figure.
#include <algorithm>
#include <array>
#include <vector>

#include "charset/code_page.h"
#include "parcel/document_words.h"
#include "parcel/parcel_formats.h"
#include "parcel/parcel_numbers.h"

namespace geocalc {

namespace {

constexpr double kTextHeightShare = 1.0 / 60;  // of the figure's larger extent
constexpr double kLeastTextHeight = 0.2;       // m
constexpr double kLineSpacing = 1.5;           // text heights from line to line
constexpr double kCatalogueGap = 4;            // text heights between the figure and the catalogue
constexpr const char* kTextStyle = "GEOCALC";
constexpr const char* kTextFont =
    "arial.ttf";  // TrueType, with Cyrillic, where CAD programs look for it

struct Group {
    int code;
    const char* value;
};
// R12, texts in Windows-1251.
constexpr Group kHeaderVariables[] = {
    {9, "$ACADVER"}, {1, "AC1009"}, {9, "$DWGCODEPAGE"}, {3, "ANSI_1251"}};
// The one text style, upright and unscaled, the font with Cyrillic; its
// fixed height (42) is the texts' and goes between these.
constexpr Group kStyleTableStart[] = {{0, "TABLE"},    {2, "STYLE"}, {70, "1"}, {0, "STYLE"},
                                      {2, kTextStyle}, {70, "0"},    {40, "0"}, {41, "1"},
                                      {50, "0"},       {71, "0"}};
constexpr Group kStyleTableEnd[] = {{3, kTextFont}, {4, ""}, {0, "ENDTAB"}};
constexpr std::array<const char*, 6> kLayers = {"PARCEL",  "POINTS",    "LABELS",
                                                "WARNING", "CATALOGUE", "AREA"};

// A text as CAD shows it as written: one line (line breaks and other
// controls become blanks), and each "%" written "%%%", so that no "%%d" in
// a name turns into a degree sign.
std::string escapedText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == '%') {
            out += "%%%";
        } else {
            out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
        }
    }
    return out;
}

class DxfWriter {
public:
    void group(int code, const std::string& value) {
        out_ += std::to_string(code) + "\r\n" + value + "\r\n";
    }
    void group(int code, double value) { group(code, machineNumber(value)); }
    void point(double east, double north) {
        group(10, east);
        group(20, north);
        group(30, 0.0);
    }
    void layer(const char* name) {
        group(0, "LAYER");
        group(2, name);
        group(70, "0");
        group(62, "7");
        group(6, "CONTINUOUS");
    }
    void text(const char* layer, double east, double north, double height,
              const std::string& ansi) {
        group(0, "TEXT");
        group(8, layer);
        point(east, north);
        group(40, height);
        group(1, escapedText(ansi));
        group(7, kTextStyle);
    }
    std::string take() { return std::move(out_); }

private:
    std::string out_;
};

// A line for CAD in Windows-1251, which has no superscript two: square
// metres as the languages write them without it, "кв. м" and "sq. m".
std::string cadLine(std::string_view utf8) {
    constexpr std::pair<std::string_view, std::string_view> kSquareMetres[] = {{"м²", "кв. м"},
                                                                               {"m²", "sq. m"}};
    std::string plain;
    for (std::size_t at = 0; at < utf8.size();) {
        const auto* unit =
            std::find_if(std::begin(kSquareMetres), std::end(kSquareMetres),
                         [&](const auto& u) { return utf8.substr(at, u.first.size()) == u.first; });
        if (unit != std::end(kSquareMetres)) {
            plain += unit->second;
            at += unit->first.size();
        } else {
            plain += utf8[at++];
        }
    }
    return ansiFromUtf8(plain);
}

// The catalogue's lines in Windows-1251: a title row, then a point a line.
std::vector<std::string> catalogueLines(const Parcel& parcel, const Handover& handover) {
    std::vector<std::string> lines;
    for (const auto& row : catalogueRows(parcel, handover)) {
        std::string line;
        for (const std::string& cell : row) line += (line.empty() ? "" : "  ") + cell;
        lines.push_back(cadLine(line));
    }
    return lines;
}

std::vector<std::string> totalLines(const Parcel& parcel, const Handover& handover) {
    std::vector<std::string> lines = {cadLine(perimeterLine(parcel, handover)),
                                      cadLine(areaLine(parcel, handover))};
    if (handover.mt) lines.push_back(cadLine(mtLine(handover)));
    if (!handover.crs.empty()) {
        lines.push_back(cadLine(std::string(word<"Coordinate system">(handover.language)) + ": " +
                                handover.crs));
    }
    return lines;
}

// The most characters a line of the catalogue or the totals has.
std::size_t widestLine(const std::vector<std::string>& catalogue,
                       const std::vector<std::string>& totals) {
    std::size_t widest = 0;
    for (const auto* lines : {&catalogue, &totals}) {
        for (const std::string& line : *lines) widest = std::max(widest, line.size());
    }
    return widest;
}

// Where everything stands, in metres of the coordinate system: the
// catalogue and the totals in lines to the right of the figure.
struct DxfLayout {
    double textHeight, lineStep;
    double catalogueEast, catalogueTop, totalsNorth;
    double westmost, southmost, eastmost, northmost;  // the extents
    std::vector<std::string> catalogue, totals;
};

DxfLayout layOut(const Parcel& parcel, const Handover& handover) {
    const PlanExtent extent = extentOf(parcel);
    DxfLayout at;
    at.textHeight =
        std::max(std::max(extent.north(), extent.east()) * kTextHeightShare, kLeastTextHeight);
    at.lineStep = kLineSpacing * at.textHeight;
    at.catalogue = catalogueLines(parcel, handover);
    at.totals = totalLines(parcel, handover);
    at.catalogueEast = double(parcel.originY) + extent.maxY + kCatalogueGap * at.textHeight;
    at.catalogueTop = double(parcel.originX) + extent.maxX;
    at.totalsNorth = at.catalogueTop - at.lineStep * double(at.catalogue.size() + 1);
    const double lowest = at.totalsNorth - at.lineStep * double(at.totals.size());
    at.westmost = double(parcel.originY) + extent.minY;
    at.southmost = std::min(double(parcel.originX) + extent.minX, lowest);
    at.eastmost = at.catalogueEast + at.textHeight * double(widestLine(at.catalogue, at.totals));
    at.northmost = double(parcel.originX) + extent.maxX + (parcel.crossing ? 3 : 1) * at.textHeight;
    return at;
}

// The header: the coordinate system as a comment, which CAD programs pass
// over, the version, the code page and the extents.
void writeHeader(DxfWriter& dxf, const DxfLayout& at, const Handover& handover) {
    dxf.group(0, "SECTION");
    dxf.group(2, "HEADER");
    if (!handover.crs.empty()) {
        std::string comment = cadLine(std::string(word<"Coordinate system">(handover.language)) +
                                      ": " + handover.crs);
        std::replace_if(
            comment.begin(), comment.end(),
            [](char c) { return static_cast<unsigned char>(c) < 0x20; }, ' ');
        dxf.group(999, comment);
    }
    for (const auto& [code, value] : kHeaderVariables) dxf.group(code, value);
    dxf.group(9, "$EXTMIN");
    dxf.point(at.westmost, at.southmost);
    dxf.group(9, "$EXTMAX");
    dxf.point(at.eastmost, at.northmost);
    dxf.group(0, "ENDSEC");
}

// The tables: the text style, its height the texts', and the layers.
void writeTables(DxfWriter& dxf, double textHeight) {
    dxf.group(0, "SECTION");
    dxf.group(2, "TABLES");
    for (const auto& [code, value] : kStyleTableStart) dxf.group(code, value);
    dxf.group(42, textHeight);
    for (const auto& [code, value] : kStyleTableEnd) dxf.group(code, value);
    dxf.group(0, "TABLE");
    dxf.group(2, "LAYER");
    dxf.group(70, std::to_string(kLayers.size()));
    for (const char* name : kLayers) dxf.layer(name);
    dxf.group(0, "ENDTAB");
    dxf.group(0, "ENDSEC");
}

// The figure as a closed polyline, each corner a point with its name.
void writeFigure(DxfWriter& dxf, const Parcel& parcel, double textHeight) {
    auto east = [&](const PlanPoint& c) { return double(parcel.originY + c.y); };
    auto north = [&](const PlanPoint& c) { return double(parcel.originX + c.x); };
    dxf.group(0, "POLYLINE");
    dxf.group(8, "PARCEL");
    dxf.group(66, "1");
    dxf.group(70, "1");  // closed
    dxf.point(0, 0);
    for (const PlanPoint& c : parcel.corners) {
        dxf.group(0, "VERTEX");
        dxf.group(8, "PARCEL");
        dxf.point(east(c), north(c));
    }
    dxf.group(0, "SEQEND");
    dxf.group(8, "PARCEL");
    for (std::size_t i = 0; i < parcel.corners.size(); ++i) {
        const PlanPoint& c = parcel.corners[i];
        dxf.group(0, "POINT");
        dxf.group(8, "POINTS");
        dxf.point(east(c), north(c));
        dxf.text("LABELS", east(c) + textHeight / 2, north(c) + textHeight / 2, textHeight,
                 parcel.points[i].name);
    }
}

}  // namespace

std::string parcelDxf(const Parcel& parcel, const Handover& handover) {
    const DxfLayout at = layOut(parcel, handover);
    DxfWriter dxf;
    writeHeader(dxf, at, handover);
    writeTables(dxf, at.textHeight);
    dxf.group(0, "SECTION");
    dxf.group(2, "ENTITIES");
    writeFigure(dxf, parcel, at.textHeight);
    for (std::size_t line = 0; line < at.catalogue.size(); ++line) {
        dxf.text("CATALOGUE", at.catalogueEast, at.catalogueTop - at.lineStep * double(line),
                 at.textHeight, at.catalogue[line]);
    }
    for (std::size_t line = 0; line < at.totals.size(); ++line) {
        dxf.text("AREA", at.catalogueEast, at.totalsNorth - at.lineStep * double(line),
                 at.textHeight, at.totals[line]);
    }
    if (parcel.crossing) {  // where CAD shows it, above the figure
        dxf.text("WARNING", at.westmost, at.northmost - at.textHeight, at.textHeight,
                 crossingWarning(parcel, handover.language));
    }
    dxf.group(0, "ENDSEC");
    dxf.group(0, "EOF");
    return dxf.take();
}

}  // namespace geocalc
