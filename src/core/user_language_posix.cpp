#include <cstdlib>

#include "core/user_language.h"

namespace geocalc {

Language userLanguage() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return languageOfLocaleName(value);
    }
    return Language::English;
}

}  // namespace geocalc
