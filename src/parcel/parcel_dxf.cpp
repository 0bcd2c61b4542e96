// The parcel for CAD: ASCII DXF R12, in metres, CAD x = Y (east) and
// CAD y = X (north), as surveyors bring coordinates into CAD; texts in
// Windows-1251, which the header declares.
#include <algorithm>

#include "parcel/parcel_formats.h"
#include "parcel/parcel_numbers.h"

namespace geocalc {

namespace {

constexpr double kTextHeightShare = 1.0 / 60;  // of the figure's larger extent
constexpr double kLeastTextHeight = 0.2;       // m

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
    std::string take() { return std::move(out_); }

  private:
    std::string out_;
};

// A group value is one line: line breaks and other controls become blanks.
std::string oneLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, ' ');
    return text;
}

}  // namespace

std::string parcelDxf(const Parcel& parcel) {
    const PlanExtent extent = extentOf(parcel);
    const double textHeight =
        std::max(std::max(extent.north(), extent.east()) * kTextHeightShare, kLeastTextHeight);
    auto east = [&](const PlanPoint& c) { return double(parcel.originY + c.y); };
    auto north = [&](const PlanPoint& c) { return double(parcel.originX + c.x); };

    DxfWriter dxf;
    dxf.group(0, "SECTION");
    dxf.group(2, "HEADER");
    dxf.group(9, "$ACADVER");
    dxf.group(1, "AC1009");
    dxf.group(9, "$DWGCODEPAGE");
    dxf.group(3, "ANSI_1251");
    dxf.group(0, "ENDSEC");
    dxf.group(0, "SECTION");
    dxf.group(2, "TABLES");
    dxf.group(0, "TABLE");
    dxf.group(2, "LAYER");
    dxf.group(70, "4");
    for (const char* name : {"PARCEL", "POINTS", "LABELS", "WARNING"}) dxf.layer(name);
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
        dxf.group(0, "TEXT");
        dxf.group(8, "LABELS");
        dxf.point(east(c) + textHeight / 2, north(c) + textHeight / 2);
        dxf.group(40, textHeight);
        dxf.group(1, oneLine(parcel.points[i].name));
    }
    if (parcel.crossing) {  // where CAD shows it, above the figure
        dxf.group(0, "TEXT");
        dxf.group(8, "WARNING");
        dxf.point(double(parcel.originY) + extent.minY,
                  double(parcel.originX) + extent.maxX + 2 * textHeight);
        dxf.group(40, textHeight);
        dxf.group(1, oneLine(crossingWarning(parcel)));
    }
    dxf.group(0, "ENDSEC");
    dxf.group(0, "EOF");
    return dxf.take();
}

}  // namespace geocalc
