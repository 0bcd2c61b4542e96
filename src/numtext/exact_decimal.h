// Decimal texts as the exact numbers they write: the digits and the power of
// ten, with nothing rounded.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace geocalc {

// value = (negative ? -1 : 1) * digits * 10^exponent, digits without leading
// or trailing zeros ("" for zero).
struct ExactDecimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

// The exact value of a text that readDecimal(text, separator) accepts; the
// same failure for any other text. An exponent stops taking digits at 500,
// as the reader's does.
ExactDecimal readExactDecimal(std::string_view text, char separator);

// The same for a text already known to be accepted, where the digits fit a
// 64-bit integer (at most 18 significant digits): value = mantissa *
// 10^exponent. Nothing where they do not; nothing is allocated.
struct SmallDecimal {
    std::int64_t mantissa = 0;
    int exponent = 0;
};
std::optional<SmallDecimal> smallDecimalOf(std::string_view text, char separator);

}  // namespace geocalc
