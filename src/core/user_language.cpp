#include "core/user_language.h"

namespace geocalc {

Language languageOfLocaleName(std::string_view name) {
    const bool russian =
        name.substr(0, 2) == "ru" && (name.size() == 2 || name.find_first_of("_-.@", 2) == 2);
    return russian ? Language::Russian : Language::English;
}

}  // namespace geocalc
