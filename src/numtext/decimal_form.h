// The decimal form of an extended value: the rounded digit string and the
// decimal exponent from which both number forms are written.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace geocalc {

struct DecimalForm {
    static constexpr int kInfinity = 32767;
    static constexpr int kNaN = -32768;
    static constexpr int kMaxDigits = 18;

    int exponent = 0;       // value = 0.d1d2...dn * 10^exponent, or a marker above
    bool negative = false;  // never set for zero, a value rounded to zero, or NaN
    int digitCount = 0;     // 0 for zero; d1 is never '0', the last digit never '0'
    std::array<char, kMaxDigits> digits{};

    std::string_view digitText() const { return {digits.data(), std::size_t(digitCount)}; }
    bool isSpecial() const { return exponent == kInfinity || exponent == kNaN; }
};

// The 18-digit decimal expansion of a finite, non-zero |v|: n, with
// 10^17 <= n < 10^18, and the exponent E with |v| ~ 0.n * 10^E (n is
// |v| * 10^(18 - E) rounded to a whole number).
struct EighteenDigits {
    std::uint64_t n = 0;
    int exponent = 0;
    bool negative = false;
};
// False where the writers show no digits (zero and the denormals, written
// as zero) or words (infinity, NaN): an exponent field of all zeros or ones.
bool eighteenDigitsOf(long double v, EighteenDigits& digits);

// Rounds the 18-digit decimal expansion of v half away from zero, keeping at
// most `precision` significant digits (already clamped to 2..18) and at most
// `decimals` digits after the point (9999 for no such limit). Examples at one
// decimal: 2.25 -> 23 e1, 0.15 (stored 0.1499...) -> 1 e0, 59.96 -> 6 e2.
DecimalForm toDecimalForm(long double v, int precision, int decimals);

}  // namespace geocalc
