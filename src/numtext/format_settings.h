// The process-wide number format settings: the decimal separator that every
// reading and writing of a number uses at the moment of the call.
#pragma once

#include <string>

namespace geocalc {

struct NumberFormat {
    char decimalSeparator = '.';
    // strftime patterns of the user's LC_TIME locale, for date and time fields.
    std::string shortDateFormat = "%m/%d/%y";
    std::string longTimeFormat = "%H:%M:%S";
};

namespace detail {
extern NumberFormat currentNumberFormat;
}

// Inline: every number written reads the separator.
inline const NumberFormat& numberFormat() { return detail::currentNumberFormat; }

// The user's settings as the system keeps them: the LC_NUMERIC and LC_TIME
// locales, or the regional settings on Windows.
NumberFormat userNumberFormat();

// Loads the settings from the user's LC_NUMERIC and LC_TIME locales (LC_ALL,
// LC_NUMERIC / LC_TIME, LANG), on Windows from the user's regional settings.
// A separator that is not exactly one byte, or a locale that cannot be
// loaded, gives the defaults "." and ",". Called at start-up and whenever the
// desktop reports a change of the regional settings.
void loadNumberFormat();

// For the command line's --decimal-separator and for tests.
void setDecimalSeparator(char separator);

}  // namespace geocalc
