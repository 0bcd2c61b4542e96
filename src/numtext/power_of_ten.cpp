#include "numtext/power_of_ten.h"

#include <cstdlib>

namespace geocalc {

// The compiler rounds each literal to the nearest 64-bit significand, ties to
// even; entries up to 1e27 are exact. Entry 0 of the two larger tables is 1
// and never used (the scaling skips a zero index).
const std::array<long double, 32> kPowersOfTen = {
    1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,  1e10L,
    1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L, 1e20L, 1e21L,
    1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L, 1e28L, 1e29L, 1e30L, 1e31L};

const std::array<long double, 16> kPowersOfTen32 = {1e0L,   1e32L,  1e64L,  1e96L,  1e128L, 1e160L,
                                                    1e192L, 1e224L, 1e256L, 1e288L, 1e320L, 1e352L,
                                                    1e384L, 1e416L, 1e448L, 1e480L};

const std::array<long double, 10> kPowersOfTen512 = {1e0L,    1e512L,  1e1024L, 1e1536L, 1e2048L,
                                                     1e2560L, 1e3072L, 1e3584L, 1e4096L, 1e4608L};

namespace detail {

long double scaleByLargePowerOfTen(long double x, int k) {
    const bool divide = k < 0;
    const int a = std::abs(k);
    if (a >= kScaleLimit) return divide ? x * 0.0L : x * kPowersOfTen512[9] * kPowersOfTen512[9];
    auto apply = [divide](long double value, long double power) {
        return divide ? value / power : value * power;
    };
    x = apply(x, kPowersOfTen[a % 32]);
    if (a / 32 == 0) return x;
    if ((a / 32) % 16 != 0) x = apply(x, kPowersOfTen32[(a / 32) % 16]);
    if (a / 512 == 0) return x;
    return apply(x, kPowersOfTen512[a / 512]);
}

}  // namespace detail
}  // namespace geocalc
