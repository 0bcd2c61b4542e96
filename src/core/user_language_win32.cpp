#include <windows.h>

#include "core/user_language.h"

namespace geocalc {

Language userLanguage() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_RUSSIAN ? Language::Russian
                                                                     : Language::English;
}

}  // namespace geocalc
