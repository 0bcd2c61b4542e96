#include "core/local_date.h"

namespace geocalc {

std::tm localDate(std::time_t time) {
    std::tm date{};
#ifdef _WIN32
    localtime_s(&date, &time);
#else
    localtime_r(&time, &date);
#endif
    return date;
}

}  // namespace geocalc
