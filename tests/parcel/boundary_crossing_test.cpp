#include "parcel/boundary_crossing.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace geocalc {
namespace {

using Pair = std::optional<std::pair<std::size_t, std::size_t>>;

// An independent answer: sides as sets of points with rational parameters,
// every pair compared. Sides i and j (not neighbours) meet when the systems
// p + s (q - p) = r + t (u - r), 0 <= s, t <= 1 have a solution; neighbours
// meet when they share more than their common corner.
struct Side {
    long long px, py, qx, qy;
};

__extension__ typedef __int128 Wide;

Wide cross(Wide ax, Wide ay, Wide bx, Wide by) { return ax * by - ay * bx; }

// Whether point (x, y) lies on the closed side.
bool onSide(const Side& s, long long x, long long y) {
    if (cross(s.qx - s.px, s.qy - s.py, x - s.px, y - s.py) != 0) return false;
    return std::min(s.px, s.qx) <= x && x <= std::max(s.px, s.qx) && std::min(s.py, s.qy) <= y &&
           y <= std::max(s.py, s.qy);
}

bool closedSidesMeet(const Side& a, const Side& b) {
    const Wide d = cross(a.qx - a.px, a.qy - a.py, b.qx - b.px, b.qy - b.py);
    if (d != 0) {  // one point where the lines cross: s = sn / d, t = tn / d
        const Wide sn = cross(b.px - a.px, b.py - a.py, b.qx - b.px, b.qy - b.py);
        const Wide tn = cross(b.px - a.px, b.py - a.py, a.qx - a.px, a.qy - a.py);
        auto inUnit = [d](Wide n) { return d > 0 ? 0 <= n && n <= d : d <= n && n <= 0; };
        return inUnit(sn) && inUnit(tn);
    }
    return onSide(a, b.px, b.py) || onSide(a, b.qx, b.qy) || onSide(b, a.px, a.py) || onSide(b, a.qx, a.qy);
}

// Neighbours a = (p -> shared), b = (shared -> q) share more than the shared
// corner when they run back along one line.
bool neighboursOverlap(const Side& a, const Side& b) {
    const Wide ax = a.px - a.qx, ay = a.py - a.qy, bx = b.qx - b.px, by = b.qy - b.py;
    return cross(ax, ay, bx, by) == 0 && ax * bx + ay * by > 0;
}

Pair firstByEveryPair(const std::vector<SmallGridPoint>& corners) {
    const std::size_t n = corners.size();
    auto side = [&](std::size_t i) {
        const SmallGridPoint& p = corners[i];
        const SmallGridPoint& q = corners[(i + 1) % n];
        return Side{p.x, p.y, q.x, q.y};
    };
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = i + 1; j < n; ++j) {
            const bool meet = j == i + 1 ? neighboursOverlap(side(i), side(j))
                              : (i == 0 && j == n - 1) ? neighboursOverlap(side(j), side(i))
                                                       : closedSidesMeet(side(i), side(j));
            if (meet) return std::make_pair(i, j);
        }
    }
    return std::nullopt;
}

std::vector<BigGridPoint> big(const std::vector<SmallGridPoint>& corners, int shift) {
    std::vector<BigGridPoint> result;
    for (const SmallGridPoint& c : corners) {
        result.push_back({boost::multiprecision::cpp_int(c.x) << shift, boost::multiprecision::cpp_int(c.y) << shift});
    }
    return result;
}

// Small figures on a coarse grid, where corners on other sides, shared
// corners, sides along the sweep line and overlapping sides abound: the
// sweep and the R-tree find what comparing every pair finds, in 128-bit and
// in arbitrary-precision integers alike.
TEST(BoundaryCrossingTest, FindsWhatComparingEveryPairFinds) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> coordinate(0, 4), count(3, 9);
    int crossing = 0, simple = 0;
    for (int figure = 0; figure < 20000; ++figure) {
        std::vector<SmallGridPoint> corners;
        const int n = count(random);
        while (int(corners.size()) < n) {
            const SmallGridPoint p{coordinate(random), coordinate(random)};
            if (!corners.empty() && corners.back().x == p.x && corners.back().y == p.y) continue;  // no empty side
            corners.push_back(p);
        }
        if (corners.back().x == corners[0].x && corners.back().y == corners[0].y) continue;
        const Pair expected = firstByEveryPair(corners);
        std::string shown;
        for (const SmallGridPoint& p : corners) shown += "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ") ";
        ASSERT_EQ(firstCrossing(corners), expected) << "figure " << figure << ": " << shown;
        if (figure % 10 == 0) {
            ASSERT_EQ(firstCrossing(big(corners, 200)), expected) << "figure " << figure << ": " << shown;
        }
        ++(expected ? crossing : simple);
    }
    EXPECT_GT(simple, 1000);  // both kinds were tried
    EXPECT_GT(crossing, 1000);
}

// Near misses a grid unit apart, on figures spanning 10^7 m in millimetres:
// a touch is found only where it is exact.
TEST(BoundaryCrossingTest, DecidesTouchesExactlyOnLargeFigures) {
    const std::int64_t far = 10'000'000'000;  // 10^7 m in mm
    // Corner 3 lies on side 0, which runs from (0, 0) to (far, 2).
    const std::vector<SmallGridPoint> touching = {{0, 0}, {far, 2}, {far, far}, {far / 2, 1}, {0, far}};
    EXPECT_EQ(firstCrossing(touching), (Pair{{0, 2}}));
    // A millimetre off, above it: no touch.
    const std::vector<SmallGridPoint> missing = {{0, 0}, {far, 2}, {far, far}, {far / 2 - 1, 1}, {0, far}};
    EXPECT_EQ(firstByEveryPair(missing), std::nullopt);
    EXPECT_EQ(firstCrossing(missing), std::nullopt);
    // Out along a line and back: side 1 and 2 overlap, and side 2 ends on
    // side 0's end, the first pair in order.
    const std::vector<SmallGridPoint> spike = {{0, 0}, {far, 3}, {2 * far, 6}, {far, 3}, {far, far}};
    EXPECT_EQ(firstByEveryPair(spike), (Pair{{0, 2}}));
    EXPECT_EQ(firstCrossing(spike), (Pair{{0, 2}}));
    const std::vector<SmallGridPoint> nearSpike = {{0, 0}, {far, 3}, {2 * far, 6}, {far, 4}, {far, far}};
    EXPECT_EQ(firstCrossing(nearSpike), firstByEveryPair(nearSpike));
}

}  // namespace
}  // namespace geocalc
