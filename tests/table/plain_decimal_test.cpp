#include "table/plain_decimal.h"

#include <gtest/gtest.h>

#include <random>

#include "numtext/decimal_reader.h"
#include "numtext/number_writer.h"
#include "test_support.h"

namespace geocalc {
namespace {

// The shortcut for plain stored numbers must give exactly what reading the
// number and writing it in the general form gives: for texts judged on their
// own and inside a record whose other bytes look like numbers too, short
// texts and texts over 32 bytes; zeros are frequent, to reach every rule on
// leading and trailing zeros.
TEST(PlainDecimalTest, AgreesWithReaderAndWriter) {
    std::mt19937 random(1234);
    auto digits = [&random](int count) {
        std::string s;
        for (int i = 0; i < count; ++i) s += random() % 3 == 0 ? '0' : char('0' + random() % 10);
        return s;
    };
    auto noise = [&random](int count) {
        static const char kBytes[] = "0123456789.-+ ";
        std::string s;
        for (int i = 0; i < count; ++i) s += kBytes[random() % (sizeof kBytes - 1)];
        return s;
    };
    int shortcuts = 0, asStoredTexts = 0;
    for (int i = 0; i < 200000; ++i) {
        std::string text(random() % 8 == 0 ? 16 + random() % 10 : random() % 3, ' ');
        if (random() % 4 == 0) text += random() % 2 ? '-' : '+';
        text += digits(int(random() % 17));
        if (random() % 3 != 0) text += '.' + digits(int(random() % 12));
        text += std::string(random() % 2, ' ');
        const std::string before = noise(int(random() % 20));
        const std::string record = before + text + noise(int(random() % 20));
        const std::string_view inRecord =
            std::string_view(record).substr(before.size(), text.size());
        for (char separator : {'.', ','}) {
            SeparatorGuard guard(separator);
            std::string fast = "before\t";
            char scratch[kPlainDecimalRoom];
            const std::optional<std::string_view> inPlace =
                plainDecimal(record, inRecord, separator, scratch);
            if (!appendPlainDecimal(text, separator, fast)) {
                ASSERT_EQ(fast, "before\t") << "'" << text << "'";
                ASSERT_FALSE(inPlace) << "'" << text << "' in '" << record << "'";
                continue;
            }
            ++shortcuts;
            const std::string expected = writeGeneral(readDecimal(text, '.')).str();
            ASSERT_EQ(fast, "before\t" + expected) << "'" << text << "'";
            ASSERT_TRUE(inPlace) << "'" << text << "' in '" << record << "'";
            ASSERT_EQ(*inPlace, expected) << "'" << text << "' in '" << record << "'";
            const bool asStored = inPlace->data() >= inRecord.data() &&
                                  inPlace->data() < inRecord.data() + inRecord.size();
            asStoredTexts += asStored;
            ASSERT_TRUE(asStored || inPlace->data() == scratch);
        }
    }
    EXPECT_GT(shortcuts, 100000);
    EXPECT_GT(asStoredTexts, 50000);
}

TEST(PlainDecimalTest, LeavesHardCasesToTheReader) {
    std::string out;
    for (const char* text : {"1234567890123456", "0.00001", "1e5", "", "  ", "1.2.3", "--1", "0x1",
                             "1 2", "-", ".", "+.", "1-", "- 1"}) {
        EXPECT_FALSE(appendPlainDecimal(text, '.', out)) << text;
    }
    EXPECT_EQ(out, "");
    EXPECT_TRUE(appendPlainDecimal("  -0.000 ", '.', out));
    EXPECT_EQ(out, "0");
    EXPECT_TRUE(appendPlainDecimal("007.250", ',', out));
    EXPECT_EQ(out, "07,25");
}

}  // namespace
}  // namespace geocalc
