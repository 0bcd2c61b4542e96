#include "form/application_title.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace geocalc {
namespace {

TEST(ApplicationTitleTest, ExecutableNameGivesTheTitle) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/usr/bin/SURVEY", "Survey"},
        {"/opt/Geo.Calc", "Geo"},
        {"build/geocalc", "geocalc"},
        {"ГЕОКАЛЬК.bin", "Геокальк"},
        {"x", "x"},
        {"ÉTUDE", "Étude"},
        {"ΓΕΩ", "Γεω"},
        {"ЁЖИК", "Ёжик"},
        {"", ""},
        {".hidden", ""},
    };
    for (const auto& [path, title] : cases) EXPECT_EQ(applicationTitle(path), title) << path;
}

}  // namespace
}  // namespace geocalc
