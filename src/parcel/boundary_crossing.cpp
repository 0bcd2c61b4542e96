#include "parcel/boundary_crossing.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <boost/geometry/geometries/box.hpp>
#include <boost/geometry/geometries/point.hpp>
#include <boost/geometry/index/rtree.hpp>
#include <iterator>
#include <limits>
#include <set>
#include <utility>

namespace geocalc {

namespace {

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;

using BoxPoint = bg::model::point<double, 2, bg::cs::cartesian>;
using Box = bg::model::box<BoxPoint>;
using Entry = std::pair<Box, std::size_t>;

int orientation(const PlanPoint& a, const PlanPoint& b, const PlanPoint& c) {
    const long double cross = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
    return (cross > 0) - (cross < 0);
}

// c, known to lie on the line through a and b, lies between them.
bool within(const PlanPoint& a, const PlanPoint& b, const PlanPoint& c) {
    return std::min(a.x, b.x) <= c.x && c.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= c.y &&
           c.y <= std::max(a.y, b.y);
}

bool segmentsMeet(const PlanPoint& p1, const PlanPoint& p2, const PlanPoint& q1,
                  const PlanPoint& q2) {
    const int o1 = orientation(p1, p2, q1), o2 = orientation(p1, p2, q2);
    const int o3 = orientation(q1, q2, p1), o4 = orientation(q1, q2, p2);
    if (o1 * o2 < 0 && o3 * o4 < 0) return true;
    return (o1 == 0 && within(p1, p2, q1)) || (o2 == 0 && within(p1, p2, q2)) ||
           (o3 == 0 && within(q1, q2, p1)) || (o4 == 0 && within(q1, q2, p2));
}

// Sides a->shared and shared->c run back over each other.
bool turnsBack(const PlanPoint& a, const PlanPoint& shared, const PlanPoint& c) {
    const long double dot =
        (a.x - shared.x) * (c.x - shared.x) + (a.y - shared.y) * (c.y - shared.y);
    return orientation(a, shared, c) == 0 && dot > 0;
}

Box boxOf(const PlanPoint& a, const PlanPoint& b) {
    return Box(BoxPoint(double(std::min(a.x, b.x)), double(std::min(a.y, b.y))),
               BoxPoint(double(std::max(a.x, b.x)), double(std::max(a.y, b.y))));
}

// The sides of a closed boundary, and whether two of them meet.
class Sides {
  public:
    explicit Sides(const std::vector<PlanPoint>& corners) : corners_(corners) {}
    std::size_t count() const { return corners_.size(); }
    const PlanPoint& from(std::size_t side) const { return corners_[side]; }
    const PlanPoint& to(std::size_t side) const { return corners_[(side + 1) % corners_.size()]; }

    // Sides that share a corner meet only where they run back over each other.
    bool meet(std::size_t i, std::size_t j) const {
        if (i > j) std::swap(i, j);
        if (j == i + 1) return turnsBack(from(i), to(i), to(j));
        if (i == 0 && j == count() - 1) return turnsBack(from(j), to(j), to(i));
        return segmentsMeet(from(i), to(i), from(j), to(j));
    }

  private:
    const std::vector<PlanPoint>& corners_;
};

bool before(const PlanPoint& a, const PlanPoint& b) {
    return a.x < b.x || (a.x == b.x && a.y < b.y);
}

// Whether any two sides meet, by a sweep across X (Shamos and Hoey): the
// sides the sweep line crosses are kept in the order they cross it, and only
// neighbours in that order are compared, so each side is looked at a few
// times and the check takes O(n log n) whatever the figure. At a point,
// sides starting there go in before those ending there leave, so that sides
// touching there are neighbours at some moment.
class Sweep {
  public:
    explicit Sweep(const Sides& sides) : sides_(sides), order_(Above{this}) {
        spans_.reserve(sides.count());
        for (std::size_t side = 0; side < sides.count(); ++side) {
            const bool forward = before(sides.from(side), sides.to(side));
            const PlanPoint& left = forward ? sides.from(side) : sides.to(side);
            const PlanPoint& right = forward ? sides.to(side) : sides.from(side);
            const long double slope = left.x == right.x ? std::numeric_limits<long double>::infinity()
                                                        : (right.y - left.y) / (right.x - left.x);
            spans_.push_back({left, slope});
        }
    }

