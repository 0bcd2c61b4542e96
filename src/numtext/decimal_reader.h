// Reading decimal texts as extended values.
#pragma once

#include <string_view>

namespace geocalc {

// Reads a text of the form [blanks][+|-]digits[S digits][(E|e)[+|-]digits][blanks],
// where S is the current decimal separator and blanks are spaces (0x20) only.
// At least one digit or the separator must stand before the exponent ("." and
// "-." read as 0 and -0); the exponent may have no digits ("1e" is 1) and stops
// taking digits once it reaches 500. The text ends at its end or at a NUL byte.
//
// Fails with geocalc::Error "'<text>' is not a valid floating point value",
// the text quoted exactly as given, on any other syntax and on a value beyond
// the extended range. Values beyond the double range (1E400) read fine; values
// below the normal extended range read as denormals or 0.
//
// Runs with all x87 exceptions masked at 64-bit precision, to nearest; gives
// the caller back its control word, with no fault flag (invalid, division by
// zero, overflow) raised.
long double readDecimal(std::string_view text);

// The same with the separator given, for texts stored in files, whose
// separator is "." whatever the user's settings.
long double readDecimal(std::string_view text, char separator);

// For a batch that already runs under the reader's control word
// (x87::Scope): reads without looking at the control word or the fault
// flags, which the caller tests once for the whole batch (a value beyond the
// extended range leaves one raised). False for a text of any other form.
bool readDecimalInScope(std::string_view text, char separator, long double& value);

}  // namespace geocalc
