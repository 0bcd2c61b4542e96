#include "parcel/parcel.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "calc/side.h"
#include "core/error.h"
#include "numtext/decimal_reader.h"
#include "numtext/format_settings.h"
#include "parcel/grid_figure.h"
#include "parcel/parcel_numbers.h"

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

// "Records 3 (Точка 3) and 4 (Точка 4)".
std::string pairLabel(const BoundaryPoint& a, std::size_t i, const BoundaryPoint& b,
                      std::size_t j) {
    const std::string first = pointReference(a, i);
    const std::string kind = a.record > 0 ? "Record" : "Point";
    return kind + "s" + first.substr(kind.size()) + " and " +
           pointReference(b, j).substr(kind.size() + 1);
}

// The coordinates as read, or the failure says which one is no number.
std::vector<PlanPoint> readCoordinates(const std::vector<BoundaryPoint>& points) {
    std::vector<PlanPoint> read(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        for (const auto& [field, text, value] : {std::tuple{"X", &points[i].x, &read[i].x},
                                                 std::tuple{"Y", &points[i].y, &read[i].y}}) {
            try {
                *value = readDecimal(*text);
            } catch (const Error& e) {
                throw Error(pointReference(points[i], i) + ", " + field + ": " + e.what());
            }
        }
    }
    return read;
}

// For drawing: the corners as read, in metres from the first one.
void placeCorners(Parcel& parcel, const std::vector<PlanPoint>& read) {
    parcel.originX = read[0].x;
    parcel.originY = read[0].y;
    parcel.corners.reserve(read.size());
    for (const PlanPoint& p : read)
        parcel.corners.push_back({p.x - parcel.originX, p.y - parcel.originY});
}

}  // namespace

std::string pointReference(const BoundaryPoint& p, std::size_t index, bool inSentence) {
    const std::string number = std::to_string(p.record > 0 ? std::size_t(p.record) : index + 1);
    const char* kind =
        p.record > 0 ? (inSentence ? "record " : "Record ") : (inSentence ? "point " : "Point ");
    return kind + number + " (" + p.name + ")";
}

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
    const std::vector<PlanPoint> read = readCoordinates(points);
    Parcel parcel;
    const std::size_t n = points.size();
    CompensatedSum perimeter;
    for (std::size_t i = 0; i < n; ++i) {
        const BoundaryPoint& start = points[i];
        const BoundaryPoint& end = points[(i + 1) % n];
        if (read[i].x == read[(i + 1) % n].x && read[i].y == read[(i + 1) % n].y) {
            throw Error(pairLabel(start, i, end, (i + 1) % n) +
                        " are one point: the side between them has no direction");
        }
        auto sideLabel = [&] {
            return "The side from " + pointReference(start, i, true) + " to " +
                   pointReference(end, (i + 1) % n, true);
        };
        SideMeasure side;
        try {
            side = measureSide(end.x, start.x, end.y, start.y);
        } catch (const Error& e) {
            throw Error(sideLabel() + ": " + e.what());
        }
        if (!std::isfinite(side.length))
            throw Error(sideLabel() + " is longer than any number the outputs can carry");
        perimeter.add(side.length);
        parcel.sides.push_back({std::move(side.direction), side.length});
    }
    parcel.perimeter = double(perimeter.value());
    if (!std::isfinite(parcel.perimeter))
        throw Error("The perimeter is larger than any number the outputs can carry");

    const GridFigure figure = gridFigure(points, numberFormat().decimalSeparator);
    placeCorners(parcel, read);
    const GridArea area = gridArea(figure);
    parcel.exactArea = area.area;
    parcel.area = area.area.nearest();
    if (!std::isfinite(parcel.area))
        throw Error("The area is larger than any number the outputs can carry");
    parcel.orientation = area.turn > 0   ? Orientation::CounterClockwise
                         : area.turn < 0 ? Orientation::Clockwise
                                         : Orientation::None;
    parcel.crossing = figure.isSmall() ? firstCrossing(figure.small) : firstCrossing(figure.big);
    parcel.points = std::move(points);
    return parcel;
}

Parcel describePrintedParcel(std::vector<BoundaryPoint> points, int decimals) {
    readCoordinates(points);
    for (BoundaryPoint& p : points) {
        p.x = coordinateText(p.x, decimals);
        p.y = coordinateText(p.y, decimals);
    }
    return describeParcel(std::move(points));
}

}  // namespace geocalc
