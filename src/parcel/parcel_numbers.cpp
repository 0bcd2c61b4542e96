#include "parcel/parcel_numbers.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>

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

namespace {

// A plain decimal ([-]digits[S digits], no blanks, no exponent) with `digits`
// decimals, rounded half away from zero on its own digits: the usual
// coordinate, without arbitrary-precision numbers. Nothing for other texts.
std::optional<std::string> plainCoordinateText(std::string_view text, int digits, char separator) {
    const bool negative = !text.empty() && text[0] == '-';
    std::string_view rest = text.substr(negative ? 1 : 0);
    const std::size_t point = rest.find(separator);
    const std::string_view whole = rest.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : rest.substr(point + 1);
    auto allDigits = [](std::string_view part) {
        return std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (whole.empty() || !allDigits(whole) || !allDigits(fraction)) return std::nullopt;
    std::string shown = std::string(whole) + std::string(fraction.substr(0, std::size_t(digits)));
    shown.append(std::size_t(digits) - std::min(fraction.size(), std::size_t(digits)), '0');
    if (fraction.size() > std::size_t(digits) && fraction[std::size_t(digits)] >= '5') {
        std::size_t i = shown.size();
        while (i > 0 && shown[i - 1] == '9') shown[--i] = '0';
        if (i == 0) {
            shown.insert(shown.begin(), '1');
        } else {
            ++shown[i - 1];
        }
    }
    const std::size_t firstKept =
        std::min(shown.find_first_not_of('0'), shown.size() - std::size_t(digits) - 1);
    shown.erase(0, firstKept);  // no leading zeros, but one before the separator
    if (digits > 0) shown.insert(shown.size() - std::size_t(digits), 1, separator);
    const bool zero = shown.find_first_not_of(std::string("0") + separator) == std::string::npos;
    return negative && !zero ? "-" + shown : shown;
}

}  // namespace

std::string coordinateText(const std::string& text, int digits) {
    const char separator = numberFormat().decimalSeparator;
    if (auto plain = plainCoordinateText(text, digits, separator)) return *plain;
    const ExactDecimal exact = readExactDecimal(text, separator);
    ExactArea magnitude{boost::multiprecision::cpp_int(exact.digits.empty() ? "0" : exact.digits),
                        0};
    if (exact.exponent > 0) {
        magnitude.units *= powerOfTen(exact.exponent);
    } else {
        magnitude.decimals = -exact.exponent;
    }
    const std::string shown = magnitude.fixed(digits, separator);
    const bool zero = shown.find_first_not_of(std::string("0") + separator) == std::string::npos;
    return exact.negative && !zero ? "-" + shown : shown;
}

std::string areaText(const ExactArea& area, int digits) {
    return area.fixed(digits, numberFormat().decimalSeparator);
}

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
