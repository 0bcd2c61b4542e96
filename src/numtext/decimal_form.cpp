#include "numtext/decimal_form.h"

#include <cstring>

#include "numtext/extended_rounding.h"
#include "numtext/power_of_ten.h"

namespace geocalc {

namespace {

struct ExtendedBits {
    std::uint64_t significand;
    std::uint16_t signAndExponent;
};

ExtendedBits bitsOf(long double v) {
    ExtendedBits bits{};
    std::memcpy(&bits.significand, &v, sizeof bits.significand);
    std::memcpy(&bits.signAndExponent, reinterpret_cast<const char*>(&v) + 8,
                sizeof bits.signAndExponent);
    return bits;
}

constexpr std::uint16_t kExponentMask = 0x7FFF;
constexpr int kExponentBias = 16383;
constexpr std::uint64_t kIntegerBit = std::uint64_t{1} << 63;
constexpr std::uint64_t kTenTo17 = 100'000'000'000'000'000ULL;
constexpr std::uint64_t kTenTo18 = 1'000'000'000'000'000'000ULL;

std::uint64_t roundToInteger(long double n) { return wholeToUint64(roundToNearestWhole(n)); }

// The 18 significant digits of |v|, and the exponent E with
// |v| ~ 0.d1...d18 * 10^E.
std::uint64_t eighteenDigits(long double magnitude, int binaryExponent, int& exponent) {
    // 19728 / 65536 is a little below log10(2); the shift floors also for negative values.
    exponent = ((binaryExponent * 19728) >> 16) + 1;
    std::uint64_t n = roundToInteger(scaleByPowerOfTen(magnitude, 18 - exponent));
    if (n < kTenTo17) {
        // The estimate errs high by one for some very small values.
        --exponent;
        n = roundToInteger(scaleByPowerOfTen(magnitude, 18 - exponent));
    }
    if (n >= kTenTo18) {
        n = roundToInteger(static_cast<long double>(n) / 10.0L);
        ++exponent;
    }
    return n;
}

// Writes v (below 10^9) as exactly nine digits, two at a time.
void writeNineDigits(char* out, std::uint32_t v) {
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    for (int i = 7; i > 0; i -= 2, v /= 100) std::memcpy(out + i, kPairs + 2 * (v % 100), 2);
    out[0] = char('0' + v);
}

}  // namespace

bool eighteenDigitsOf(long double v, EighteenDigits& digits) {
    const ExtendedBits bits = bitsOf(v);
    const int exponentField = bits.signAndExponent & kExponentMask;
    if (exponentField == 0 || exponentField == kExponentMask) return false;
    digits.negative = (bits.signAndExponent & 0x8000) != 0;
    digits.n =
        eighteenDigits(digits.negative ? -v : v, exponentField - kExponentBias, digits.exponent);
    return true;
}

DecimalForm toDecimalForm(long double v, int precision, int decimals) {
    DecimalForm form;
    const ExtendedBits bits = bitsOf(v);
    const int exponentField = bits.signAndExponent & kExponentMask;
    const bool signBit = (bits.signAndExponent & 0x8000) != 0;
    if (exponentField == 0) return form;
    if (exponentField == kExponentMask) {
        const bool infinite = bits.significand == kIntegerBit;
        form.exponent = infinite ? DecimalForm::kInfinity : DecimalForm::kNaN;
        form.negative = infinite && signBit;
        return form;
    }

    int exponent = 0;
    std::uint64_t n = eighteenDigits(signBit ? -v : v, exponentField - kExponentBias, exponent);
    const int limit = exponent + decimals;
    if (limit < 0) return form;
    int kept = limit < precision ? limit : precision;

    // The digits kept and the one after them, which decides the rounding: the
    // second half is written only when that one lies in it.
    constexpr std::uint64_t kHalf = 1'000'000'000;
    constexpr int kHalfDigits = 9;
    char all[DecimalForm::kMaxDigits];
    writeNineDigits(all, std::uint32_t(n / kHalf));
    if (kept >= kHalfDigits) writeNineDigits(all + kHalfDigits, std::uint32_t(n % kHalf));
    if (kept < DecimalForm::kMaxDigits && all[kept] >= '5') {
        int i = kept - 1;
        while (i >= 0 && all[i] == '9') --i;
        if (i < 0) {
            all[0] = '1';
            kept = 1;
            ++exponent;
        } else {
            ++all[i];
            kept = i + 1;
        }
    }
    while (kept > 0 && all[kept - 1] == '0') --kept;
    if (kept == 0) return form;

    form.exponent = exponent;
    form.negative = signBit;
    form.digitCount = kept;
    std::memcpy(form.digits.data(), all, std::size_t(kept));
    return form;
}

}  // namespace geocalc
