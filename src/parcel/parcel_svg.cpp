// The parcel drawn on a page at a standard scale, true to scale when
// printed: the page is given in millimetres and one user unit is 1 mm. The
// figure with its point marks, names and side lengths, placed so that no
// two labels overlap; the catalogue; the title block; a north arrow and a
// scale bar; everything within the printable area.
#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <numbers>
#include <span>

#include "charset/code_page.h"
#include "parcel/document_words.h"
#include "parcel/label_placer.h"
#include "parcel/page_layout.h"
#include "parcel/parcel_formats.h"
#include "parcel/parcel_numbers.h"
#include "parcel/text_measure.h"

namespace geocalc {

namespace {

constexpr double kMillimetresPerMetre = 1000;
constexpr double kTextSize = 2.5;          // mm: catalogue and names
constexpr double kLengthSize = 2.2;        // mm: side lengths
constexpr double kTitleSize = 2.8;         // mm
constexpr double kTitleRow = 5;            // mm
constexpr double kTitleWidth = 95;         // mm
constexpr double kPadding = 1.5;           // mm between a text and its frame
constexpr double kLabelHeightShare = 1.3;  // of the text size, a label's box
constexpr double kMark = 0.6;              // mm, radius of a point's mark
constexpr double kScaleBarTarget = 40;     // mm a scale bar is at most
constexpr double kLeaderFrom = 4;          // mm: names further from their point get a line to it
constexpr double kNameRadii[] = {1.2, 2.5, 4};  // mm: a name stays by its point
constexpr double kNumberRadii[] = {1.2, 2.5, 4, 6,
                                   9,   13,  18};  // mm: a number may stand off, with a line to it
constexpr double kLengthRadii[] = {1.2, 2.5};      // mm round a side's middle
constexpr double kCrowded =
    0.05;  // the share of names without room that has every point numbered instead
// Labels that would cover more than this share of their area all together
// are not tried at all: they cannot find room, and trying costs time.
constexpr double kMostCovered = 0.5;
constexpr double kSideShares[] = {0.5, 0.4, 0.6, 0.3, 0.7, 0.2, 0.8};
constexpr double kSideOffsets[] = {0.8, 2.3, 4.3};
// Line widths, mm.
constexpr double kBoundaryLine = 0.35;  // the figure and the title block's frame
constexpr double kScaleBarLine = 0.3;
constexpr double kTableLine = 0.2;  // the catalogue's rules, the north arrow
constexpr double kTitleRule = 0.15;
constexpr double kLeaderLine = 0.1;
// Texts sit on a baseline this far above the bottom of their row, mm.
constexpr double kCatalogueBaselineLift = 1.1;
constexpr double kTitleBaselineLift = 1.4;
constexpr double kCatalogueBlockGap = 5;  // mm between blocks of the catalogue side by side
constexpr double kMarkClearance = 0.4;    // mm a label keeps from a point's mark
// The north arrow's box and its parts, mm.
constexpr double kArrowWidth = 8, kArrowHeight = 18;
constexpr double kArrowLetterBaseline = 3, kArrowTip = 4.5, kArrowNotch = 3, kArrowInset = 0.5;
// The scale bar's box, its strip of divisions and their labels above it, mm.
constexpr double kScaleBarHeight = 6, kScaleBarLabelRoom = 20;
constexpr double kScaleBarLift = 1, kScaleBarStrip = 1, kScaleBarLabelLift = 0.8;
// A label's baseline above the bottom of its box, in label heights.
constexpr double kLabelBaselineShare = 0.25;

std::string escaped(std::string_view utf8) {
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

// A straight line; "<line>" rather than "<path>", whose box some renderers
// report from the origin.
std::string line(PagePoint from, PagePoint to, double width) {
    return "<line stroke=\"black\" stroke-width=\"" + mm(width) + "\" x1=\"" + mm(from.x) +
           "\" y1=\"" + mm(from.y) + "\" x2=\"" + mm(to.x) + "\" y2=\"" + mm(to.y) + "\"/>\n";
}

std::string points(std::initializer_list<PagePoint> corners) {
    std::string text = "points=\"";
    for (const PagePoint& p : corners) {
        if (&p != corners.begin()) text += ' ';
        text += mm(p.x);
        text += ',';
        text += mm(p.y);
    }
    return text + "\"";
}

std::string text(const std::string& attributes, double x, double y, std::string_view utf8) {
    return "<text " + attributes + (attributes.empty() ? "" : " ") + at(x, y) + ">" +
           escaped(utf8) + "</text>\n";
}

// A round length (1, 2 or 5 times a power of ten) of at most `metres`.
double roundLength(double metres) {
    const double power = std::pow(10.0, std::floor(std::log10(metres)));
    for (const double step : {5.0, 2.0}) {
        if (step * power <= metres) return step * power;
    }
    return power;
}

// Pieces of a word, each as long as fits `width`: a word wider than a line
// is broken between characters.
std::vector<std::string> fittingPieces(std::string_view word, double width, double size,
                                       bool bold) {
    std::vector<std::string> pieces(1);
    for (std::size_t pos = 0; pos < word.size();) {
        const std::size_t start = pos;
        decodeUtf8(word, pos);
        const std::string_view character = word.substr(start, pos - start);
        if (!pieces.back().empty() &&
            textWidth(pieces.back() + std::string(character), size, bold) > width) {
            pieces.emplace_back();
        }
        pieces.back() += character;
    }
    return pieces;
}

// Words of a text put in lines no wider than `width` at `size`.
std::vector<std::string> wrapped(std::string_view utf8, double width, double size, bool bold) {
    std::vector<std::string> lines(1);
    for (std::size_t start = 0; start <= utf8.size();) {
        std::size_t end = utf8.find(' ', start);
        if (end == std::string_view::npos) end = utf8.size();
        for (const std::string& piece :
             fittingPieces(utf8.substr(start, end - start), width, size, bold)) {
            const std::string longer = lines.back().empty() ? piece : lines.back() + " " + piece;
            if (!lines.back().empty() && textWidth(longer, size, bold) > width) {
                lines.push_back(piece);
            } else {
                lines.back() = longer;
            }
        }
        start = end + 1;
    }
    if (lines.back().empty()) lines.pop_back();
    return lines;
}

struct TitleLine {
    std::string text;  // UTF-8
    bool bold = false, warning = false;
};

// The title block's lines, wrapped to its width; `scale` stands in its line.
std::vector<TitleLine> titleLines(const Parcel& parcel, const Handover& handover, double scale,
                                  bool labelsLeftOut, bool catalogueLeftOut) {
    const Language language = handover.language;
    const double width = kTitleWidth - 2 * kPadding;
    std::vector<TitleLine> lines;
    auto add = [&](std::string_view utf8, bool bold = false, bool warning = false) {
        for (std::string& line : wrapped(utf8, width, kTitleSize, bold))
            lines.push_back({std::move(line), bold, warning});
    };
    for (std::size_t i = 0; i < handover.title.size(); ++i) add(handover.title[i], i == 0);
    add(areaLine(parcel, handover));
    add(perimeterLine(parcel, handover));
    if (handover.mt) add(mtLine(handover));
    add(std::string(word<"Scale">(language)) + " 1:" + machineNumber(scale));
    if (!handover.crs.empty())
        add(std::string(word<"Coordinate system">(language)) + ": " + handover.crs);
    if (!handover.surveyor.empty())
        add(std::string(word<"Surveyor">(language)) + ": " + handover.surveyor);
    if (!handover.date.empty())
        add(std::string(word<"Date">(language)) + ": " + documentDate(handover));
    if (parcel.crossing) add(utf8FromAnsi(crossingWarning(parcel, language)), false, true);
    if (labelsLeftOut && catalogueLeftOut)
        add(word<"Names and lengths without room on the drawing are in the text or CSV output.">(
            language));
    else if (labelsLeftOut)
        add(word<"Names and lengths without room on the drawing are in the catalogue.">(language));
    if (catalogueLeftOut)
        add(word<"The catalogue is too long for the drawing: see the text or CSV output.">(
            language));
    return lines;
}

double titleHeight(const std::vector<TitleLine>& lines) { return double(lines.size()) * kTitleRow; }

struct CatalogueTable {
    std::vector<CatalogueRow> rows;
    std::array<double, kCatalogueColumns> widths{};
    double width = 0;
};

CatalogueTable catalogueTable(const Parcel& parcel, const Handover& handover) {
    CatalogueTable table{catalogueRows(parcel, handover)};
    for (const auto& row : table.rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            table.widths[c] =
                std::max(table.widths[c],
                         textWidth(row[c], kTextSize, &row == &table.rows[0]) + 2 * kPadding);
        }
    }
    for (const double w : table.widths) table.width += w;
    return table;
}

// In blocks of rows side by side, each with its heading; texts and rows in
// proportion to the row height the layout chose.
std::string drawCatalogue(const CatalogueTable& table, const PageLayout& layout,
                          const Handover& handover) {
    const double row = layout.catalogueRow, share = row / kCatalogueRow, padding = kPadding * share;
    const double width = table.width * share, baseline = row - kCatalogueBaselineLift * share;
    std::string svg = "<g id=\"catalogue\" font-size=\"" + mm(kTextSize * share) + "\">\n";
    svg += text("font-weight=\"bold\"", layout.catalogue.left, layout.catalogue.top + baseline,
                word<"Catalogue of coordinates">(handover.language));
    const double top = layout.catalogue.top + row;
    const std::size_t dataRows = table.rows.size() - 1;
    for (int block = 0; block < layout.catalogueBlocks; ++block) {
        const double left = layout.catalogue.left + block * (width + kCatalogueBlockGap);
        const std::size_t first = 1 + std::size_t(block * layout.rowsPerBlock);
        const std::size_t last = std::min(first + std::size_t(layout.rowsPerBlock), dataRows + 1);
        const double bottom = top + double(last - first + 1) * row;
        svg += "<rect fill=\"none\" stroke=\"black\" stroke-width=\"" + mm(kTableLine) + "\" " +
               at(left, top) + " width=\"" + mm(width) + "\" height=\"" + mm(bottom - top) +
               "\"/>\n";
        double x = left;
        for (std::size_t c = 1; c < kCatalogueColumns; ++c) {
            x += table.widths[c - 1] * share;
            svg += line({x, top}, {x, bottom}, kTableLine);
        }
        svg += line({left, top + row}, {left + width, top + row}, kTableLine);
        auto cells = [&](const CatalogueRow& texts, double rowTop, bool heading) {
            double cellLeft = left;
            for (std::size_t c = 0; c < kCatalogueColumns; ++c) {
                const double cellWidth = table.widths[c] * share;
                const bool right = kCatalogueRightAligned[c] && !heading;
                const double textX = right ? cellLeft + cellWidth - padding : cellLeft + padding;
                svg += text(std::string(heading ? "font-weight=\"bold\" " : "") +
                                (right ? "text-anchor=\"end\"" : ""),
                            textX, rowTop + baseline, texts[c]);
                cellLeft += cellWidth;
            }
        };
        cells(table.rows[0], top, true);
        for (std::size_t r = first; r < last; ++r)
            cells(table.rows[r], top + double(r - first + 1) * row, false);
    }
    return svg + "</g>\n";
}

std::string drawTitleBlock(const std::vector<TitleLine>& lines, const Box& box) {
    std::string svg = "<g id=\"title-block\" font-size=\"" + mm(kTitleSize) + "\">\n";
    svg += "<rect fill=\"none\" stroke=\"black\" stroke-width=\"" + mm(kBoundaryLine) + "\" " +
           at(box.left, box.top) + " width=\"" + mm(box.width()) + "\" height=\"" +
           mm(box.height()) + "\"/>\n";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const double rowTop = box.top + double(i) * kTitleRow;
        if (i > 0) {
            svg += line({box.left, rowTop}, {box.right, rowTop}, kTitleRule);
        }
        const std::string style = lines[i].bold      ? "font-weight=\"bold\""
                                  : lines[i].warning ? "fill=\"red\""
                                                     : "";
        svg += text(style, box.left + kPadding, rowTop + kTitleRow - kTitleBaselineLift,
                    lines[i].text);
    }
    return svg + "</g>\n";
}

// A conventional north arrow: a long narrow triangle along +X, its left half
// black and its right half white, the letter above it.
std::string drawNorthArrow(const Box& box, Language language) {
    const double x = (box.left + box.right) / 2, tip = box.top + kArrowTip, foot = box.bottom,
                 notch = foot - kArrowNotch;
    const double half = box.width() / 2 - kArrowInset;
    std::string svg = "<g id=\"north-arrow\" stroke=\"black\" stroke-width=\"" + mm(kTableLine) +
                      "\" stroke-linejoin=\"round\">\n";
    svg += "<polygon fill=\"black\" " + points({{x, tip}, {x - half, foot}, {x, notch}}) + "/>\n";
    svg += "<polygon fill=\"white\" " + points({{x, tip}, {x + half, foot}, {x, notch}}) + "/>\n";
    svg += text("text-anchor=\"middle\" font-weight=\"bold\" stroke=\"none\"", x,
                box.top + kArrowLetterBaseline, word<"N">(language));
    return svg + "</g>\n";
}

// A divided bar: a round length in whole divisions (five, or four of half a
// unit for a length starting with 2), black and white in turn, each
// division's end labelled in metres, the unit after the last.
std::string drawScaleBar(const Box& box, double paper, Language language) {
    const double metres = roundLength(kScaleBarTarget / paper), length = metres * paper;
    const double leading = metres / std::pow(10.0, std::floor(std::log10(metres)));
    const int divisions = std::lround(leading) == 2 ? 4 : 5;
    const double step = length / divisions, bottom = box.bottom - kScaleBarLift;
    const double top = bottom - kScaleBarStrip;
    std::string svg = "<g id=\"scale-bar\" font-size=\"" + mm(kLengthSize) + "\">\n";
    for (int k = 0; k < divisions; ++k) {
        svg += std::string("<rect fill=\"") + (k % 2 == 0 ? "black" : "white") +
               "\" stroke=\"black\" stroke-width=\"" + mm(kScaleBarLine / 2) + "\" " +
               at(box.left + k * step, top) + " width=\"" + mm(step) + "\" height=\"" +
               mm(kScaleBarStrip) + "\"/>\n";
    }
    for (int k = 0; k <= divisions; ++k) {
        std::string label = utf8FromAnsi(groupedThousands(machineNumber(metres * k / divisions)));
        if (k == divisions) label += " " + std::string(word<"m">(language));
        // The first label starts at the bar, within the figure's room.
        svg += text(k == 0 ? "" : "text-anchor=\"middle\"", box.left + k * step,
                    top - kScaleBarLabelLift, label);
    }
    return svg + "</g>\n";
}

// The eight ways from a point, starting with the one nearest `outward`.
std::vector<PagePoint> directionsFrom(PagePoint outward) {
    std::vector<PagePoint> directions;
    for (int k = 0; k < 8; ++k) {
        const double angle = k * std::numbers::pi / 4;
        directions.push_back({std::round(std::cos(angle)), std::round(std::sin(angle))});
    }
    std::stable_sort(directions.begin(), directions.end(), [&](PagePoint a, PagePoint b) {
        return a.x * outward.x + a.y * outward.y > b.x * outward.x + b.y * outward.y;
    });
    return directions;
}

// Boxes for a label round a point: nearest first, the outward side first.
std::vector<Box> boxesRound(PagePoint point, PagePoint outward, double width, double height,
                            std::span<const double> radii) {
    std::vector<Box> boxes;
    for (const double radius : radii) {
        for (const PagePoint d : directionsFrom(outward)) {
            boxes.push_back(Box::around(
                {point.x + d.x * (radius + width / 2), point.y + d.y * (radius + height / 2)},
                width, height));
        }
    }
    return boxes;
}

// Boxes for a side's length beside it: at its middle first, outside first;
// then round its middle, for sides too short or too crowded to have it beside.
std::vector<Box> lengthCandidates(PagePoint a, PagePoint b, PagePoint outward, double width,
                                  double height) {
    std::vector<Box> boxes;
    for (const double side : {1.0, -1.0}) {
        const PagePoint normal{outward.x * side, outward.y * side};
        for (const double extra : kSideOffsets) {
            const double offset =
                extra + std::abs(normal.x) * width / 2 + std::abs(normal.y) * height / 2;
            for (const double share : kSideShares) {
                const PagePoint on{a.x + (b.x - a.x) * share, a.y + (b.y - a.y) * share};
                boxes.push_back(Box::around({on.x + normal.x * offset, on.y + normal.y * offset},
                                            width, height));
            }
        }
    }
    const std::vector<Box> round =
        boxesRound({(a.x + b.x) / 2, (a.y + b.y) / 2}, outward, width, height, kLengthRadii);
    boxes.insert(boxes.end(), round.begin(), round.end());
    return boxes;
}

PagePoint unit(double x, double y) {
    const double length = std::hypot(x, y);
    return length > 0 ? PagePoint{x / length, y / length} : PagePoint{0, 0};
}

// The nearest point of a box to a point outside it.
PagePoint nearestOn(const Box& box, PagePoint p) {
    return {std::clamp(p.x, box.left, box.right), std::clamp(p.y, box.top, box.bottom)};
}

struct Figure {
    std::vector<PagePoint> corners;
    std::vector<PagePoint> sideNormals;  // outward, of the side leaving each corner
};

Figure figureOnPage(const Parcel& parcel, const PlanExtent& extent, const PageLayout& layout) {
    const double paper = kMillimetresPerMetre / layout.scale;
    const double left = layout.figure.left + (layout.figure.width() - extent.east() * paper) / 2;
    const double top = layout.figure.top + (layout.figure.height() - extent.north() * paper) / 2;
    Figure figure;
    for (const PlanPoint& c : parcel.corners) {
        figure.corners.push_back({left + (double(c.y) - extent.minY) * paper,
                                  top + (extent.maxX - double(c.x)) * paper});
    }
    double twiceArea = 0;
    const std::size_t n = figure.corners.size();
    for (std::size_t i = 0; i < n; ++i) {
        const PagePoint a = figure.corners[i], b = figure.corners[(i + 1) % n];
        twiceArea += a.x * b.y - b.x * a.y;
    }
    const double outward = twiceArea > 0 ? 1 : -1;
    for (std::size_t i = 0; i < n; ++i) {
        const PagePoint a = figure.corners[i], b = figure.corners[(i + 1) % n];
        figure.sideNormals.push_back(unit(outward * (b.y - a.y), -outward * (b.x - a.x)));
    }
    return figure;
}

struct Labels {
    std::string svg;
    int leftOut = 0;
};

double distanceTo(const Box& box, PagePoint p) {
    const PagePoint on = nearestOn(box, p);
    return std::hypot(on.x - p.x, on.y - p.y);
}

// The corners in square cells, to find those near a label quickly.
class CornerCells {
public:
    explicit CornerCells(const std::vector<PagePoint>& corners) : corners_(corners) {
        for (std::size_t i = 0; i < corners.size(); ++i) cells_[cellOf(corners[i])].push_back(i);
    }

