#include "charset/code_page.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace geocalc {
namespace {

TEST(CodePageTest, AnsiTextsRoundTripThroughUtf8) {
    const std::string ansi = "\xF2\xEE\xF7\xEA\xE0 \xB0 A1";  // "точка ° A1"
    const std::string utf8 = "точка ° A1";
    EXPECT_EQ(utf8FromAnsi(ansi), utf8);
    EXPECT_EQ(ansiFromUtf8(utf8), ansi);
}

TEST(CodePageTest, WhatTheAnsiPageLacksBecomesAQuestionMark) {
    EXPECT_EQ(ansiFromUtf8("a€b"), "a\x88" "b");    // the euro sign exists in 1251
    EXPECT_EQ(ansiFromUtf8("a中b"), "a?b");          // CJK does not
    EXPECT_EQ(ansiFromUtf8("a\xFF\xC3"), "a??");     // malformed UTF-8
    EXPECT_EQ(utf8FromAnsi("\x98"), "?");            // a byte 1251 leaves undefined
}

TEST(CodePageTest, OtherPagesMapThroughUnicode) {
    const CodePage& oem = CodePage::named("CP866");
    EXPECT_EQ(oem.toUnicode(0xAF), U'п');
    EXPECT_EQ(ansiCodePage().fromUnicode(oem.toUnicode(0xAF)), 0xEF);
    EXPECT_EQ(ansiCodePage().fromUnicode(U'Ω'), -1);
    EXPECT_ERROR(CodePage::named("NO-SUCH-PAGE"), "Unknown code page NO-SUCH-PAGE");
}

}  // namespace
}  // namespace geocalc
