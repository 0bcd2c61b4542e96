#include "parcel/parcel.h"

#include <algorithm>
#include <cmath>

#include "calc/side.h"
#include "core/error.h"
#include "numtext/decimal_reader.h"
#include "numtext/format_settings.h"
#include "numtext/power_of_ten.h"
#include "parcel/grid_figure.h"

namespace geocalc {

namespace {

constexpr std::size_t kMinPoints = 3;

// A running sum that keeps what each addition rounds away (Neumaier).
class CompensatedSum {
  public:
    void add(long double v) {
        const long double t = sum_ + v;
        compensation_ += std::fabs(sum_) >= std::fabs(v) ? (sum_ - t) + v : (v - t) + sum_;
        sum_ = t;
    }
    long double value() const { return sum_ + compensation_; }

  private:
    long double sum_ = 0;
    long double compensation_ = 0;
};

// The corners on the plan, reduced to the first one.
// For drawing: the grid's corners in metres, rounded.
void placeCorners(Parcel& parcel, const std::vector<BoundaryPoint>& points, const GridFigure& figure) {
    parcel.originX = readDecimal(points[0].x);
    parcel.originY = readDecimal(points[0].y);
    auto metres = [&figure](long double units) { return scaleByPowerOfTen(units, -figure.scale); };
    parcel.corners.reserve(points.size());
    for (const SmallGridPoint& c : figure.small) parcel.corners.push_back({metres(c.x), metres(c.y)});
    for (const BigGridPoint& c : figure.big) {
        parcel.corners.push_back({metres(c.x.convert_to<long double>()), metres(c.y.convert_to<long double>())});
    }
}

}  // namespace

PlanExtent extentOf(const Parcel& parcel) {
    PlanExtent extent;
    for (const PlanPoint& c : parcel.corners) {
        extent.minX = std::min(extent.minX, double(c.x)),
        extent.maxX = std::max(extent.maxX, double(c.x));
        extent.minY = std::min(extent.minY, double(c.y)),
        extent.maxY = std::max(extent.maxY, double(c.y));
    }
    return extent;
}

Parcel describeParcel(std::vector<BoundaryPoint> points) {
    if (points.size() < kMinPoints) {
        throw Error("A parcel needs at least three points, got " + std::to_string(points.size()));
    }
    Parcel parcel;
    const std::size_t n = points.size();
    CompensatedSum perimeter;
    for (std::size_t i = 0; i < n; ++i) {
        const BoundaryPoint& start = points[i];
        const BoundaryPoint& end = points[(i + 1) % n];
        SideMeasure side = measureSide(end.x, start.x, end.y, start.y);
        perimeter.add(side.length);
        parcel.sides.push_back({std::move(side.direction), side.length});
    }
    parcel.perimeter = double(perimeter.value());

    const GridFigure figure = gridFigure(points, numberFormat().decimalSeparator);
    placeCorners(parcel, points, figure);
    const GridArea area = gridArea(figure);
    parcel.exactArea = area.area;
    parcel.area = area.area.nearest();
    parcel.orientation = area.turn > 0   ? Orientation::CounterClockwise
                         : area.turn < 0 ? Orientation::Clockwise
                                         : Orientation::None;
    parcel.crossing = figure.isSmall() ? firstCrossing(figure.small) : firstCrossing(figure.big);
    parcel.points = std::move(points);
    return parcel;
}

}  // namespace geocalc
