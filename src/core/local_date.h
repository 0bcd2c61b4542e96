// The calendar day in the local time zone, the same on every system.
#pragma once

#include <ctime>

namespace geocalc {

std::tm localDate(std::time_t time);

}  // namespace geocalc