    // Whether a label in `box` reads as corner i's: every other corner's
    // mark is clearly further from it than i's, which is `own` away.
    bool readsAsOwn(const Box& box, std::size_t i, double own) const {
        const double reach = own + kClearlyFurther;
        const auto [fromX, fromY] = cellOf({box.left - reach, box.top - reach});
        const auto [toX, toY] = cellOf({box.right + reach, box.bottom + reach});
        for (long long x = fromX; x <= toX; ++x) {
            for (long long y = fromY; y <= toY; ++y) {
                const auto cell = cells_.find({x, y});
                if (cell == cells_.end()) continue;
                for (const std::size_t j : cell->second) {
                    if (j != i && distanceTo(box, corners_[j]) <= own + kClearlyFurther)
                        return false;
                }
            }
        }
        return true;
    }

private:
    static constexpr double kCell = 10;           // mm
    static constexpr double kClearlyFurther = 1;  // mm: more than a text's box is off its ink
    static std::pair<long long, long long> cellOf(PagePoint p) {
        return {std::llround(std::floor(p.x / kCell)), std::llround(std::floor(p.y / kCell))};
    }
    const std::vector<PagePoint>& corners_;
    std::map<std::pair<long long, long long>, std::vector<std::size_t>> cells_;
};

std::string labelText(int id, const Box& box, double size, bool bold, const std::string& shown) {
    return "<text id=\"label-" + std::to_string(id) + "\" font-size=\"" + mm(size) + "\"" +
           (bold ? " font-weight=\"bold\"" : "") + " text-anchor=\"middle\" " +
           at((box.left + box.right) / 2,
              box.bottom - size * kLabelHeightShare * kLabelBaselineShare) +
           ">" + escaped(shown) + "</text>\n";
}

std::string pointLabel(const Parcel& parcel, std::size_t i, bool numbers) {
    return numbers ? std::to_string(i + 1) : utf8FromAnsi(parcel.points[i].name);
}

// Whether labels of these widths could ever all find room.
bool mightFit(const LabelPlacer& placer, double widths, double height) {
    return widths * height <= kMostCovered * placer.area().width() * placer.area().height();
}

// Every point's name by it, or its number in the catalogue.
Labels placePointLabels(const Parcel& parcel, const Figure& figure, LabelPlacer& placer,
                        bool numbers) {
    Labels labels;
    const std::size_t n = figure.corners.size();
    const double height = kTextSize * kLabelHeightShare;
    double widths = 0;
    for (std::size_t i = 0; i < n; ++i)
        widths += textWidth(pointLabel(parcel, i, numbers), kTextSize, true);
    if (!mightFit(placer, widths, height)) {
        labels.leftOut = int(n);
        return labels;
    }
    const CornerCells cells(figure.corners);
    for (std::size_t i = 0; i < n; ++i) {
        const PagePoint p = figure.corners[i];
        const PagePoint before = figure.sideNormals[(i + n - 1) % n], after = figure.sideNormals[i];
        const PagePoint outward = unit(before.x + after.x, before.y + after.y);
        const std::string shown = pointLabel(parcel, i, numbers);
        std::vector<Box> candidates = boxesRound(
            p, outward, textWidth(shown, kTextSize, true), height,
            numbers ? std::span<const double>(kNumberRadii) : std::span<const double>(kNameRadii));
        // A label without a leader says whose it is by standing nearest its
        // own mark; one with a leader says it by the leader.
        std::erase_if(candidates, [&](const Box& box) {
            const double own = distanceTo(box, p);
            return own <= kLeaderFrom && !cells.readsAsOwn(box, i, own);
        });
        const std::optional<Box> box = placer.place(candidates);
        if (!box) {
            ++labels.leftOut;
            continue;
        }
        const PagePoint end = nearestOn(*box, p);
        if (distanceTo(*box, p) > kLeaderFrom) labels.svg += line(p, end, kLeaderLine);
        labels.svg += labelText(int(i), *box, kTextSize, true, shown);
    }
    return labels;
}

// The points' names where each finds room by its point; on a figure too
// crowded for that, the points' numbers, as the catalogue lists them. Then
// the sides' lengths where they find room.
Labels placeLabels(const Parcel& parcel, const Figure& figure, LabelPlacer& placer,
                   const Handover& handover) {
    const LabelPlacer before = placer;
    Labels labels = placePointLabels(parcel, figure, placer, false);
    if (labels.leftOut > int(kCrowded * double(figure.corners.size()))) {
        placer = before;
        labels = placePointLabels(parcel, figure, placer, true);
    }
    const std::size_t n = figure.corners.size();
    const double height = kLengthSize * kLabelHeightShare;
    double widths = 0;
    for (std::size_t i = 0; i < n; ++i) {
        widths += textWidth(utf8FromAnsi(decimalsText(parcel.sides[i].length, handover.decimals)),
                            kLengthSize);
    }
    if (!mightFit(placer, widths, height)) {
        labels.leftOut += int(n);
        return labels;
    }
    for (std::size_t i = 0; i < n; ++i) {
        const std::string length =
            utf8FromAnsi(decimalsText(parcel.sides[i].length, handover.decimals));
        const std::optional<Box> box = placer.place(
            lengthCandidates(figure.corners[i], figure.corners[(i + 1) % n], figure.sideNormals[i],
                             textWidth(length, kLengthSize), height));
        if (box) {
            labels.svg += labelText(int(n + i), *box, kLengthSize, false, length);
        } else {
            ++labels.leftOut;
        }
    }
    return labels;
}

}  // namespace

