// Rounding extended values to whole numbers without touching the control
// word: the compiler's own truncations reload it twice per conversion, which
// costs more than the arithmetic they serve.
#pragma once

#include <cstdint>

namespace geocalc {

inline constexpr long double kTwoTo63 = 9223372036854775808.0L;

// Nearest whole number, ties to even, under round-to-nearest: below 2^63 adding
// and taking away 2^63 drops every fraction bit; from 2^63 up every extended
// value is whole already.
inline long double roundToNearestWhole(long double x) {
    const long double magnitude = x < 0 ? -x : x;
    if (!(magnitude < kTwoTo63)) return x;
    const long double rounded = (magnitude + kTwoTo63) - kTwoTo63;
    return x < 0 ? -rounded : rounded;
}

// x truncated toward zero, kept as an extended value (no range limit). The
// step back from a rounding up is a selection, not a branch: fractions come
// as they come, and a mispredicted branch costs more than the arithmetic.
inline long double truncateToWhole(long double x) {
    const long double magnitude = x < 0 ? -x : x;
    if (!(magnitude < kTwoTo63)) return x;
    const long double rounded = (magnitude + kTwoTo63) - kTwoTo63;
    const long double whole = rounded - (rounded > magnitude ? 1.0L : 0.0L);
    return x < 0 ? -whole : whole;
}

// The value of a whole, non-negative x below 2^64. The x87 store is exact for
// whole values whatever its rounding mode, so no truncation mode is needed.
inline std::uint64_t wholeToUint64(long double x) {
    const bool high = !(x < kTwoTo63);
    if (high) x -= kTwoTo63;
    std::int64_t low;
    asm("fistpll %0" : "=m"(low) : "t"(x) : "st");
    return std::uint64_t(low) + (high ? std::uint64_t{1} << 63 : 0);
}

}  // namespace geocalc
