// The parcel for CAD: ASCII DXF R12, in metres, CAD x = Y (east) and
// CAD y = X (north), as surveyors bring coordinates into CAD; texts in
// Windows-1251, which the header declares, in a text style whose font has
// Cyrillic letters; the extents in the header, so that CAD programs open on
// the figure.
#include <algorithm>
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
constexpr const char* kTextStyle = "GEOCALC";
constexpr const char* kTextFont =
    "arial.ttf";  // TrueType, with Cyrillic, where CAD programs look for it

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

// A line for CAD in Windows-1251, which has no superscript two: "m²" as "m2".
std::string cadLine(std::string_view utf8) {
    constexpr std::string_view kSquared = "²";
    std::string plain;
    for (std::size_t at = 0; at < utf8.size();) {
        const bool squared = utf8.substr(at, kSquared.size()) == kSquared;
        plain += squared ? '2' : utf8[at];
        at += squared ? kSquared.size() : 1;
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

}  // namespace

std::string parcelDxf(const Parcel& parcel, const Handover& handover) {
    const PlanExtent extent = extentOf(parcel);
    const double textHeight =
        std::max(std::max(extent.north(), extent.east()) * kTextHeightShare, kLeastTextHeight);
    auto east = [&](const PlanPoint& c) { return double(parcel.originY + c.y); };
    auto north = [&](const PlanPoint& c) { return double(parcel.originX + c.x); };

    // The catalogue and the totals, in lines to the right of the figure.
    const std::vector<std::string> catalogue = catalogueLines(parcel, handover);
    const double catalogueEast = double(parcel.originY) + extent.maxY + 4 * textHeight;
    const double catalogueTop = double(parcel.originX) + extent.maxX;
    const double lineStep = kLineSpacing * textHeight;
    const double totalsNorth = catalogueTop - lineStep * double(catalogue.size() + 1);
    const std::vector<std::string> totals = totalLines(parcel, handover);
    const double lowest = totalsNorth - lineStep * double(totals.size());

    DxfWriter dxf;
    dxf.group(0, "SECTION");
    dxf.group(2, "HEADER");
    if (!handover.crs.empty()) {  // a comment, which CAD programs pass over
        std::string comment = cadLine(std::string(word<"Coordinate system">(handover.language)) +
                                      ": " + handover.crs);
        std::replace_if(
            comment.begin(), comment.end(),
            [](char c) { return static_cast<unsigned char>(c) < 0x20; }, ' ');
        dxf.group(999, comment);
    }
    dxf.group(9, "$ACADVER");
    dxf.group(1, "AC1009");
    dxf.group(9, "$DWGCODEPAGE");
    dxf.group(3, "ANSI_1251");
    dxf.group(9, "$EXTMIN");
    dxf.point(double(parcel.originY) + extent.minY,
              std::min(double(parcel.originX) + extent.minX, lowest));
    dxf.group(9, "$EXTMAX");
    dxf.point(
        catalogueEast + textHeight * double(widestLine(catalogue, totals)),
        double(parcel.originX) + extent.maxX + (parcel.crossing ? 3 * textHeight : textHeight));
    dxf.group(0, "ENDSEC");
    dxf.group(0, "SECTION");
    dxf.group(2, "TABLES");
    dxf.group(0, "TABLE");
    dxf.group(2, "STYLE");
    dxf.group(70, "1");
    dxf.group(0, "STYLE");
    dxf.group(2, kTextStyle);
    dxf.group(70, "0");
    dxf.group(40, 0.0);
    dxf.group(41, 1.0);
    dxf.group(50, 0.0);
    dxf.group(71, "0");
    dxf.group(42, textHeight);
    dxf.group(3, kTextFont);
    dxf.group(4, "");
    dxf.group(0, "ENDTAB");
    dxf.group(0, "TABLE");
    dxf.group(2, "LAYER");
    dxf.group(70, "6");
    for (const char* name : {"PARCEL", "POINTS", "LABELS", "WARNING", "CATALOGUE", "AREA"})
        dxf.layer(name);
    dxf.group(0, "ENDTAB");
    dxf.group(0, "ENDSEC");
    dxf.group(0, "SECTION");
    dxf.group(2, "ENTITIES");
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
    for (std::size_t line = 0; line < catalogue.size(); ++line) {
        dxf.text("CATALOGUE", catalogueEast, catalogueTop - lineStep * double(line), textHeight,
                 catalogue[line]);
    }
    for (std::size_t line = 0; line < totals.size(); ++line) {
        dxf.text("AREA", catalogueEast, totalsNorth - lineStep * double(line), textHeight,
                 totals[line]);
    }
    if (parcel.crossing) {  // where CAD shows it, above the figure
        dxf.text("WARNING", double(parcel.originY) + extent.minY,
                 double(parcel.originX) + extent.maxX + 2 * textHeight, textHeight,
                 crossingWarning(parcel, handover.language));
    }
    dxf.group(0, "ENDSEC");
    dxf.group(0, "EOF");
    return dxf.take();
}

}  // namespace geocalc
