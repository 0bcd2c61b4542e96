#include "numtext/number_writer.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "numtext/decimal_form.h"
#include "numtext/extended_rounding.h"
#include "numtext/format_settings.h"
#include "numtext/power_of_ten.h"

namespace geocalc {

class NumberTextBuilder {
public:
    explicit NumberTextBuilder(NumberText& text) : text_(text) {}
    void put(char c) {
        text_.data()[text_.size()] = c;
        text_.resize(text_.size() + 1);
    }
    void put(std::string_view s) {
        for (char c : s) put(c);
    }
    void repeat(char c, int count) {
        for (int i = 0; i < count; ++i) put(c);
    }
    // The digits of value (below 10^18), written in place.
    void putDigits(std::uint64_t value);
    // c put before the last `count` characters.
    void insertBeforeLast(int count, char c) {
        char* at = text_.data() + text_.size() - count;
        std::memmove(at + 1, at, std::size_t(count));
        *at = c;
        text_.resize(text_.size() + 1);
    }
    void putUnsigned(int value, int minimumDigits) {
        char reversed[8];
        int n = 0;
        do {
            reversed[n++] = char('0' + value % 10);
            value /= 10;
        } while (value != 0);
        repeat('0', minimumDigits - n);
        while (n > 0) put(reversed[--n]);
    }

private:
    NumberText& text_;
};

namespace {

constexpr int kGeneralDecimals = 9999;
constexpr int kMaxExponentPadding = 4;

void writeSpecial(NumberTextBuilder& out, const DecimalForm& form) {
    if (form.exponent == DecimalForm::kNaN) {
        out.put("NAN");
    } else {
        if (form.negative) out.put('-');
        out.put("INF");
    }
}

void writeGeneralForm(NumberTextBuilder& out, const DecimalForm& form, int precision, int digits) {
    const char separator = numberFormat().decimalSeparator;
    const std::string_view d = form.digitText();
    const int e = form.exponent;
    if (form.negative) out.put('-');
    if (e > precision || e < -3) {
        out.put(d[0]);
        if (d.size() > 1) {
            out.put(separator);
            out.put(d.substr(1));
        }
        out.put('E');
        if (e - 1 < 0) out.put('-');
        out.putUnsigned(std::abs(e - 1), digits <= kMaxExponentPadding ? digits : 0);
    } else if (e > 0) {
        const int integerDigits = std::min(e, int(d.size()));
        out.put(d.substr(0, std::size_t(integerDigits)));
        out.repeat('0', e - integerDigits);
        if (int(d.size()) > e) {
            out.put(separator);
            out.put(d.substr(std::size_t(e)));
        }
    } else {
        out.put('0');
        if (!d.empty()) {
            out.put(separator);
            out.repeat('0', -e);
            out.put(d);
        }
    }
}

void writeFixedForm(NumberTextBuilder& out, const DecimalForm& form, int decimals) {
    const std::string_view d = form.digitText();
    const int e = form.exponent;
    const int size = int(d.size());
    if (form.negative) out.put('-');
    if (e <= 0) {
        out.put('0');
    } else {
        out.put(d.substr(0, std::size_t(std::min(e, size))));
        out.repeat('0', e - size);
    }
    if (decimals <= 0) return;
    out.put(numberFormat().decimalSeparator);
    int written = 0;
    if (e < 0) {
        written = std::min(-e, decimals);
        out.repeat('0', written);
        const int shown = std::min(size, decimals - written);
        out.put(d.substr(0, std::size_t(shown)));
        written += shown;
    } else if (size > e) {
        const int shown = std::min(size - e, decimals);
        out.put(d.substr(std::size_t(e), std::size_t(shown)));
        written = shown;
    }
    out.repeat('0', decimals - written);
}

}  // namespace

NumberText writeNumber(long double v, NumberForm form, int precision, int digits) {
    precision = std::clamp(precision, 2, DecimalForm::kMaxDigits);
    digits = std::max(digits, 0);
    const int fixedDecimals = std::min(digits, DecimalForm::kMaxDigits);
    DecimalForm decimal =
        toDecimalForm(v, precision, form == NumberForm::General ? kGeneralDecimals : fixedDecimals);

    NumberText text;
    NumberTextBuilder out(text);
    if (decimal.isSpecial()) {
        writeSpecial(out, decimal);
    } else if (form == NumberForm::General || decimal.exponent > precision) {
        writeGeneralForm(out, decimal, precision, digits);
    } else {
        writeFixedForm(out, decimal, fixedDecimals);
    }
    return text;
}

// The two writers the system uses most take a shorter way from the same
// 18-digit expansion that toDecimalForm starts from: the digits kept are
// rounded as one integer instead of digit by digit. Rounding half up on the
// digit after the kept ones (toDecimalForm's rule) is adding half a unit of
// the last kept digit and dropping the rest, and a carry out of the kept
// digits (999.96 to one decimal) leaves 10^kept, which is 10^(kept-1) one
// place further up: the same digits and exponent, so the same text. Values
// those ways do not cover (zero, infinity, NaN, an exponent form, nothing
// kept) go the general way.

namespace {

constexpr std::uint64_t kPowers[] = {1ULL,
                                     10ULL,
                                     100ULL,
                                     1000ULL,
                                     10000ULL,
                                     100000ULL,
                                     1000000ULL,
                                     10000000ULL,
                                     100000000ULL,
                                     1000000000ULL,
                                     10000000000ULL,
                                     100000000000ULL,
                                     1000000000000ULL,
                                     10000000000000ULL,
                                     100000000000000ULL,
                                     1000000000000000ULL,
                                     10000000000000000ULL,
                                     100000000000000000ULL,
                                     1000000000000000000ULL};

// n rounded half up to `Kept` digits. The unit is a constant here, so that
// the division is a multiplication: a division by a variable costs more than
// all the rest of the writing.
template <int Kept>
std::uint64_t roundedTo(std::uint64_t n) {
    constexpr std::uint64_t unit = kPowers[DecimalForm::kMaxDigits - Kept];
    return (n + unit / 2) / unit;
}

template <std::size_t... Kept>
std::uint64_t roundedTo(std::uint64_t n, int kept, std::index_sequence<Kept...>) {
    std::uint64_t q = n;
    static_cast<void>(((kept == int(Kept) + 1 && (q = roundedTo<int(Kept) + 1>(n), true)) || ...));
    return q;
}

// The expansion rounded half up to `kept` digits (1 to 18): an integer of
// exactly `kept` digits, the exponent moved up by a carry.
std::uint64_t keptDigits(const EighteenDigits& expansion, int kept, int& exponent) {
    exponent = expansion.exponent;
    std::uint64_t q =
        roundedTo(expansion.n, kept, std::make_index_sequence<DecimalForm::kMaxDigits>());
    if (q == kPowers[kept]) {
        q = kPowers[kept - 1];
        ++exponent;
    }
    return q;
}

constexpr char kPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

}  // namespace

void NumberTextBuilder::putDigits(std::uint64_t value) {
    int count = 1;
    while (count < DecimalForm::kMaxDigits && value >= kPowers[count]) ++count;
    char* p = text_.data() + text_.size() + count;
    text_.resize(text_.size() + count);
    while (value >= 100) {
        p -= 2;
        std::memcpy(p, kPairs + 2 * (value % 100), 2);
        value /= 100;
    }
    if (value >= 10) {
        std::memcpy(p - 2, kPairs + 2 * value, 2);
    } else {
        p[-1] = char('0' + value);
    }
}

// The general writer's 15 digits straight from v, where provably those of
// the 18-digit expansion. For 1 <= |v| < 10^15, with 10^(E-1) <= |v| < 10^E,
// the expansion's exponent is E (n is |v| * 10^(18 - E), 10^17 <= n; should n
// round up to 10^18, the carry below gives what its exponent E + 1 gives),
// and its 15 digits are n / 1000 rounded half up, n / 1000 being within
// 10^15 * 2^-64 + 0.5 / 1000 < 6E-4 of |v| * 10^(15 - E); the power is exact
// (5^14 < 2^64), and p, that product in extended arithmetic, is within
// 10^15 * 2^-64 < 6E-5 of it. So where p lies more than 1E-3 from a tie,
// rounding p to the nearest integer gives the same 15 digits.
bool fifteenDigitsOf(long double v, std::uint64_t& q, int& exponent) {
    const long double magnitude = v < 0 ? -v : v;
    if (!(magnitude >= 1 && magnitude < kPowersOfTen[kGeneralPrecision])) return false;
    exponent = 1;
    while (magnitude >= kPowersOfTen[exponent]) ++exponent;
    constexpr long double kFarFromTie = 0.5L - 1e-3L;
    const long double p = magnitude * kPowersOfTen[kGeneralPrecision - exponent];
    const long double nearest = roundToNearestWhole(p);
    const long double off = p - nearest;
    if (off > kFarFromTie || off < -kFarFromTie) return false;
    q = wholeToUint64(nearest);
    if (q == kPowers[kGeneralPrecision]) {
        q = kPowers[kGeneralPrecision - 1];
        ++exponent;
    }
    return true;
}

// q without its trailing zeros (q > 0), taken off eight, four, two and one
// at a time; the digits left.
std::uint64_t withoutTrailingZeros(std::uint64_t q, int& digits) {
    digits = 1;
    while (digits < DecimalForm::kMaxDigits && q >= kPowers[digits]) ++digits;
    if (q % 100'000'000 == 0) q /= 100'000'000, digits -= 8;
    if (q % 10'000 == 0) q /= 10'000, digits -= 4;
    if (q % 100 == 0) q /= 100, digits -= 2;
    if (q % 10 == 0) q /= 10, digits -= 1;
    return q;
}

NumberText writeGeneral(long double v) {
    std::uint64_t q = 0;
    int e = 0;
    bool negative = v < 0;
    if (!fifteenDigitsOf(v, q, e)) {
        EighteenDigits expansion;
        if (!eighteenDigitsOf(v, expansion))
            return writeNumber(v, NumberForm::General, kGeneralPrecision, 0);
        q = keptDigits(expansion, kGeneralPrecision, e);
        negative = expansion.negative;
    }
    // The exponent form, also for a carry up to 10^15, is the general way's.
    if (e > kGeneralPrecision || e < -3)
        return writeNumber(v, NumberForm::General, kGeneralPrecision, 0);
    int count = 0;
    q = withoutTrailingZeros(q, count);
    NumberText text;
    NumberTextBuilder out(text);
    if (negative) out.put('-');
    if (e <= 0) {
        out.put('0');
        out.put(numberFormat().decimalSeparator);
        out.repeat('0', -e);
        out.putDigits(q);
    } else if (count <= e) {
        out.putDigits(q);
        out.repeat('0', e - count);
    } else {
        out.putDigits(q);
        out.insertBeforeLast(count - e, numberFormat().decimalSeparator);
    }
    return text;
}

// The fixed writer's value in tenths, straight from v, where that is provably
// what the 18-digit expansion gives. For 0.1 <= |v| < 10^9 (an exponent E of
// 0 to 9, so one decimal is within the ten digits kept) the expansion's digits
// kept are n rounded half up at the unit u = 10^(17 - E), n being |v| * 10^(18 - E)
// rounded to the 64-bit significand and then to a whole number. 10^(18 - E)
// is exact in the table (5^18 < 2^64), so n / u = |v| * 10 * (1 + a) + b with
// |a| <= 2^-64 and |b| <= 0.5 / u <= 5E-9: within 6E-9 of |v| * 10 < 10^10.
// p, the product |v| * 10 in extended arithmetic, is within 10^10 * 2^-64 <
// 6E-10 of it as well. So where the fraction of p lies more than 1E-7 from
// one half, rounding p to the nearest integer lands on the integer that
// rounding n / u half up does, and the text is that integer's digits with
// the separator before the last.
// Near a tie, nothing is said: the expansion decides.
bool tenthsOf(long double v, std::uint64_t& tenths) {
    const long double magnitude = v < 0 ? -v : v;
    if (!(magnitude >= 0.1L && magnitude < 1e9L)) return false;
    constexpr long double kFarFromTie = 0.5L - 1e-7L;
    const long double p = magnitude * 10;
    const long double nearest = roundToNearestWhole(p);  // ties to even, but ties go the other way
    const long double off = p - nearest;
    if (off > kFarFromTie || off < -kFarFromTie) return false;
    tenths = wholeToUint64(nearest);
    return true;
}

NumberText writeFixed(long double v) {
    std::uint64_t tenths = 0;
    if (tenthsOf(v, tenths)) {
        NumberText text;
        NumberTextBuilder out(text);
        if (v < 0) out.put('-');
        out.putDigits(tenths / 10);
        out.put(numberFormat().decimalSeparator);
        out.put(char('0' + tenths % 10));
        return text;
    }
    EighteenDigits expansion;
    const bool finite = eighteenDigitsOf(v, expansion);
    const int kept = std::min(expansion.exponent + kFixedDecimals, kFixedPrecision);
    if (!finite || kept < 1)
        return writeNumber(v, NumberForm::Fixed, kFixedPrecision, kFixedDecimals);
    int e = 0;
    const std::uint64_t q = keptDigits(expansion, kept, e);
    if (e > kFixedPrecision)
        return writeNumber(v, NumberForm::Fixed, kFixedPrecision, kFixedDecimals);
    // kept is e + 1 (one decimal) or, at ten integer digits or after a carry, e.
    const std::uint64_t whole = kept > e ? q / 10 : q;
    const char decimal = kept > e ? char('0' + q % 10) : '0';
    NumberText text;
    NumberTextBuilder out(text);
    if (expansion.negative) out.put('-');
    out.putDigits(whole);
    out.put(numberFormat().decimalSeparator);
    out.put(decimal);
    return text;
}

}  // namespace geocalc
