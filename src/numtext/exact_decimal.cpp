#include "numtext/exact_decimal.h"

#include "numtext/decimal_reader.h"

namespace geocalc {

namespace {

constexpr int kExponentLimit = 500;
constexpr std::size_t kSmallDigits = 18;  // any 18-digit integer fits 64 bits

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The pieces of an accepted text, as views into it: the digits before and
// after the separator, and the written exponent.
struct DecimalParts {
    bool negative = false;
    std::string_view whole, fraction;
    int exponent = 0;

    // The significant digits, between the first and the last that is not 0,
    // and the power of ten of the last of them; false for zero.
    template <class Digit>
    bool forEachSignificantDigit(Digit&& digit, int& lastPower) const;
};

std::size_t digitsFrom(std::string_view text, std::size_t pos) {
    while (pos < text.size() && isDigit(text[pos])) ++pos;
    return pos;
}

DecimalParts partsOf(std::string_view text, char separator) {
    text = text.substr(0, text.find('\0'));
    DecimalParts parts;
    std::size_t pos = text.find_first_not_of(' ');
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        parts.negative = text[pos++] == '-';
    std::size_t end = digitsFrom(text, std::min(pos, text.size()));
    parts.whole = text.substr(pos, end - pos);
    if (end < text.size() && text[end] == separator) {
        const std::size_t start = end + 1;
        end = digitsFrom(text, start);
        parts.fraction = text.substr(start, end - start);
    }
    pos = end;
    if (pos < text.size() && (text[pos] == 'E' || text[pos] == 'e')) {
        ++pos;
        bool negativeExponent = false;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
            negativeExponent = text[pos++] == '-';
        for (; pos < text.size() && isDigit(text[pos]) && parts.exponent < kExponentLimit; ++pos) {
            parts.exponent = parts.exponent * 10 + (text[pos] - '0');
        }
        if (negativeExponent) parts.exponent = -parts.exponent;
    }
    return parts;
}

template <class Digit>
bool DecimalParts::forEachSignificantDigit(Digit&& digit, int& lastPower) const {
    // The two runs of digits read as one.
    auto at = [this](std::size_t i) {
        return i < whole.size() ? whole[i] : fraction[i - whole.size()];
    };
    const std::size_t count = whole.size() + fraction.size();
    std::size_t first = 0;
    while (first < count && at(first) == '0') ++first;
    if (first == count) return false;
    std::size_t last = count - 1;
    while (at(last) == '0') --last;
    for (std::size_t i = first; i <= last; ++i) {
        if (!digit(at(i), last - first + 1)) return false;
    }
    lastPower = exponent - int(fraction.size()) + int(count - 1 - last);
    return true;
}

}  // namespace

ExactDecimal readExactDecimal(std::string_view text, char separator) {
    readDecimal(text, separator);  // the reader's checks and its message
    const DecimalParts parts = partsOf(text, separator);
    ExactDecimal value;
    if (!parts.forEachSignificantDigit(
            [&value](char c, std::size_t) {
                value.digits += c;
                return true;
            },
            value.exponent)) {
        return {};  // zero, whatever its sign
    }
    value.negative = parts.negative;
    return value;
}

std::optional<SmallDecimal> smallDecimalOf(std::string_view text, char separator) {
    const DecimalParts parts = partsOf(text, separator);
    SmallDecimal value;
    bool fits = true;
    const bool nonZero = parts.forEachSignificantDigit(
        [&](char c, std::size_t count) {
            fits = count <= kSmallDigits;
            value.mantissa = value.mantissa * 10 + (c - '0');
            return fits;
        },
        value.exponent);
    if (!fits) return std::nullopt;
    if (!nonZero) return SmallDecimal{};
    if (parts.negative) value.mantissa = -value.mantissa;
    return value;
}

}  // namespace geocalc
