// A boundary whose sides wind to and fro between x = 0 and x = width, each a
// step further up, every side's box over every other's, closed round the
// outside; with `cutBack` the last corner lies back in the middle, its
// sides crossing the others. For the tests and the benchmark of the
// crossing check.
#pragma once

#include <cstdint>
#include <vector>

#include "parcel/boundary_crossing.h"

namespace geocalc {

inline std::vector<SmallGridPoint> windingBoundary(int turns, bool cutBack) {
    const std::int64_t width = 1'000'000;
    std::vector<SmallGridPoint> corners{{-1, -width}};
    for (std::int64_t k = 0; k < turns; ++k) {
        corners.push_back({0, k});
        corners.push_back({width, width + k});
    }
    if (cutBack) corners.push_back({width / 2, 0});
    corners.push_back({width + 1, -width});
    return corners;
}

}  // namespace geocalc
