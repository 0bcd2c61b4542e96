#include "table/field_text.h"

#include <gtest/gtest.h>

#include <random>

#include "numtext/decimal_reader.h"
#include "numtext/number_writer.h"
#include "test_support.h"

namespace geocalc {
namespace {

// The shortcut for plain stored numbers must give exactly what reading the
// number and writing it in the general form gives.
TEST(FieldTextTest, PlainNumberShortcutAgreesWithReaderAndWriter) {
    std::mt19937 random(1234);
    auto digits = [&random](int count) {
        std::string s;
        for (int i = 0; i < count; ++i) s += char('0' + random() % 10);
        return s;
    };
    int shortcuts = 0;
    for (int i = 0; i < 200000; ++i) {
        std::string text(random() % 3, ' ');
        if (random() % 4 == 0) text += random() % 2 ? '-' : '+';
        text += digits(int(random() % 17));
        if (random() % 3 != 0) text += '.' + digits(int(random() % 12));
        text += std::string(random() % 2, ' ');
        for (char separator : {'.', ','}) {
            SeparatorGuard guard(separator);
            std::string fast;
            if (!plainDecimalText(text, separator, fast)) continue;
            ++shortcuts;
            ASSERT_EQ(fast, writeGeneral(readDecimal(text, '.')).str()) << "'" << text << "'";
        }
    }
    EXPECT_GT(shortcuts, 100000);
}

TEST(FieldTextTest, ShortcutLeavesHardCasesToTheReader) {
    std::string out;
    for (const char* text : {"1234567890123456", "0.00001", "1e5", "", "  ", "1.2.3", "--1", "0x1"}) {
        EXPECT_FALSE(plainDecimalText(text, '.', out)) << text;
    }
    EXPECT_TRUE(plainDecimalText("  -0.000 ", '.', out));
    EXPECT_EQ(out, "0");
    EXPECT_TRUE(plainDecimalText("007.250", ',', out));
    EXPECT_EQ(out, "7,25");
}

}  // namespace
}  // namespace geocalc
