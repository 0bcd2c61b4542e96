// The corners of a figure as exact integers: every coordinate text is an
// exact decimal, so with the grid unit the finest of their decimal places,
// the corners lie on the grid and the geometry is decided without rounding.
#pragma once

#include <string>
#include <vector>

#include "parcel/boundary_crossing.h"
#include "parcel/exact_area.h"

namespace geocalc {

struct BoundaryPoint;

struct GridFigure {
    int scale = 0;  // the grid unit is 10^-scale m
    // The corners in grid units from the first one: `small` where every one
    // is within kSmallGridLimit, else `big`.
    std::vector<SmallGridPoint> small;
    std::vector<BigGridPoint> big;

    bool isSmall() const { return !small.empty(); }
};

// Fails as readDecimal does on a text that is no number.
GridFigure gridFigure(const std::vector<BoundaryPoint>& points, char separator);

// The exact area, and the sign of the figure's turn: +1 counter-clockwise
// as seen on a plan with X up and Y to the right, -1 clockwise, 0 no area.
struct GridArea {
    ExactArea area;
    int turn = 0;
};
GridArea gridArea(const GridFigure& figure);

}  // namespace geocalc
