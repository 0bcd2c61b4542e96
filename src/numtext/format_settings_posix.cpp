#include <langinfo.h>
#include <locale.h>

#include <cstring>

#include "numtext/format_settings.h"

namespace geocalc {

namespace {

char singleByteOr(const char* text, char fallback) {
    return text != nullptr && std::strlen(text) == 1 ? text[0] : fallback;
}

}  // namespace

NumberFormat userNumberFormat() {
    NumberFormat loaded;
    if (locale_t user = newlocale(LC_NUMERIC_MASK, "", locale_t{}); user != locale_t{}) {
        loaded.decimalSeparator = singleByteOr(nl_langinfo_l(RADIXCHAR, user), '.');
        freelocale(user);
    }
    if (locale_t user = newlocale(LC_TIME_MASK, "", locale_t{}); user != locale_t{}) {
        loaded.shortDateFormat = nl_langinfo_l(D_FMT, user);
        loaded.longTimeFormat = nl_langinfo_l(T_FMT, user);
        freelocale(user);
    }
    return loaded;
}

}  // namespace geocalc
