// Whether a closed boundary crosses or touches itself, decided exactly on
// corners in whole units of the figure's grid.
#pragma once

#include <boost/multiprecision/cpp_int.hpp>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace geocalc {

// A corner in whole grid units (X north, Y east).
template <class Int>
struct GridPoint {
    Int x, y;
};

// Coordinates this small (in grid units, from the first corner) are decided
// in 128-bit integers: every product and comparison the checks make then
// fits. Larger ones take arbitrary-precision integers.
inline constexpr std::int64_t kSmallGridLimit = std::int64_t(1) << 40;
using SmallGridPoint = GridPoint<std::int64_t>;
using BigGridPoint = GridPoint<boost::multiprecision::cpp_int>;

using SidePair = std::optional<std::pair<std::size_t, std::size_t>>;

// A pair of sides (i < j) of the closed boundary through `corners` that
// meet, nothing where none do: side i runs from corner i to the next, the
// last back to corner 0. Sides that share a corner meet only where they run
// back over each other beyond it. A sweep tells in O(n log n) whether any
// sides meet; only then is the first pair (smallest i, then smallest j)
// looked for, through an R-tree of the sides' boxes, as long as that looks
// at no more boxes than the sweep's own work (and at every pair of a figure
// of up to 256 sides). Where the boxes overlap so much that it would look at
// more (long sides winding to and fro), the pair is the one the sweep found:
// the check stays O(n log n) whatever the figure.
SidePair firstCrossing(const std::vector<SmallGridPoint>& corners);
SidePair firstCrossing(const std::vector<BigGridPoint>& corners);

// Whether sides i and j of that boundary meet.
bool sidesMeet(const std::vector<SmallGridPoint>& corners, std::size_t i, std::size_t j);
bool sidesMeet(const std::vector<BigGridPoint>& corners, std::size_t i, std::size_t j);

}  // namespace geocalc
