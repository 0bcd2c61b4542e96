#include "parcel/parcel_numbers.h"

#include <charconv>

#include "numtext/exact_decimal.h"
#include "numtext/format_settings.h"
#include "numtext/number_writer.h"

namespace geocalc {

namespace {

constexpr int kMostDigits = 18;

}  // namespace

std::string decimalsText(double value, int digits) {
    return writeNumber(value, NumberForm::Fixed, kMostDigits, digits).str();
}

std::string coordinateText(const std::string& text, int digits) {
    const char separator = numberFormat().decimalSeparator;
    const ExactDecimal exact = readExactDecimal(text, separator);
    ExactArea magnitude{boost::multiprecision::cpp_int(exact.digits.empty() ? "0" : exact.digits), 0};
    if (exact.exponent > 0) {
        magnitude.units *= powerOfTen(exact.exponent);
    } else {
        magnitude.decimals = -exact.exponent;
    }
    const std::string shown = magnitude.fixed(digits, separator);
    const bool zero = shown.find_first_not_of(std::string("0") + separator) == std::string::npos;
    return exact.negative && !zero ? "-" + shown : shown;
}

std::string areaText(const ExactArea& area, int digits) { return area.fixed(digits, numberFormat().decimalSeparator); }

std::string groupedThousands(std::string text) {
    const std::size_t digitsStart = text.find_first_of("0123456789");
    if (digitsStart == std::string::npos) return text;
    std::size_t wholeEnd = text.find_first_not_of("0123456789", digitsStart);
    if (wholeEnd == std::string::npos) wholeEnd = text.size();
    for (std::size_t at = wholeEnd; at > digitsStart + 3; at -= 3) text.insert(at - 3, 1, ' ');
    return text;
}

std::string machineNumber(double value) {
    char text[400];  // room for any double in fixed notation
    return std::string(
        text, std::to_chars(text, text + sizeof text, value, std::chars_format::fixed).ptr);
}

}  // namespace geocalc
