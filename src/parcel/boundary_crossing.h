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

// The first pair of sides (smallest i, then smallest j > i) of the closed
// boundary through `corners` that meet: side i runs from corner i to the
// next, the last back to corner 0. Sides that share a corner meet only where
// they run back over each other beyond it. A sweep tells in O(n log n)
// whether any sides meet; only then is the first pair looked for, through an
// R-tree of the sides' boxes.
SidePair firstCrossing(const std::vector<SmallGridPoint>& corners);
SidePair firstCrossing(const std::vector<BigGridPoint>& corners);

// Whether sides i and j of that boundary meet.
bool sidesMeet(const std::vector<SmallGridPoint>& corners, std::size_t i, std::size_t j);
bool sidesMeet(const std::vector<BigGridPoint>& corners, std::size_t i, std::size_t j);

}  // namespace geocalc
