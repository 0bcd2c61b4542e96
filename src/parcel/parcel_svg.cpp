// The parcel drawn on an A4 page at a standard scale, true to scale when
// printed: the page is given in millimetres and one user unit is 1 mm.
#include <algorithm>
#include <cmath>

#include "charset/code_page.h"
#include "parcel/parcel_formats.h"
#include "parcel/parcel_numbers.h"

namespace geocalc {

namespace {

struct Page {
    double width, height;  // mm
};
constexpr Page kPortrait{210, 297};
constexpr Page kLandscape{297, 210};
constexpr double kMargin = 10;         // mm
constexpr double kLargestScale = 100;  // 1:100
constexpr double kLastListedScale = 100000;
constexpr double kListedScales[] = {100, 200, 500, 1000, 2000, 5000, 10000, 25000, 50000, 100000};
constexpr double kFactorsBeyond[] = {2, 2.5, 2};  // 1:200000, 1:500000, 1:1000000, ...
constexpr double kMillimetresPerMetre = 1000;
constexpr double kTextSize = 2.5;        // mm
constexpr double kLabelGap = 1;          // mm from a side to its length's text
constexpr double kCharacterWidth = 0.6;  // of the text size, for digits in a sans-serif font
constexpr double kScaleBarTarget = 40;   // mm a scale bar is at most

// The next standard scale after `scale`.
double nextScale(double scale) {
    for (std::size_t i = 0; i + 1 < std::size(kListedScales); ++i) {
        if (kListedScales[i] == scale) return kListedScales[i + 1];
    }
    int step = 0;
    for (double s = kLastListedScale; s < scale; ++step) s *= kFactorsBeyond[step % 3];
    return scale * kFactorsBeyond[step % 3];
}

// The largest standard scale (smallest denominator) at which an extent fits the page.
double fittingScale(double east, double north, const Page& page) {
    const double width = page.width - 2 * kMargin, height = page.height - 2 * kMargin;
    double scale = kLargestScale;
    while (east * kMillimetresPerMetre / scale > width ||
           north * kMillimetresPerMetre / scale > height) {
        scale = nextScale(scale);
    }
    return scale;
}

std::string escaped(const std::string& utf8) {
    std::string out;
    for (char c : utf8) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                out += static_cast<unsigned char>(c) < 0x20 ? ' '
                                                            : c;  // XML 1.0 has no other controls
        }
    }
    return out;
}

// Drawing coordinates to a hundredth of a millimetre.
std::string mm(double v) { return machineNumber(std::round(v * 100) / 100); }

std::string at(double x, double y) { return "x=\"" + mm(x) + "\" y=\"" + mm(y) + "\""; }

// A round length (1, 2 or 5 times a power of ten) of at most `metres`.
double roundLength(double metres) {
    const double power = std::pow(10.0, std::floor(std::log10(metres)));
    for (const double step : {5.0, 2.0}) {
        if (step * power <= metres) return step * power;
    }
    return power;
}

struct Point2 {
    double x, y;
};

}  // namespace