std::string parcelSvg(const Parcel& parcel, const Handover& handover) {
    const Language language = handover.language;
    const PlanExtent extent = extentOf(parcel);
    const CatalogueTable table = catalogueTable(parcel, handover);
    // The title block's height is known before the scale: its line is one line.
    const double provisionalTitle = titleHeight(titleLines(parcel, handover, 1e9, true, true));
    PageLayout layout = layOutPage({extent.east(), extent.north(), table.width,
                                    int(table.rows.size()), kTitleWidth, provisionalTitle});
    const double paper = kMillimetresPerMetre / layout.scale;
    const Figure figure = figureOnPage(parcel, extent, layout);

    std::vector<std::pair<PagePoint, PagePoint>> sides;
    for (std::size_t i = 0; i < figure.corners.size(); ++i) {
        sides.emplace_back(figure.corners[i], figure.corners[(i + 1) % figure.corners.size()]);
    }
    LabelPlacer placer(layout.figure, sides);
    const Box arrow{layout.figure.right - kArrowWidth, layout.figure.top, layout.figure.right,
                    layout.figure.top + kArrowHeight};
    const Box scaleBar{layout.figure.left, layout.figure.bottom - kScaleBarHeight,
                       layout.figure.left + kScaleBarTarget + kScaleBarLabelRoom,
                       layout.figure.bottom};
    placer.take(arrow);
    placer.take(scaleBar);
    for (const PagePoint& p : figure.corners)
        placer.take(Box::around(p, 2 * kMark + kMarkClearance, 2 * kMark + kMarkClearance));
    const Labels labels = placeLabels(parcel, figure, placer, handover);

    const bool catalogueLeftOut = layout.catalogueBlocks == 0;
    const std::vector<TitleLine> title =
        titleLines(parcel, handover, layout.scale, labels.leftOut > 0, catalogueLeftOut);
    layout.title.top = layout.title.bottom - titleHeight(title);  // no taller than laid out for

    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + machineNumber(layout.width) +
           "mm\" height=\"" + machineNumber(layout.height) + "mm\" viewBox=\"0 0 " +
           machineNumber(layout.width) + " " + machineNumber(layout.height) +
           "\" font-family=\"sans-serif\" font-size=\"" + machineNumber(kTextSize) + "\">\n";
    svg += "<polygon id=\"parcel\" fill=\"none\" stroke=\"black\" stroke-width=\"" +
           mm(kBoundaryLine) + "\" points=\"";
    for (const PagePoint& p : figure.corners) svg += mm(p.x) + "," + mm(p.y) + " ";
    svg.back() = '"';
    svg += "/>\n";
    for (const PagePoint& p : figure.corners) {
        svg += "<circle cx=\"" + mm(p.x) + "\" cy=\"" + mm(p.y) + "\" r=\"" + mm(kMark) + "\"/>\n";
    }
    svg += labels.svg;
    svg += drawNorthArrow(arrow, language);
    svg += drawScaleBar(scaleBar, paper, language);
    if (!catalogueLeftOut) svg += drawCatalogue(table, layout, handover);
    svg += drawTitleBlock(title, layout.title);
    svg += "</svg>\n";
    return svg;
}

}  // namespace geocalc