    // The corners in sweep order; at each point, the sides that start there
    // go in, then the sides that end there leave.
    bool anyMeet() {
        const std::size_t n = sides_.count();
        std::vector<std::uint32_t> corners(n);
        for (std::uint32_t i = 0; i < n; ++i) corners[i] = i;
        std::sort(corners.begin(), corners.end(), [this](std::uint32_t a, std::uint32_t b) {
            return before(sides_.from(a), sides_.from(b));
        });
        for (std::size_t group = 0; group < n;) {
            const PlanPoint& at = sides_.from(corners[group]);
            std::size_t end = group;
            while (end < n && !before(at, sides_.from(corners[end]))) ++end;
            sweepX_ = at.x;
            for (bool starting : {true, false}) {
                for (std::size_t k = group; k < end; ++k) {
                    // Corner c is where side c begins and side c - 1 ends.
                    const std::size_t c = corners[k];
                    for (const std::size_t side : {c, (c + n - 1) % n}) {
                        if (startsAt(side, at) != starting) continue;
                        if (starting ? enter(side) : leave(side)) return true;
                    }
                }
            }
            group = end;
        }
        return false;
    }

  private:
    struct Span {
        PlanPoint left;
        long double slope;  // infinite for a side along the sweep line
    };

    bool startsAt(std::size_t side, const PlanPoint& at) const {
        const PlanPoint& left = spans_[side].left;
        return left.x == at.x && left.y == at.y;
    }
    // Where a side crosses the sweep line (a side along it: where it starts).
    long double yAt(std::size_t side) const {
        const Span& span = spans_[side];
        if (std::isinf(span.slope)) return span.left.y;
        return span.left.y + (sweepX_ - span.left.x) * span.slope;
    }

    struct Above {
        const Sweep* sweep;
        bool operator()(std::size_t a, std::size_t b) const {
            const long double ya = sweep->yAt(a), yb = sweep->yAt(b);
            if (ya != yb) return ya < yb;
            const long double sa = sweep->spans_[a].slope, sb = sweep->spans_[b].slope;
            return sa != sb ? sa < sb : a < b;
        }
    };
    using Order = std::set<std::size_t, Above>;

    // A side of no length starts and ends at one point: it goes in once.
    bool enter(std::size_t side) {
        if (places_[side] != order_.end()) return false;
        const auto at = order_.insert(side).first;
        places_[side] = at;
        if (at != order_.begin() && sides_.meet(*std::prev(at), side)) return true;
        const auto next = std::next(at);
        return next != order_.end() && sides_.meet(side, *next);
    }
    // A side leaves from where it was put: sides ending at one point cross the
    // sweep line there at one height, where comparing them would not tell
    // the order they came in.
    bool leave(std::size_t side) {
        if (places_[side] == order_.end()) return false;
        const auto next = order_.erase(std::exchange(places_[side], order_.end()));
        return next != order_.begin() && next != order_.end() &&
               sides_.meet(*std::prev(next), *next);
    }

    const Sides& sides_;
    std::vector<Span> spans_;
    long double sweepX_ = 0;
    Order order_;
    std::vector<Order::iterator> places_ = std::vector<Order::iterator>(sides_.count(), order_.end());
};

// The first pair of sides that meet, once a sweep has found that some do:
// every side's box is looked up in an R-tree of all of them.
std::optional<std::pair<std::size_t, std::size_t>> firstMeetingPair(const Sides& sides) {
    const std::size_t n = sides.count();
    std::vector<Entry> boxes;
    boxes.reserve(n);
    for (std::size_t side = 0; side < n; ++side)
        boxes.emplace_back(boxOf(sides.from(side), sides.to(side)), side);
    const bgi::rtree<Entry, bgi::rstar<16>> tree(boxes.begin(), boxes.end());  // packed at once

    std::vector<Entry> candidates;
    for (std::size_t i = 0; i < n; ++i) {
        candidates.clear();
        tree.query(bgi::intersects(boxes[i].first), std::back_inserter(candidates));
        std::optional<std::size_t> first;
        for (const Entry& candidate : candidates) {
            const std::size_t j = candidate.second;
            if (j > i && (!first || j < *first) && sides.meet(i, j)) first = j;
        }
        if (first) return std::make_pair(i, *first);
    }
    return std::nullopt;
}

}  // namespace

bool sidesMeet(const std::vector<PlanPoint>& corners, std::size_t i, std::size_t j) {
    return Sides(corners).meet(i, j);
}

std::optional<std::pair<std::size_t, std::size_t>> firstCrossing(
    const std::vector<PlanPoint>& corners) {
    if (corners.size() < 3) return std::nullopt;
    const Sides sides(corners);
    if (!Sweep(sides).anyMeet()) return std::nullopt;
    return firstMeetingPair(sides);
}

}  // namespace geocalc
