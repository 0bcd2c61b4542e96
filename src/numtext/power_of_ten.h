// Multiplying an extended value by a power of ten, the one scaling step that
// both the reader and the writer of decimal texts use.
#pragma once

#include <array>

namespace geocalc {

// 10^i for i = 0..31, 10^(32j) for j = 0..15 and 10^(512m) for m = 0..9,
// each the exact power rounded to the nearest 64-bit significand.
extern const std::array<long double, 32> kPowersOfTen;
extern const std::array<long double, 16> kPowersOfTen32;
extern const std::array<long double, 10> kPowersOfTen512;

// |k| from this bound on is beyond every power the tables can form.
inline constexpr int kScaleLimit = 5120;

// x * 10^k (x / 10^-k for negative k) in at most three roundings: by
// 10^(|k| mod 32), then 10^(32 * ((|k| / 32) mod 16)), then 10^(512 * (|k| / 512)),
// each multiplication or division rounded to nearest, ties to even.
// For k <= -5120 the result is zero (of x's sign); for k >= 5120 it overflows.
namespace detail {
long double scaleByLargePowerOfTen(long double x, int k);
}

// Most scalings need only the first table; they are kept inline.
inline long double scaleByPowerOfTen(long double x, int k) {
    if (k == 0) return x;
    if (k > -32 && k < 32) return k > 0 ? x * kPowersOfTen[k] : x / kPowersOfTen[-k];
    return detail::scaleByLargePowerOfTen(x, k);
}

}  // namespace geocalc
