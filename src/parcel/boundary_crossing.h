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
// they run back over each other. An R-tree of the sides' boxes finds the
// candidates, so a real boundary is checked in O(n log n).
std::optional<std::pair<std::size_t, std::size_t>> firstCrossing(const std::vector<PlanPoint>& corners);

}  // namespace geocalc
