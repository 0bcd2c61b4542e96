#include "parcel/boundary_crossing.h"

#include <algorithm>
#include <boost/geometry/geometries/box.hpp>
#include <boost/geometry/geometries/point.hpp>
#include <boost/geometry/index/rtree.hpp>
#include <cstdint>
#include <iterator>
#include <limits>
#include <set>
#include <utility>

namespace geocalc {

namespace {

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;
using boost::multiprecision::cpp_int;

using BoxPoint = bg::model::point<double, 2, bg::cs::cartesian>;
using Box = bg::model::box<BoxPoint>;
using Entry = std::pair<Box, std::size_t>;

// Products of grid coordinates, and of their products, in a type that holds
// them whole.
template <class Int>
struct Wide;
template <>
struct Wide<std::int64_t> {
    __extension__ typedef __int128 type;
};
template <>
struct Wide<cpp_int> {
    using type = cpp_int;
};

template <class W>
int signOf(const W& v) {
    return (v > 0) - (v < 0);
}

double toDouble(std::int64_t v) { return double(v); }
double toDouble(const cpp_int& v) { return v.convert_to<double>(); }

template <class Int>
int orientation(const GridPoint<Int>& a, const GridPoint<Int>& b, const GridPoint<Int>& c) {
    using W = typename Wide<Int>::type;
    return signOf(W(b.x - a.x) * W(c.y - a.y) - W(b.y - a.y) * W(c.x - a.x));
}

// c, known to lie on the line through a and b, lies between them.
template <class Int>
bool within(const GridPoint<Int>& a, const GridPoint<Int>& b, const GridPoint<Int>& c) {
    return std::min(a.x, b.x) <= c.x && c.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= c.y &&
           c.y <= std::max(a.y, b.y);
}

template <class Int>
bool segmentsMeet(const GridPoint<Int>& p1, const GridPoint<Int>& p2, const GridPoint<Int>& q1,
                  const GridPoint<Int>& q2) {
    const int o1 = orientation(p1, p2, q1), o2 = orientation(p1, p2, q2);
    const int o3 = orientation(q1, q2, p1), o4 = orientation(q1, q2, p2);
    if (o1 * o2 < 0 && o3 * o4 < 0) return true;
    return (o1 == 0 && within(p1, p2, q1)) || (o2 == 0 && within(p1, p2, q2)) ||
           (o3 == 0 && within(q1, q2, p1)) || (o4 == 0 && within(q1, q2, p2));
}

// Sides a->shared and shared->c run back over each other.
template <class Int>
bool turnsBack(const GridPoint<Int>& a, const GridPoint<Int>& shared, const GridPoint<Int>& c) {
    using W = typename Wide<Int>::type;
    const W dot = W(a.x - shared.x) * W(c.x - shared.x) + W(a.y - shared.y) * W(c.y - shared.y);
    return orientation(a, shared, c) == 0 && dot > 0;
}

// Rounding to the nearest double keeps the order of values, so boxes of
// sides that meet still meet once rounded.
template <class Int>
Box boxOf(const GridPoint<Int>& a, const GridPoint<Int>& b) {
    return Box(BoxPoint(toDouble(std::min(a.x, b.x)), toDouble(std::min(a.y, b.y))),
               BoxPoint(toDouble(std::max(a.x, b.x)), toDouble(std::max(a.y, b.y))));
}

// The sides of a closed boundary, and whether two of them meet.
template <class Int>
class Sides {
public:
    explicit Sides(const std::vector<GridPoint<Int>>& corners) : corners_(corners) {}
    std::size_t count() const { return corners_.size(); }
    const GridPoint<Int>& from(std::size_t side) const { return corners_[side]; }
    const GridPoint<Int>& to(std::size_t side) const {
        return corners_[(side + 1) % corners_.size()];
    }

