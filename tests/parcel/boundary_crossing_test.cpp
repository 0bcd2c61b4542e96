#include "parcel/boundary_crossing.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "every_pair.h"
#include "winding_boundary.h"

namespace geocalc {
namespace {

using every_pair::firstByEveryPair;
using Pair = every_pair::Pair;

std::vector<BigGridPoint> big(const std::vector<SmallGridPoint>& corners, int shift) {
    std::vector<BigGridPoint> result;
    for (const SmallGridPoint& c : corners) {
        result.push_back({boost::multiprecision::cpp_int(c.x) << shift,
                          boost::multiprecision::cpp_int(c.y) << shift});
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
            if (!corners.empty() && corners.back().x == p.x && corners.back().y == p.y)
                continue;  // no empty side
            corners.push_back(p);
        }
        if (corners.back().x == corners[0].x && corners.back().y == corners[0].y) continue;
        const Pair expected = firstByEveryPair(corners);
        std::string shown;
        for (const SmallGridPoint& p : corners)
            shown += "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ") ";
        ASSERT_EQ(firstCrossing(corners), expected) << "figure " << figure << ": " << shown;
        if (figure % 10 == 0) {
            ASSERT_EQ(firstCrossing(big(corners, 200)), expected)
                << "figure " << figure << ": " << shown;
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
    const std::vector<SmallGridPoint> touching = {
        {0, 0}, {far, 2}, {far, far}, {far / 2, 1}, {0, far}};
    EXPECT_EQ(firstCrossing(touching), (Pair{{0, 2}}));
    // A millimetre off, above it: no touch.
    const std::vector<SmallGridPoint> missing = {
        {0, 0}, {far, 2}, {far, far}, {far / 2 - 1, 1}, {0, far}};
    EXPECT_EQ(firstByEveryPair(missing), std::nullopt);
    EXPECT_EQ(firstCrossing(missing), std::nullopt);
    // Out along a line and back: side 1 and 2 overlap, and side 2 ends on
    // side 0's end, the first pair in order.
    const std::vector<SmallGridPoint> spike = {
        {0, 0}, {far, 3}, {2 * far, 6}, {far, 3}, {far, far}};
    EXPECT_EQ(firstByEveryPair(spike), (Pair{{0, 2}}));
    EXPECT_EQ(firstCrossing(spike), (Pair{{0, 2}}));
    const std::vector<SmallGridPoint> nearSpike = {
        {0, 0}, {far, 3}, {2 * far, 6}, {far, 4}, {far, far}};
    EXPECT_EQ(firstCrossing(nearSpike), firstByEveryPair(nearSpike));
}

// Long sides winding to and fro, every side's box over every other's, and
// a last side cutting back through them: the pair given meets (the first by
// the R-tree where it finds it within its budget, else the sweep's).
TEST(BoundaryCrossingTest, AWindingBoundaryGivesAPairThatMeets) {
    for (const int turns : {50, 3000}) {
        const std::vector<SmallGridPoint> winding = windingBoundary(turns, true);
        const Pair pair = firstCrossing(winding);
        ASSERT_TRUE(pair) << turns;
        EXPECT_LT(pair->first, pair->second);
        EXPECT_TRUE(sidesMeet(winding, pair->first, pair->second)) << turns;
        if (turns == 50) {
            EXPECT_EQ(pair, firstByEveryPair(winding));
        }
        EXPECT_EQ(firstCrossing(windingBoundary(turns, false)), std::nullopt) << turns;
    }
}

}  // namespace
}  // namespace geocalc
