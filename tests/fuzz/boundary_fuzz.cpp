// Fuzz target, differential: the boundary check (a sweep, then an R-tree)
// names the same first pair of meeting sides as comparing every pair does,
// on small figures of corners on a small grid, where corners on other sides,
// spikes and overlapping sides abound; in 128-bit and in arbitrary-precision
// integers alike. Any difference aborts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "../parcel/every_pair.h"
#include "parcel/boundary_crossing.h"

namespace {

constexpr std::size_t kMaxCorners = 40;
constexpr int kBigShift = 70;  // beyond 64 bits

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<geocalc::SmallGridPoint> corners;
    for (std::size_t i = 0; i + 1 < size && corners.size() < kMaxCorners; i += 2) {
        const geocalc::SmallGridPoint p{data[i] % 16, data[i + 1] % 16};
        if (!corners.empty() && corners.back().x == p.x && corners.back().y == p.y) continue;
        corners.push_back(p);
    }
    if (corners.size() < 3 ||
        (corners.back().x == corners[0].x && corners.back().y == corners[0].y))
        return 0;
    const auto expected = geocalc::every_pair::firstByEveryPair(corners);
    if (geocalc::firstCrossing(corners) != expected) std::abort();
    std::vector<geocalc::BigGridPoint> big;
    for (const auto& c : corners) {
        big.push_back({boost::multiprecision::cpp_int(c.x) << kBigShift,
                       boost::multiprecision::cpp_int(c.y) << kBigShift});
    }
    if (geocalc::firstCrossing(big) != expected) std::abort();
    return 0;
}
