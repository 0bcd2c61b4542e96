#include "numtext/decimal_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "test_support.h"

namespace geocalc {
namespace {

std::string invalid(const std::string& text) {
    return "'" + text + "' is not a valid floating point value";
}

struct ReadCase {
    std::string text;
    long double value;
};

TEST(DecimalReaderTest, ReadsTheAcceptedForms) {
    const std::vector<ReadCase> cases = {
        {"12.5", 12.5L},
        {"  -3.25e2  ", -325.0L},
        {"+7", 7.0L},
        {"1.", 1.0L},
        {".5", 0.5L},
        {".", 0.0L},
        {"1e", 1.0L},
        {"1E+", 1.0L},
        {"1E-2", 0.01L},
        {"0E4999", 0.0L},
        {"1E0500", 1e500L},
        {"6.02214076E23", 6.02214076e23L},
        {"0.1", 0.1L},
        {"1234567890123456789", 1234567890123456789.0L},
        // Twenty digits: the last step rounds as the extended arithmetic does.
        {"12345678901234567891", 12345678901234567891.0L},
        {std::string("5\0junk", 6), 5.0L},
    };
    for (char separator : {'.', ','}) {
        SeparatorGuard guard(separator);
        for (ReadCase c : cases) {
            std::replace(c.text.begin(), c.text.end(), '.', separator);
            SCOPED_TRACE(c.text);
            EXPECT_EQ(readDecimal(c.text), c.value);
        }
        const long double minusZero = readDecimal(std::string("-") + separator);
        EXPECT_EQ(minusZero, 0.0L);
        EXPECT_TRUE(std::signbit(minusZero));
    }
    EXPECT_EQ(readDecimal("1E-4999"), 0.0L);  // below the normal range: no error
}

TEST(DecimalReaderTest, RefusesEverythingElseQuotingTheWholeText) {
    const std::vector<std::string> texts = {
        "",       " ",   "-",    "+",     "E5",
        "+-1",    "- 5", "1,5",  "1 000", "1 E5",
        "\t1",    "INF", "NAN",  "0x10",  "1E4999",
        "1E5000", "12a", "1..2", "1e5.5", "\xEF\xE5\xF2\xF0",  // Cyrillic
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        EXPECT_ERROR(readDecimal(text), invalid(text));
    }
}

TEST(DecimalReaderTest, AcceptsOnlyTheCurrentSeparator) {
    SeparatorGuard comma(',');
    EXPECT_EQ(readDecimal("1,5"), 1.5L);
    EXPECT_EQ(readDecimal("-3,25e2"), -325.0L);
    EXPECT_ERROR(readDecimal("1.5"), invalid("1.5"));
}

TEST(DecimalReaderTest, KeepsTheCallersModeAndLeavesNoFaultFlagRaised) {
    std::fesetround(FE_UPWARD);
    const long double upward = readDecimal("0.1");
    EXPECT_ERROR(readDecimal("1E4999"), invalid("1E4999"));
    EXPECT_EQ(std::fegetround(), FE_UPWARD);
    EXPECT_EQ(std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW), 0);
    std::fesetround(FE_TONEAREST);

    EXPECT_EQ(upward, readDecimal("0.1"));  // read to nearest whatever the caller's mode
    readDecimal("1E-4999");
    EXPECT_EQ(std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW), 0);
}

// Texts of up to 19 digits, as tables and coordinate files hold them, take
// the short way: their digits are exact in 64 bits and the power of ten
// exact too, so the one division rounds the exact quotient, which is what
// the C library's correctly rounded reader gives.
TEST(DecimalReaderTest, ShortTextsReadToTheNearestExtendedValue) {
    std::mt19937_64 random(20261210);
    std::uniform_int_distribution<int> digitCount(1, 19);
    for (int i = 0; i < 200'000; ++i) {
        std::string text = random() % 2 ? "-" : "";
        const int digits = digitCount(random);
        const int point = int(random() % std::uint64_t(digits + 1));  // digits before the separator
        for (int d = 0; d < digits; ++d) {
            if (d == point) text += '.';
            text += char('0' + random() % 10);
        }
        SCOPED_TRACE(text);
        EXPECT_EQ(readDecimal(text), std::strtold(text.c_str(), nullptr));
    }
}

}  // namespace
}  // namespace geocalc
