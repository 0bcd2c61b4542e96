#include "numtext/format_settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "numtext/number_writer.h"

namespace geocalc {
namespace {

namespace fs = std::filesystem;

// Compiles the locales the tests need into a private folder and points glibc
// at it, so the test does not depend on the machine's installed locales.
class FormatSettingsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = fs::temp_directory_path() / ("geocalc-locales-" + std::to_string(getpid()));
        fs::create_directories(folder_);
        for (const char* name : {"ru_RU", "ps_AF"}) {
            const std::string command = std::string("localedef -c -i ") + name + " -f UTF-8 " +
                                        (folder_ / (std::string(name) + ".UTF-8")).string() +
                                        " >/dev/null 2>&1";
            (void)std::system(command.c_str());
        }
        setenv("LOCPATH", folder_.c_str(), 1);
    }
    static void TearDownTestSuite() {
        fs::remove_all(folder_);
        unsetenv("LOCPATH");
        unsetenv("LC_ALL");
        setDecimalSeparator('.');
    }
    static void useLocale(const char* name) {
        ASSERT_TRUE(fs::exists(folder_ / name) || std::string(name) == "C") << name;
        setenv("LC_ALL", name, 1);
        loadNumberFormat();
    }
    static fs::path folder_;
};

fs::path FormatSettingsTest::folder_;

TEST_F(FormatSettingsTest, SeparatorComesFromTheLocaleAndChangesLaterConversions) {
    useLocale("ru_RU.UTF-8");
    EXPECT_EQ(numberFormat().decimalSeparator, ',');
    EXPECT_EQ(writeFixed(141.4213562373095).str(), "141,4");

    useLocale("C");
    EXPECT_EQ(numberFormat().decimalSeparator, '.');
    EXPECT_EQ(writeFixed(141.4213562373095).str(), "141.4");
}

TEST_F(FormatSettingsTest, MultiByteOrMissingSeparatorsFallBackToDefaults) {
    useLocale("ps_AF.UTF-8");  // decimal separator U+066B is two bytes
    EXPECT_EQ(numberFormat().decimalSeparator, '.');

    setDecimalSeparator(',');
    setenv("LC_ALL", "xx_NOWHERE.UTF-8", 1);
    loadNumberFormat();
    EXPECT_EQ(numberFormat().decimalSeparator, '.');
}

}  // namespace
}  // namespace geocalc
