#include "parcel/page_layout.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <optional>

#include "core/error.h"

namespace geocalc {

namespace {

struct Paper {
    double width, height;
};
constexpr Paper kA4Portrait{210, 297}, kA4Landscape{297, 210}, kA3Portrait{297, 420},
    kA3Landscape{420, 297};
constexpr double kGap = 5;              // mm between the parts
constexpr double kSmallestFigure = 60;  // mm a figure's part is at least, its label room included
constexpr double kLargestScale = 100;
constexpr double kLastListedScale = 100000;
constexpr double kListedScales[] = {100, 200, 500, 1000, 2000, 5000, 10000, 25000, 50000, 100000};
constexpr double kFactorsBeyond[] = {2, 2.5, 2};  // 1:200000, 1:500000, 1:1000000, ...
constexpr double kMillimetresPerMetre = 1000;

double nextScale(double scale) {
    for (std::size_t i = 0; i + 1 < std::size(kListedScales); ++i) {
        if (kListedScales[i] == scale) return kListedScales[i + 1];
    }
    int step = 0;
    for (double s = kLastListedScale; s < scale; ++step) s *= kFactorsBeyond[step % 3];
    return scale * kFactorsBeyond[step % 3];
}

Box printableOf(const Paper& paper) {
    return {kPageMargin, kPageMargin, paper.width - kPageMargin, paper.height - kPageMargin};
}

bool figureFits(const DrawingParts& parts, const Box& figure, double scale) {
    const double paper = kMillimetresPerMetre / scale;
    return figure.width() >= kSmallestFigure && figure.height() >= kSmallestFigure &&
           parts.figureEast * paper + 2 * kLabelRoom <= figure.width() &&
           parts.figureNorth * paper + 2 * kLabelRoom <= figure.height();
}

int dataRows(const DrawingParts& parts) { return std::max(parts.catalogueRows - 1, 0); }

// The catalogue and the title block in a column right of the figure.
std::optional<PageLayout> beside(const DrawingParts& parts, const Paper& paper, double scale,
                                 double row) {
    const Box printable = printableOf(paper);
    const double catalogueHeight = printable.height() - parts.titleHeight - kGap;
    const int rowsPerBlock = int(catalogueHeight / row) - 2;  // the caption and the heading
    if (rowsPerBlock < 1) return std::nullopt;
    const int blocks = std::max((dataRows(parts) + rowsPerBlock - 1) / rowsPerBlock, 1);
    const double blockWidth = parts.catalogueWidth * row / kCatalogueRow;
    const double catalogueWidth = blocks * blockWidth + (blocks - 1) * kGap;
    const double column = std::max(catalogueWidth, parts.titleWidth);
    PageLayout layout;
    layout.width = paper.width;
    layout.height = paper.height;
    layout.scale = scale;
    layout.figure = {printable.left, printable.top, printable.right - column - kGap,
                     printable.bottom};
    layout.catalogue = {printable.right - column, printable.top,
                        printable.right - column + catalogueWidth,
                        printable.top + (std::min(dataRows(parts), rowsPerBlock) + 2) * row};
    layout.catalogueBlocks = blocks;
    layout.rowsPerBlock = rowsPerBlock;
    layout.catalogueRow = row;
    layout.title = {printable.right - parts.titleWidth, printable.bottom - parts.titleHeight,
                    printable.right, printable.bottom};
    if (!figureFits(parts, layout.figure, scale)) return std::nullopt;
    return layout;
}

// The catalogue and the title block in a strip below the figure.
std::optional<PageLayout> below(const DrawingParts& parts, const Paper& paper, double scale,
                                double row) {
    const Box printable = printableOf(paper);
    const double room = printable.width() - parts.titleWidth - kGap;
    const double blockWidth = parts.catalogueWidth * row / kCatalogueRow;
    const int blocks = int((room + kGap) / (blockWidth + kGap));
    if (blocks < 1) return std::nullopt;
    const int rowsPerBlock = std::max((dataRows(parts) + blocks - 1) / blocks, 1);
    const int blocksUsed = std::max((dataRows(parts) + rowsPerBlock - 1) / rowsPerBlock, 1);
    const double catalogueHeight = (rowsPerBlock + 2) * row;  // the caption and the heading
    const double strip = std::max(catalogueHeight, parts.titleHeight);
    PageLayout layout;
    layout.width = paper.width;
    layout.height = paper.height;
    layout.scale = scale;
    layout.figure = {printable.left, printable.top, printable.right,
                     printable.bottom - strip - kGap};
    layout.catalogue = {printable.left, printable.bottom - strip,
                        printable.left + blocksUsed * blockWidth + (blocksUsed - 1) * kGap,
                        printable.bottom - strip + catalogueHeight};
    layout.catalogueBlocks = blocksUsed;
    layout.rowsPerBlock = rowsPerBlock;
    layout.catalogueRow = row;
    layout.title = {printable.right - parts.titleWidth, printable.bottom - parts.titleHeight,
                    printable.right, printable.bottom};
    if (!figureFits(parts, layout.figure, scale)) return std::nullopt;
    return layout;
}

// The layout of a paper size (either orientation, either arrangement) that
// draws the figure at `scale`, the one leaving the figure the most room.
std::optional<PageLayout> layOutAt(const DrawingParts& parts, std::initializer_list<Paper> papers,
                                   double scale, double row = kCatalogueRow) {
    std::optional<PageLayout> best;
    for (const Paper& paper : papers) {
        for (auto arrange : {beside, below}) {
            const std::optional<PageLayout> layout = arrange(parts, paper, scale, row);
            if (layout && (!best || layout->figure.width() * layout->figure.height() >
                                        best->figure.width() * best->figure.height())) {
                best = layout;
            }
        }
    }
    return best;
}

}  // namespace

double fittingScale(double east, double north, double width, double height) {
    double scale = kLargestScale;
    while (east * kMillimetresPerMetre / scale > width ||
           north * kMillimetresPerMetre / scale > height) {
        scale = nextScale(scale);
    }
    return scale;
}

PageLayout layOutPage(const DrawingParts& parts) {
    // The scale the figure alone would have on A4, its label room kept.
    double scale = std::numeric_limits<double>::infinity();
    for (const Paper& paper : {kA4Portrait, kA4Landscape}) {
        const Box printable = printableOf(paper);
        scale = std::min(scale, fittingScale(parts.figureEast, parts.figureNorth,
                                             printable.width() - 2 * kLabelRoom,
                                             printable.height() - 2 * kLabelRoom));
    }
    if (auto layout = layOutAt(parts, {kA4Portrait, kA4Landscape}, scale)) return *layout;
    // A3 at that scale, or at the largest smaller one it holds all at; a
    // long catalogue in smaller rows where that keeps the larger scale.
    for (double s = scale; s <= scale * 1000; s = nextScale(s)) {
        for (const double row : {kCatalogueRow, kCompactCatalogueRow}) {
            if (auto layout = layOutAt(parts, {kA3Portrait, kA3Landscape}, s, row)) return *layout;
        }
    }
    // Too long a catalogue for any page: the figure alone, on A4 or A3.
    DrawingParts alone = parts;
    alone.catalogueRows = 0;
    alone.catalogueWidth = 0;
    for (double s = scale; s <= scale * 1000; s = nextScale(s)) {
        if (auto layout =
                layOutAt(alone, {kA4Portrait, kA4Landscape, kA3Portrait, kA3Landscape}, s)) {
            layout->catalogue = {};
            layout->catalogueBlocks = 0;
            layout->rowsPerBlock = 0;
            return *layout;
        }
    }
    throw Error("The title block is too long for the drawing's page");
}

}  // namespace geocalc
