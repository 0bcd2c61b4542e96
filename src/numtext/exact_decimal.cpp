#include "numtext/exact_decimal.h"

#include "numtext/decimal_reader.h"

namespace geocalc {

namespace {

constexpr int kExponentLimit = 500;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

ExactDecimal readExactDecimal(std::string_view text, char separator) {
    readDecimal(text, separator);  // the reader's checks and its message
    text = text.substr(0, text.find('\0'));
    std::size_t pos = text.find_first_not_of(' ');
    ExactDecimal value;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) value.negative = text[pos++] == '-';
    std::string digits;
    int fractionDigits = 0;
    for (bool fraction = false; pos < text.size(); ++pos) {
        if (isDigit(text[pos])) {
            digits += text[pos];
            fractionDigits += fraction;
        } else if (text[pos] == separator && !fraction) {
            fraction = true;
        } else {
            break;
        }
    }
    int exponent = 0;
    if (pos < text.size() && (text[pos] == 'E' || text[pos] == 'e')) {
        ++pos;
        bool negativeExponent = false;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negativeExponent = text[pos++] == '-';
        for (; pos < text.size() && isDigit(text[pos]) && exponent < kExponentLimit; ++pos) {
            exponent = exponent * 10 + (text[pos] - '0');
        }
        if (negativeExponent) exponent = -exponent;
    }
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos) return {};  // zero, whatever its sign
    const std::size_t last = digits.find_last_not_of('0');
    value.exponent = exponent - fractionDigits + int(digits.size() - 1 - last);
    value.digits = digits.substr(first, last - first + 1);
    return value;
}

}  // namespace geocalc
