// The number format read from the user's regional settings, and read again
// after they change (as the window does on WM_SETTINGCHANGE "intl").
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "numtext/format_settings.h"

namespace geocalc {
namespace {

class UserDecimalSeparator {
public:
    UserDecimalSeparator() {
        wchar_t text[16];
        const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, text, 16);
        saved_.assign(text, length > 0 ? std::size_t(length - 1) : 0);
    }
    ~UserDecimalSeparator() { set(saved_.c_str()); }
    static bool set(const wchar_t* separator) {
        return SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator) != 0;
    }

private:
    std::wstring saved_;
};

TEST(FormatSettingsWin32Test, ReloadingTakesTheChangedSeparator) {
    const UserDecimalSeparator restore;
    ASSERT_TRUE(UserDecimalSeparator::set(L","));
    loadNumberFormat();
    EXPECT_EQ(numberFormat().decimalSeparator, ',');
    ASSERT_TRUE(UserDecimalSeparator::set(L"."));
    loadNumberFormat();
    EXPECT_EQ(numberFormat().decimalSeparator, '.');
    // One that no single Windows-1251 byte holds keeps the default.
    ASSERT_TRUE(UserDecimalSeparator::set(L"\x066B"));
    loadNumberFormat();
    EXPECT_EQ(numberFormat().decimalSeparator, '.');
}

}  // namespace
}  // namespace geocalc