std::string parcelSvg(const Parcel& parcel, const Handover& handover) {
    const PlanExtent extent = extentOf(parcel);
    const double east = extent.east(), north = extent.north();
    const double portraitScale = fittingScale(east, north, kPortrait);
    const double landscapeScale = fittingScale(east, north, kLandscape);
    const Page page = landscapeScale < portraitScale ? kLandscape : kPortrait;
    const double scale = std::min(portraitScale, landscapeScale);
    const double paper = kMillimetresPerMetre / scale;  // millimetres of paper per metre
    // X up, Y to the right, the figure in the middle of the page.
    const double left = (page.width - east * paper) / 2, top = (page.height - north * paper) / 2;
    std::vector<Point2> drawn;
    for (const PlanPoint& c : parcel.corners)
        drawn.push_back({left + (double(c.y) - extent.minY) * paper,
                         top + (extent.maxX - double(c.x)) * paper});

    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + machineNumber(page.width) +
           "mm\" height=\"" + machineNumber(page.height) + "mm\" viewBox=\"0 0 " +
           machineNumber(page.width) + " " + machineNumber(page.height) +
           "\" font-family=\"sans-serif\" font-size=\"" + machineNumber(kTextSize) + "\">\n";
    svg += "<polygon id=\"parcel\" fill=\"none\" stroke=\"black\" stroke-width=\"0.35\" points=\"";
    for (const Point2& p : drawn) svg += mm(p.x) + "," + mm(p.y) + " ";
    svg.back() = '"';
    svg += "/>\n";

    // Lengths beside the middle of each side, on its outer side.
    double twiceArea = 0;
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        const Point2& a = drawn[i];
        const Point2& b = drawn[(i + 1) % drawn.size()];
        twiceArea += a.x * b.y - b.x * a.y;
    }
    const double outward = twiceArea > 0 ? 1 : -1;
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        const Point2& a = drawn[i];
        const Point2& b = drawn[(i + 1) % drawn.size()];
        const double dx = b.x - a.x, dy = b.y - a.y, length = std::max(std::hypot(dx, dy), 1e-9);
        const double nx = outward * dy / length, ny = -outward * dx / length;
        // Far enough out along the normal that the text's box clears the side.
        const std::string label = decimalsText(parcel.sides[i].length, 2);
        const double halfWidth = double(label.size()) * kTextSize * kCharacterWidth / 2;
        const double offset = kLabelGap + std::abs(nx) * halfWidth + std::abs(ny) * kTextSize / 2;
        svg += "<text text-anchor=\"middle\" dominant-baseline=\"middle\" " +
               at((a.x + b.x) / 2 + nx * offset, (a.y + b.y) / 2 + ny * offset) + ">" +
               escaped(label) + "</text>\n";
    }
    // Each point: a mark and its name.
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        svg += "<circle cx=\"" + mm(drawn[i].x) + "\" cy=\"" + mm(drawn[i].y) + "\" r=\"0.6\"/>\n";
        svg += "<text " + at(drawn[i].x + 1, drawn[i].y - 1) + " font-weight=\"bold\">" +
               escaped(utf8FromAnsi(parcel.points[i].name)) + "</text>\n";
    }
    // The scale, a scale bar of a round length, and a north arrow along +X.
    const double barMetres = roundLength(kScaleBarTarget / paper);
    const double barY = page.height - kMargin / 2, barX = kMargin + 20;
    svg += "<text " + at(kMargin, barY + 1) + ">1:" + machineNumber(scale) + "</text>\n";
    svg += "<path id=\"scale-bar\" fill=\"none\" stroke=\"black\" stroke-width=\"0.3\" d=\"M" +
           mm(barX) + "," + mm(barY - 1) + " v1 h" + mm(barMetres * paper) + " v-1\"/>\n";
    svg += "<text " + at(barX + barMetres * paper + 2, barY + 1) + ">" + machineNumber(barMetres) +
           " m</text>\n";
    const double arrowX = page.width - kMargin / 2;
    svg += "<path id=\"north-arrow\" stroke=\"black\" stroke-width=\"0.3\" d=\"M" +
           machineNumber(arrowX) + "," + machineNumber(kMargin + 8) + " V" +
           machineNumber(kMargin) + " l-1.2,2.5 h2.4 z\"/>\n";
    svg += "<text text-anchor=\"middle\" " + at(arrowX, kMargin - 1.5) + ">N</text>\n";
    if (parcel.crossing) {
        svg += "<text id=\"warning\" fill=\"red\" " + at(kMargin, kMargin / 2 + 1) + ">" +
               escaped(utf8FromAnsi(crossingWarning(parcel, handover.language))) + "</text>\n";
    }
    svg += "</svg>\n";
    return svg;
}

}  // namespace geocalc
