// Whether a closed boundary crosses or touches itself.
#pragma once

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

namespace geocalc {

// A corner on the plan, in metres from the first corner (X north, Y east).
struct PlanPoint {
    long double x, y;
};

// The first pair of sides (smallest i, then smallest j > i) of the closed
// boundary through `corners` that meet: side i runs from corner i to the
// next, the last back to corner 0. Sides that share a corner meet only where
// they run back over each other. A sweep tells in O(n log n) whether any
// sides meet; only then is the first pair looked for, through an R-tree of
// the sides' boxes.
std::optional<std::pair<std::size_t, std::size_t>> firstCrossing(
    const std::vector<PlanPoint>& corners);

// Whether sides i and j of that boundary meet.
bool sidesMeet(const std::vector<PlanPoint>& corners, std::size_t i, std::size_t j);

}  // namespace geocalc
