#include "parcel/exact_area.h"

#include <cmath>
#include <limits>

namespace geocalc {

namespace {

using boost::multiprecision::cpp_int;

constexpr int kSignificandBits = 53;

}  // namespace

cpp_int powerOfTen(int n) { return boost::multiprecision::pow(cpp_int(10), unsigned(n)); }

std::string ExactArea::fixed(int digits, char separator) const {
    cpp_int scaled;
    if (digits >= decimals) {
        scaled = units * powerOfTen(digits - decimals);
    } else {
        const cpp_int divisor = powerOfTen(decimals - digits);
        cpp_int remainder;
        boost::multiprecision::divide_qr(units, divisor, scaled, remainder);
        if (2 * remainder >= divisor) ++scaled;
    }
    std::string text = scaled.str();
    if (digits == 0) return text;
    if (text.size() <= std::size_t(digits))
        text.insert(0, std::size_t(digits) + 1 - text.size(), '0');
    text.insert(text.size() - std::size_t(digits), 1, separator);
    return text;
}

double ExactArea::nearest() const { return nearestDouble(units, powerOfTen(decimals)); }

// The quotient is scaled by a power of two until it holds the significand and
// two more bits; those and whether anything remained decide the rounding.
double nearestDouble(const cpp_int& num, const cpp_int& den) {
    if (num == 0) return 0;
    int shift = kSignificandBits + 1 - int(boost::multiprecision::msb(num)) +
                int(boost::multiprecision::msb(den));
    cpp_int quotient, remainder;
    for (;;) {
        const cpp_int scaledNum = shift >= 0 ? cpp_int(num << shift) : cpp_int(num >> -shift);
        const cpp_int lost = shift >= 0 ? cpp_int(0) : cpp_int(num - (scaledNum << -shift));
        boost::multiprecision::divide_qr(scaledNum, den, quotient, remainder);
        remainder += lost;  // anything shifted out counts as a remainder
        if (boost::multiprecision::msb(quotient) >= unsigned(kSignificandBits + 1)) break;
        ++shift;
    }
    const bool sticky = remainder != 0 || (quotient & 1) != 0;
    cpp_int significand = quotient >> 2;
    const bool half = ((quotient >> 1) & 1) != 0;
    if (half && (sticky || (significand & 1) != 0)) ++significand;
    const double value = std::ldexp(significand.convert_to<double>(), 2 - shift);
    return std::isfinite(value) ? value : std::numeric_limits<double>::infinity();
}

}  // namespace geocalc
