// Where the parts of a parcel's drawing go on its page: the figure with its
// labels, the catalogue (in blocks of rows side by side where one column of
// rows is too long), and the title block in the bottom right corner, all
// within the printable area. The page is A4, portrait or landscape; A3 when
// A4 cannot hold the catalogue and the title block beside the figure at the
// scale the figure alone would be drawn at on A4; A3 at a smaller scale, or
// with the catalogue in smaller rows, where even that cannot; the figure
// alone where no page holds the catalogue.
#pragma once

#include "parcel/drawing_geometry.h"

namespace geocalc {

struct DrawingParts {
    double figureEast = 0, figureNorth = 0;  // m
    double catalogueWidth = 0;               // mm, one block of rows
    int catalogueRows = 0;                   // with its heading row
    double titleWidth = 0, titleHeight = 0;  // mm
};

struct PageLayout {
    double width = 0, height = 0;  // mm
    double scale = 0;              // the denominator: 500 for 1:500
    Box figure;                    // the figure, centred, and its labels
    Box catalogue;                 // its caption's row, then the blocks; empty when left out
    int catalogueBlocks = 0;       // 0: the catalogue is too long for any page
    int rowsPerBlock = 0;          // data rows, each block with the heading above them
    double catalogueRow = 0;       // mm: its rows' height, its texts in proportion
    Box title;
};

inline constexpr double kPageMargin = 10;   // mm: many printers print nothing nearer the edge
inline constexpr double kCatalogueRow = 4;  // mm
inline constexpr double kCompactCatalogueRow = 3;  // mm, for catalogues too long for A3 otherwise
inline constexpr double kLabelRoom = 12;           // mm kept round the figure for its labels

PageLayout layOutPage(const DrawingParts& parts);

// The largest standard scale (1:100, 1:200, 1:500, 1:1000 ... 1:100000, then
// 1:200000, 1:500000, 1:1000000 and on) at which `east` × `north` metres fit
// `width` × `height` millimetres.
double fittingScale(double east, double north, double width, double height);

}  // namespace geocalc
