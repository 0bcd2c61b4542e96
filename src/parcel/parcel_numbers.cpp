#include "parcel/parcel_numbers.h"

#include <charconv>

#include "numtext/number_writer.h"

namespace geocalc {

namespace {

constexpr int kMostDigits = 18;

}  // namespace

std::string decimalsText(double value, int digits) {
    return writeNumber(value, NumberForm::Fixed, kMostDigits, digits).str();
}

std::string machineNumber(double value) {
    char text[400];  // room for any double in fixed notation
    return std::string(
        text, std::to_chars(text, text + sizeof text, value, std::chars_format::fixed).ptr);
}

}  // namespace geocalc