    // Sides that share a corner meet only where they run back over each other.
    bool meet(std::size_t i, std::size_t j) const {
        if (i > j) std::swap(i, j);
        if (j == i + 1) return turnsBack(from(i), to(i), to(j));
        if (i == 0 && j == count() - 1) return turnsBack(from(j), to(j), to(i));
        return segmentsMeet(from(i), to(i), from(j), to(j));
    }

private:
    const std::vector<GridPoint<Int>>& corners_;
};

template <class Int>
bool before(const GridPoint<Int>& a, const GridPoint<Int>& b) {
    return a.x < b.x || (a.x == b.x && a.y < b.y);
}

// Whether any two sides meet, by a sweep across X (Shamos and Hoey): the
// sides the sweep line crosses are kept in the order they cross it, and only
// neighbours in that order are compared, so each side is looked at a few
// times and the check takes O(n log n) whatever the figure. At a point,
// sides starting there go in before those ending there leave, so that sides
// touching there are neighbours at some moment. Heights on the sweep line
// are compared exactly, as fractions.
template <class Int>
class Sweep {
    using W = typename Wide<Int>::type;

public:
    explicit Sweep(const Sides<Int>& sides) : sides_(sides), order_(Above{this}) {
        spans_.reserve(sides.count());
        for (std::size_t side = 0; side < sides.count(); ++side) {
            const bool forward = before(sides.from(side), sides.to(side));
            const GridPoint<Int>& left = forward ? sides.from(side) : sides.to(side);
            const GridPoint<Int>& right = forward ? sides.to(side) : sides.from(side);
            spans_.push_back({&left, W(right.x - left.x), W(right.y - left.y)});
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
            const GridPoint<Int>& at = sides_.from(corners[group]);
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
    // A side from its left end: across (X) and up (Y) to its right end; a
    // side along the sweep line goes no distance across.
    struct Span {
        const GridPoint<Int>* left;
        W across, up;
        bool alongSweep() const { return across == 0; }
    };

    bool startsAt(std::size_t side, const GridPoint<Int>& at) const {
        const GridPoint<Int>& left = *spans_[side].left;
        return left.x == at.x && left.y == at.y;
    }

    // Where a side crosses the sweep line, as numerator and denominator (a
    // side along the line: where it starts).
    std::pair<W, W> heightAt(const Span& span) const {
        if (span.alongSweep()) return {W(span.left->y), W(1)};
        return {W(span.left->y) * span.across + W(sweepX_ - span.left->x) * span.up, span.across};
    }

    // Lower on the sweep line first; at one height, the lower slope first
    // (a side along the line the highest), then the side number.
    struct Above {
        const Sweep* sweep;
        bool operator()(std::size_t a, std::size_t b) const {
            const Span& sa = sweep->spans_[a];
            const Span& sb = sweep->spans_[b];
            const auto [na, da] = sweep->heightAt(sa);
            const auto [nb, db] = sweep->heightAt(sb);
            const W left = na * db, right = nb * da;
            if (left != right) return left < right;
            if (sa.alongSweep() != sb.alongSweep()) return sb.alongSweep();
            if (!sa.alongSweep()) {
                const W slopeA = sa.up * sb.across, slopeB = sb.up * sa.across;
                if (slopeA != slopeB) return slopeA < slopeB;
            }
            return a < b;
        }
    };
    using Order = std::set<std::size_t, Above>;

    // A side of no length starts and ends at one point: it goes in once.
    bool enter(std::size_t side) {
        if (places_[side] != order_.end()) return false;
        const auto at = order_.insert(side).first;
        places_[side] = at;
        if (at != order_.begin() && meet(*std::prev(at), side)) return true;
        const auto next = std::next(at);
        return next != order_.end() && meet(side, *next);
    }
    // A side leaves from where it was put: sides ending at one point cross the
    // sweep line there at one height, where comparing them would not tell
    // the order they came in.
    bool leave(std::size_t side) {
        if (places_[side] == order_.end()) return false;
        const auto next = order_.erase(std::exchange(places_[side], order_.end()));
        return next != order_.begin() && next != order_.end() && meet(*std::prev(next), *next);
    }
    bool meet(std::size_t a, std::size_t b) {
        if (!sides_.meet(a, b)) return false;
        found_ = std::minmax(a, b);
        return true;
    }

public:
    // The pair that anyMeet() found meeting.
    SidePair found() const { return found_; }

private:
    const Sides<Int>& sides_;
    SidePair found_;
    std::vector<Span> spans_;
    Int sweepX_ = 0;
    Order order_;
    std::vector<typename Order::iterator> places_ =
        std::vector<typename Order::iterator>(sides_.count(), order_.end());
};

// The first pair of sides that meet, once a sweep has found that some do:
// every side's box is looked up in an R-tree of all of them. Where the boxes
// overlap everywhere (long sides winding to and fro) that would look at
// every pair, so the look-ups stop after `budget` candidates: nothing then.
template <class Int>
std::optional<SidePair> firstMeetingPair(const Sides<Int>& sides, std::size_t budget) {
    const std::size_t n = sides.count();
    std::vector<Entry> boxes;
    boxes.reserve(n);
    for (std::size_t side = 0; side < n; ++side)
        boxes.emplace_back(boxOf(sides.from(side), sides.to(side)), side);
    const bgi::rtree<Entry, bgi::rstar<16>> tree(boxes.begin(), boxes.end());  // packed at once

    for (std::size_t i = 0; i < n; ++i) {
        std::optional<std::size_t> first;
        for (auto it = tree.qbegin(bgi::intersects(boxes[i].first)); it != tree.qend(); ++it) {
            if (budget-- == 0) return std::nullopt;
            const std::size_t j = it->second;
            if (j > i && (!first || j < *first) && sides.meet(i, j)) first = j;
        }
        if (first) return SidePair(std::make_pair(i, *first));
    }
    return SidePair();
}

// The candidates the search for the first pair may look at: about what the
// sweep itself does, and every pair of a small figure.
std::size_t searchBudget(std::size_t sides) {
    constexpr std::size_t kEveryPairUpTo = 256;
    std::size_t log2 = 1;
    while ((std::size_t(1) << log2) < sides) ++log2;
    return std::max(kEveryPairUpTo * kEveryPairUpTo, 2 * sides * log2);
}

template <class Int>
SidePair firstCrossingOf(const std::vector<GridPoint<Int>>& corners) {
    if (corners.size() < 3) return std::nullopt;
    const Sides<Int> sides(corners);
    Sweep<Int> sweep(sides);
    if (!sweep.anyMeet()) return std::nullopt;
    return firstMeetingPair(sides, searchBudget(sides.count())).value_or(sweep.found());
}

}  // namespace

SidePair firstCrossing(const std::vector<SmallGridPoint>& corners) {
    return firstCrossingOf(corners);
}
SidePair firstCrossing(const std::vector<BigGridPoint>& corners) {
    return firstCrossingOf(corners);
}

bool sidesMeet(const std::vector<SmallGridPoint>& corners, std::size_t i, std::size_t j) {
    return Sides<std::int64_t>(corners).meet(i, j);
}
bool sidesMeet(const std::vector<BigGridPoint>& corners, std::size_t i, std::size_t j) {
    return Sides<cpp_int>(corners).meet(i, j);
}

}  // namespace geocalc
