#include "parcel/parcel.h"

#include <algorithm>
#include <cmath>

#include "calc/side.h"
#include "core/error.h"
#include "numtext/decimal_reader.h"
#include "numtext/x87_state.h"
#include "parcel/boundary_crossing.h"

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

// a * b exactly, as the rounded product and what rounding left out (Dekker's
// product: each factor split into halves of 32 bits, whose products are exact).
void addExactProduct(CompensatedSum& sum, long double a, long double b) {
    constexpr long double kSplitter = 4294967297.0L;  // 2^32 + 1
    auto split = [](long double v, long double& high, long double& low) {
        const long double t = x87::settled(kSplitter * v);
        high = x87::settled(t - (t - v));
        low = v - high;
    };
    const long double product = x87::settled(a * b);
    long double aHigh, aLow, bHigh, bLow;
    split(a, aHigh, aLow);
    split(b, bHigh, bLow);
    const long double error =
        ((aHigh * bHigh - product) + aHigh * bLow + aLow * bHigh) + aLow * bLow;
    sum.add(product);
    sum.add(error);
}

// The corners on the plan, reduced to the first one.
void readCorners(Parcel& parcel, const std::vector<BoundaryPoint>& points) {
    parcel.originX = readDecimal(points[0].x);
    parcel.originY = readDecimal(points[0].y);
    parcel.corners.reserve(points.size());
    for (const BoundaryPoint& p : points) {
        parcel.corners.push_back(
            {readDecimal(p.x) - parcel.originX, readDecimal(p.y) - parcel.originY});
    }
}

// Twice the area on the plan (Y across, X up), counter-clockwise positive.
long double twiceSignedArea(const std::vector<PlanPoint>& corners) {
    CompensatedSum sum;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const PlanPoint& a = corners[i];
        const PlanPoint& b = corners[(i + 1) % corners.size()];
        addExactProduct(sum, a.y, b.x);
        addExactProduct(sum, -b.y, a.x);
    }
    return sum.value();
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

    x87::Scope scope;  // 64-bit significands for the exact products
    readCorners(parcel, points);
    const long double twiceArea = twiceSignedArea(parcel.corners);
    parcel.area = double(std::fabs(twiceArea) / 2);
    parcel.orientation = twiceArea > 0   ? Orientation::CounterClockwise
                         : twiceArea < 0 ? Orientation::Clockwise
                                         : Orientation::None;
    parcel.crossing = firstCrossing(parcel.corners);
    parcel.points = std::move(points);
    return parcel;
}

}  // namespace geocalc
