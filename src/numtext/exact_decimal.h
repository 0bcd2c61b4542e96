// Decimal texts as the exact numbers they write: the digits and the power of
// ten, with nothing rounded.
#pragma once

#include <string>
#include <string_view>

namespace geocalc {

// value = (negative ? -1 : 1) * digits * 10^exponent, digits without leading
// zeros ("" for zero).
struct ExactDecimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

// The exact value of a text that readDecimal(text, separator) accepts; the
// same failure for any other text. An exponent stops taking digits at 500,
// as the reader's does.
ExactDecimal readExactDecimal(std::string_view text, char separator);

}  // namespace geocalc
