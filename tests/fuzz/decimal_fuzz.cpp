// Fuzz target, differential: the decimal reader and the exact reading of the
// same text must agree. Both accept the same texts (the exact one through
// the reader's checks), and the reader's extended value must lie within its
// few roundings of the exact number; any disagreement aborts.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/error.h"
#include "numtext/decimal_reader.h"
#include "numtext/exact_decimal.h"
#include "numtext/power_of_ten.h"

namespace {

constexpr int kDigitsCompared = 19;          // what an extended significand tells apart
constexpr long double kTolerance = 1e-15L;   // a few roundings, many times over
constexpr long double kSmallest = 1e-4900L;  // below: denormals, compared no further
constexpr long double kLargest = 1e4900L;
constexpr std::size_t kSmallDigits = 18;

// The exact number, to extended precision, from its first digits.
long double approximate(const geocalc::ExactDecimal& exact) {
    const std::string digits = exact.digits.substr(0, kDigitsCompared);
    long double value = 0;
    for (const char c : digits) value = value * 10 + (c - '0');
    const int power = exact.exponent + int(exact.digits.size() - digits.size());
    value = geocalc::scaleByPowerOfTen(value, power);
    return exact.negative ? -value : value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const char separator = data[0] % 2 == 0 ? '.' : ',';
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    long double read = 0;
    try {
        read = geocalc::readDecimal(text, separator);
    } catch (const geocalc::Error&) {
        try {
            geocalc::readExactDecimal(text, separator);
        } catch (const geocalc::Error&) {
            return 0;  // refused by both
        }
        std::abort();  // the exact reading took what the reader refused
    }
    const geocalc::ExactDecimal exact = geocalc::readExactDecimal(text, separator);
    if (exact.digits.empty()) {
        if (read != 0) std::abort();
        return 0;
    }
    if (std::fabs(read) >= kSmallest && std::fabs(read) <= kLargest) {
        if ((read < 0) != exact.negative) std::abort();
        const long double expected = approximate(exact);
        if (std::fabs(read - expected) > kTolerance * std::fabs(expected)) std::abort();
    }
    // The allocation-free exact reading gives the same digits and power.
    const auto small = geocalc::smallDecimalOf(text, separator);
    if (!small) {
        if (exact.digits.size() <= kSmallDigits) std::abort();
        return 0;
    }
    const std::string smallDigits =
        std::to_string(small->mantissa < 0 ? -small->mantissa : small->mantissa);
    if (smallDigits != exact.digits || small->exponent != exact.exponent ||
        (small->mantissa < 0) != exact.negative) {
        std::abort();
    }
    return 0;
}
