#include "numtext/format_settings.h"

namespace geocalc {

namespace {

NumberFormat current;

}  // namespace

const NumberFormat& numberFormat() { return current; }

void loadNumberFormat() { current = userNumberFormat(); }

void setDecimalSeparator(char separator) { current.decimalSeparator = separator; }

}  // namespace geocalc
