// Numbers as the parcel's formats write them.
#pragma once

#include <string>

#include "parcel/exact_area.h"

namespace geocalc {

// With `digits` decimals and the run's decimal separator, for people.
std::string decimalsText(double value, int digits);

// A coordinate's text (in the run's decimal form) with `digits` decimals,
// rounded half away from zero from the exact decimal it writes, or padded
// with zeros: as catalogues print every coordinate alike.
std::string coordinateText(const std::string& text, int digits);

// An exact area with `digits` decimals, rounded half away from zero, and the
// run's decimal separator.
std::string areaText(const ExactArea& area, int digits);

// The whole part's digits in groups of three, a space between them, as
// reports print large numbers: "215239,5" gives "215 239,5".
std::string groupedThousands(std::string text);

// The shortest plain decimal text (no exponent) that reads back to the same
// double, always with ".", for machines (drawing coordinates, DXF).
std::string machineNumber(double value);

}  // namespace geocalc
