// Numbers as the parcel's formats write them.
#pragma once

#include <string>

namespace geocalc {

// With `digits` decimals and the run's decimal separator, for people.
std::string decimalsText(double value, int digits);

// The shortest plain decimal text (no exponent) that reads back to the same
// double, always with ".", for machines (drawing coordinates, DXF).
std::string machineNumber(double value);

}  // namespace geocalc
