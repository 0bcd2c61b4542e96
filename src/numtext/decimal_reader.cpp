#include "numtext/decimal_reader.h"

#include <cstdint>
#include <string>

#include "core/error.h"
#include "numtext/format_settings.h"
#include "numtext/power_of_ten.h"
#include "numtext/x87_state.h"

namespace geocalc {

namespace {

constexpr int kExponentStop = 500;
// Digits that fit an unsigned 64-bit accumulator exactly; the extended
// arithmetic gives the same value as long as it stays below 2^64.
constexpr int kExactDigits = 19;

// A NUL byte ends the text as its end does. No character the parse looks
// for is NUL, so only the last test, for the end, needs to know it.
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}
    bool atEnd() const { return pos_ == text_.size() || text_[pos_] == '\0'; }
    char peek() const { return pos_ == text_.size() ? '\0' : text_[pos_]; }
    bool take(char c) {
        if (pos_ == text_.size() || text_[pos_] != c) return false;
        ++pos_;
        return true;
    }
    bool peekDigit() const { return pos_ != text_.size() && unsigned(text_[pos_] - '0') <= 9; }
    int takeDigit() { return text_[pos_++] - '0'; }
    void skipBlanks() {
        while (take(' ')) {
        }
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// Accumulates value = value * 10 + digit, exactly in 64 bits while the digits
// allow, then in extended arithmetic rounded at every step.
class Mantissa {
public:
    void add(int digit) {
        if (exactDigits_ < kExactDigits) {
            exact_ = exact_ * 10 + std::uint64_t(digit);
            ++exactDigits_;
        } else {
            if (!spilled_) {
                extended_ = static_cast<long double>(exact_);
                spilled_ = true;
            }
            extended_ = extended_ * 10.0L + static_cast<long double>(digit);
        }
    }
    long double value() const { return spilled_ ? extended_ : static_cast<long double>(exact_); }

private:
    std::uint64_t exact_ = 0;
    int exactDigits_ = 0;
    bool spilled_ = false;
    long double extended_ = 0;
};

enum class Short { Read, NotShort };

// The usual text, digits with at most one separator and a leading "-", 19
// digits or fewer in all, nothing else: read in one pass. Its mantissa is
// exact in 64 bits and its value the one parse() gives it; anything else is
// left to parse().
[[gnu::always_inline]] inline Short parseShort(std::string_view text, char separator,
                                               long double& result) {
    const char* p = text.data();
    const char* const end = p + text.size();
    const bool negative = p != end && *p == '-';
    p += negative;
    std::uint64_t mantissa = 0;  // wraps past 19 digits, which are refused below
    const char* const start = p;
    while (p != end && unsigned(*p - '0') <= 9) mantissa = mantissa * 10 + unsigned(*p++ - '0');
    const int integerDigits = int(p - start);
    int fractionDigits = 0;
    if (p != end && *p == separator) {
        const char* const fraction = ++p;
        while (p != end && unsigned(*p - '0') <= 9) mantissa = mantissa * 10 + unsigned(*p++ - '0');
        fractionDigits = int(p - fraction);
    }
    const int digits = integerDigits + fractionDigits;
    if (p != end || digits == 0 || digits > kExactDigits) return Short::NotShort;
    const long double value =
        scaleByPowerOfTen(static_cast<long double>(mantissa), -fractionDigits);
    result = x87::settled(negative ? -value : value);
    return Short::Read;
}

[[gnu::always_inline]] inline bool parse(std::string_view text, char separator,
                                         long double& result) {
    if (parseShort(text, separator, result) == Short::Read) return true;
    Cursor in(text);
    in.skipBlanks();
    const bool negative = in.peek() == '-';
    if (!in.take('-')) in.take('+');

    Mantissa mantissa;
    bool consumed = false;
    while (in.peekDigit()) {
        mantissa.add(in.takeDigit());
        consumed = true;
    }
    long long fractionDigits = 0;
    if (in.take(separator)) {
        consumed = true;
        while (in.peekDigit()) {
            mantissa.add(in.takeDigit());
            ++fractionDigits;
        }
    }
    if (!consumed) return false;

    int exponent = 0;
    bool negativeExponent = false;
    if (in.take('E') || in.take('e')) {
        negativeExponent = in.peek() == '-';
        if (!in.take('-')) in.take('+');
        while (exponent < kExponentStop && in.peekDigit())
            exponent = exponent * 10 + in.takeDigit();
    }
    in.skipBlanks();
    if (!in.atEnd()) return false;

    long long scale = (negativeExponent ? -exponent : exponent) - fractionDigits;
    if (scale < -kScaleLimit) scale = -kScaleLimit;
    const long double value = scaleByPowerOfTen(mantissa.value(), int(scale));
    result = x87::settled(negative ? -value : value);
    return true;
}

void clearFaults() {
    if ((x87::raisedFlags() & x87::kFaults) != 0) x87::clearFlags();
}

// Parses under the reader's control word. The fault flags are tested once,
// after a successful parse; only when one is up (raised by the parse, or left
// up before it) are they cleared and the parse repeated to tell which.
bool parseChecked(std::string_view text, char separator, long double& result) {
    if (!parse(text, separator, result)) {
        clearFaults();
        return false;
    }
    if ((x87::raisedFlags() & x87::kFaults) == 0) return true;
    x87::clearFlags();
    const bool ok = parse(text, separator, result) &&
                    (x87::raisedFlags() & (x87::kInvalid | x87::kOverflow)) == 0;
    clearFaults();
    return ok;
}

}  // namespace

bool readDecimalInScope(std::string_view text, char separator, long double& value) {
    return parse(text, separator, value);
}

long double readDecimal(std::string_view text) {
    return readDecimal(text, numberFormat().decimalSeparator);
}

long double readDecimal(std::string_view text, char separator) {
    const std::uint16_t callerControl = x87::controlWord();
    if (callerControl != x87::kExtendedNearest) x87::loadControlWord(x87::kExtendedNearest);
    long double value = 0;
    const bool ok = parseChecked(text, separator, value);
    if (callerControl != x87::kExtendedNearest) x87::loadControlWord(callerControl);
    if (!ok) throw Error("'" + std::string(text) + "' is not a valid floating point value");
    return value;
}

}  // namespace geocalc
