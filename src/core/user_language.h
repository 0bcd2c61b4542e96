// The language the user reads: the documents geocalc writes for people
// follow it. Messages about failures stay English.
#pragma once

#include <string_view>

namespace geocalc {

enum class Language { English, Russian };

// On Windows the user's UI language; elsewhere the locale the environment
// names for messages (LC_ALL, else LC_MESSAGES, else LANG). Russian where it
// is Russian, English otherwise.
Language userLanguage();

// "ru", "ru_RU.UTF-8", "ru-RU": Russian; anything else English.
Language languageOfLocaleName(std::string_view name);

}  // namespace geocalc
