// A parcel: the closed figure that picked points bound, as a surveyor hands
// it over: its catalogue of points and sides, perimeter, area and orientation.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "parcel/boundary_crossing.h"
#include "parcel/exact_area.h"

namespace geocalc {

// A corner of the boundary: its name and coordinate texts as the table holds
// them, in the core's code page, and the number of its record (from 1; 0
// where it comes from no table), by which messages name it.
struct BoundaryPoint {
    std::string name, x, y;
    int record = 0;
};

// The side leaving a point: its direction angle as the side line writes it
// (D°M'S.s") and its length, not rounded.
struct ParcelSide {
    std::string direction;
    double length;
};

// A corner on the plan, in metres from the first corner (X north, Y east),
// for drawing.
struct PlanPoint {
    long double x, y;
};

// As seen on a plan with X up (north) and Y to the right (east); a figure of
// no area has none.
enum class Orientation { Clockwise, CounterClockwise, None };

struct Parcel {
    std::vector<BoundaryPoint> points;
    // The points as read, on the plan: the first one's X and Y, and every
    // point in metres from it.
    long double originX = 0, originY = 0;
    std::vector<PlanPoint> corners;
    std::vector<ParcelSide> sides;  // side i leaves point i; the last one closes the figure
    double perimeter = 0;           // m
    ExactArea exactArea;            // m², of the decimal coordinates
    double area = 0;                // m², the double nearest the exact area
    Orientation orientation = Orientation::None;
    // A pair of sides (i < j) that cross or touch, the first one as a rule
    // (see firstCrossing), when the boundary does: the point order is then
    // wrong and the area means nothing.
    std::optional<std::pair<std::size_t, std::size_t>> crossing;
};

// The box round the corners, in metres from the first one.
struct PlanExtent {
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    double north() const { return maxX - minX; }
    double east() const { return maxY - minY; }
};
PlanExtent extentOf(const Parcel& parcel);

// Describes the figure from the first point through the others and back.
// Fails with "A parcel needs at least three points, got N", and naming the
// points: "Record 3 (Точка 3), X: 'abc' is not a valid floating point
// value", "Records 3 (Точка 3) and 4 (Точка 4) are one point: the side
// between them has no direction", and for a length or an area beyond what
// the outputs can carry (the double range).
//
// The area, the orientation and the crossing check are exact: each
// coordinate text is the decimal number it writes, and the figure is decided
// on those numbers in integers (see grid_figure.h), so three points in a
// line have no area and no orientation, and a corner that lies on another
// side in the table is found there. The lengths and directions are the side
// computation's.
Parcel describeParcel(std::vector<BoundaryPoint> points);

// The figure as its documents print it: each coordinate rounded to the
// catalogue's `decimals` first (see coordinateText), so that every measure
// is the one a reader recomputes from the printed catalogue. Fails as
// describeParcel does, naming a text that is no number as it was given.
Parcel describePrintedParcel(std::vector<BoundaryPoint> points, int decimals);

// How messages name a point: "Record 3 (Точка 3)", or "Point 3 (Точка 3)"
// for a point from no table (`index` from 0); "record 3 (Точка 3)" inside
// a sentence.
std::string pointReference(const BoundaryPoint& point, std::size_t index, bool inSentence = false);

}  // namespace geocalc
