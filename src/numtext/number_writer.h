// Writing extended values as decimal text under the current decimal separator.
#pragma once

#include <string>
#include <string_view>

#include "core/fixed_text.h"

namespace geocalc {

enum class NumberForm { General, Fixed };

// The text of a number, kept on the stack for the hot paths.
using NumberText = FixedText<48>;

// Writes v. The precision is clamped to 2..18 significant digits; rounding is
// half away from zero on the value's 18-digit decimal expansion.
//
// General form: at most `precision` significant digits, no trailing zeros, the
// separator only before a fraction; exponent form ("1E15", "1.5E-7") when the
// rounded value has more integer digits than the precision or is below 0.0001,
// its exponent padded to `digits` digits when digits <= 4.
//
// Fixed form: exactly `digits` decimals (at most 18), but never more than
// `precision` significant digits (1234567890.56 at 10 and 1 -> "1234567891.0");
// a value needing more integer digits than the precision is written in the
// general form ("1.23456789E12"). No thousands separator, no "-" on a value that
// rounds to zero (-0.04 at one decimal -> "0.0"). Infinity: "INF" / "-INF"; NaN: "NAN".
NumberText writeNumber(long double v, NumberForm form, int precision, int digits);

// The two writers the system uses.
inline constexpr int kGeneralPrecision = 15;
inline constexpr int kFixedPrecision = 10;
inline constexpr int kFixedDecimals = 1;

// General form, precision 15, digits 0: whole degrees, minutes, numeric field texts.
NumberText writeGeneral(long double v);
// Fixed form, precision 10, one decimal: seconds and side lengths.
NumberText writeFixed(long double v);

}  // namespace geocalc
