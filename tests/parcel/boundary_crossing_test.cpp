#include "parcel/boundary_crossing.h"

#include <gtest/gtest.h>

#include <random>

namespace geocalc {
namespace {

using Pair = std::optional<std::pair<std::size_t, std::size_t>>;

Pair firstByEveryPair(const std::vector<PlanPoint>& corners) {
    for (std::size_t i = 0; i < corners.size(); ++i) {
        for (std::size_t j = i + 1; j < corners.size(); ++j) {
            if (sidesMeet(corners, i, j)) return std::make_pair(i, j);
        }
    }
    return std::nullopt;
}

// Small figures on a coarse grid, where corners on other sides, shared
// corners, sides along the sweep line and overlapping sides abound: the
// sweep and the R-tree find what comparing every pair finds.
TEST(BoundaryCrossingTest, FindsWhatComparingEveryPairFinds) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> coordinate(0, 4), count(3, 9);
    int crossing = 0, simple = 0;
    for (int figure = 0; figure < 20000; ++figure) {
        std::vector<PlanPoint> corners;
        const int n = count(random);
        while (int(corners.size()) < n) {
            const PlanPoint p{(long double)coordinate(random), (long double)coordinate(random)};
            if (!corners.empty() && corners.back().x == p.x && corners.back().y == p.y)
                continue;  // no empty side
            corners.push_back(p);
        }
        if (corners.back().x == corners[0].x && corners.back().y == corners[0].y) continue;
        const Pair expected = firstByEveryPair(corners);
        std::string shown;
        for (const PlanPoint& p : corners)
            shown += "(" + std::to_string(int(p.x)) + "," + std::to_string(int(p.y)) + ") ";
        ASSERT_EQ(firstCrossing(corners), expected) << "figure " << figure << ": " << shown;
        ++(expected ? crossing : simple);
    }
    EXPECT_GT(simple, 1000);  // both kinds were tried
    EXPECT_GT(crossing, 1000);
}

}  // namespace
}  // namespace geocalc
