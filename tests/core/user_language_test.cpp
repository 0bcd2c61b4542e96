// Which locale names mean Russian documents.
#include "core/user_language.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace geocalc {
namespace {

TEST(UserLanguageTest, RussianLocaleNamesAndNothingElse) {
    const std::vector<std::pair<std::string, Language>> cases = {
        {"ru", Language::Russian},
        {"ru_RU.UTF-8", Language::Russian},
        {"ru_UA", Language::Russian},
        {"ru-RU", Language::Russian},
        {"ru.KOI8-R", Language::Russian},
        {"ru@latin", Language::Russian},
        {"en_US.UTF-8", Language::English},
        {"C", Language::English},
        {"", Language::English},
        {"run", Language::English},
        {"uk_UA", Language::English},
        {"r", Language::English},
    };
    for (const auto& [name, language] : cases)
        EXPECT_EQ(languageOfLocaleName(name), language) << name;
}

}  // namespace
}  // namespace geocalc
