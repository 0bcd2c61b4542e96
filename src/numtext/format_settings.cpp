#include "numtext/format_settings.h"

namespace geocalc {

NumberFormat detail::currentNumberFormat;

void loadNumberFormat() { detail::currentNumberFormat = userNumberFormat(); }

void setDecimalSeparator(char separator) {
    detail::currentNumberFormat.decimalSeparator = separator;
}

}  // namespace geocalc
