#include "charset/code_page.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

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
    EXPECT_EQ(ansiFromUtf8("a€b"),
              "a\x88"
              "b");                               // the euro sign exists in 1251
    EXPECT_EQ(ansiFromUtf8("a中b"), "a?b");       // CJK does not
    EXPECT_EQ(ansiFromUtf8("a\xFF\xC3"), "a??");  // malformed UTF-8
    EXPECT_EQ(utf8FromAnsi("\x98"), "?");         // a byte 1251 leaves undefined
}

TEST(CodePageTest, MalformedUtf8BecomesQuestionMarksNeverAscii) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"100\xE0\x80\x80garbage", "100???garbage"},  // overlong NUL
        {"100\xC0\xAE"
         "5",
         "100??5"},  // overlong "."
        {"100\xF0\x80\x80\xAE"
         "5",
         "100????5"},                                     // overlong "." in four bytes
        {"a\xED\xA0\x80z", "a???z"},                      // a UTF-16 surrogate
        {"a\xF4\x90\x80\x80z", "a????z"},                 // above U+10FFFF
        {"a\xF5\x80\x80\x80z", "a????z"},                 // a lead byte no sequence has
        {"a\x80\xBFz", "a??z"},                           // stray continuation bytes
        {"a\xD0z", "a?z"},                                // a sequence cut short
        {"\xDF\xBF\xE0\xA0\x80\xF0\x90\x80\x80", "???"},  // shortest forms, not in 1251
        {"\xD0\x96\xC2\xB0", "\xC6\xB0"},                 // "Ж°", well formed
    };
    for (const auto& [utf8, ansi] : cases) EXPECT_EQ(ansiFromUtf8(utf8), ansi) << utf8;
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
