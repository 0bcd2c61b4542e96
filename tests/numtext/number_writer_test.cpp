#include "numtext/number_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "test_support.h"

namespace geocalc {
namespace {

struct Case {
    long double value;
    std::string text;  // with "." as the separator
};

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Values are doubles, as the system hands them to the writers.
const std::vector<Case> kGeneralCases = {
    {12.0, "12"},
    {0.5, "0.5"},
    {0.1 + 0.2, "0.3"},
    {1.0 / 3, "0.333333333333333"},
    {2.0 / 3, "0.666666666666667"},
    {100.0 / 3, "33.3333333333333"},
    {0.0001, "0.0001"},
    {0.00012345, "0.00012345"},
    {0.00001, "1E-5"},
    {0.000001, "1E-6"},
    {-0.0000001, "-1E-7"},
    {123456789012345.0, "123456789012345"},
    {1e15, "1E15"},
    {999999999999999.9, "1E15"},
    {1234567890123456789.0, "1.23456789012346E18"},
    {-1.5, "-1.5"},
    {0.0, "0"},
    {-0.0, "0"},
    {std::numeric_limits<double>::max(), "1.79769313486232E308"},
    {std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
    {kInf, "INF"},
    {-kInf, "-INF"},
    {kNaN, "NAN"},
    {-kNaN, "NAN"},
    {360.0, "360"},
    {1e300L * 1e300L, "1E600"},  // beyond the double range, still extended
};

const std::vector<Case> kFixedCases = {
    {0.0, "0.0"},
    {-0.0, "0.0"},
    {100.0, "100.0"},
    {141.4213562373095, "141.4"},
    {2.25, "2.3"},
    {0.25, "0.3"},
    {0.35, "0.3"},
    {0.15, "0.1"},
    {24.45, "24.4"},
    {59.96, "60.0"},
    {-0.04, "0.0"},
    {-0.004, "0.0"},
    {-0.05, "-0.1"},
    {123456789.06, "123456789.1"},
    {999999999.95, "1000000000.0"},
    {1234567890.06, "1234567890.0"},
    {1234567890.56, "1234567891.0"},
    {9999999999.94, "1E10"},
    {1e10, "1E10"},
    {12345678901.5, "1.23456789E10"},
    {1234567890123.4, "1.23456789E12"},
    {kInf, "INF"},
    {-kInf, "-INF"},
    {kNaN, "NAN"},
    {0.04, "0.0"},
    {0.05, "0.1"},
    {7.0, "7.0"},
};

std::string withSeparator(std::string text, char separator) {
    std::replace(text.begin(), text.end(), '.', separator);
    return text;
}

void expectAll(const std::vector<Case>& cases, NumberText (*writer)(long double), char separator) {
    SeparatorGuard guard(separator);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(writer(c.value).str(), withSeparator(c.text, separator));
    }
}

TEST(NumberWriterTest, GeneralWriterWithFullStop) { expectAll(kGeneralCases, writeGeneral, '.'); }
TEST(NumberWriterTest, GeneralWriterWithComma) { expectAll(kGeneralCases, writeGeneral, ','); }
TEST(NumberWriterTest, FixedWriterWithFullStop) { expectAll(kFixedCases, writeFixed, '.'); }
TEST(NumberWriterTest, FixedWriterWithComma) { expectAll(kFixedCases, writeFixed, ','); }

TEST(NumberWriterTest, PrecisionAndDigitsOutsideTheTwoWriters) {
    struct Custom {
        long double value;
        NumberForm form;
        int precision;
        int digits;
        std::string text;
    };
    const std::vector<Custom> cases = {
        {3.14159, NumberForm::Fixed, 10, 3, "3.142"},
        {0.001234, NumberForm::Fixed, 10, 5, "0.00123"},
        {12.5, NumberForm::Fixed, 10, 0, "13"},
        {0.5, NumberForm::Fixed, 10, 0, "1"},
        {1.0 / 3, NumberForm::Fixed, 18, 20, "0.333333333333333315"},
        {123.456, NumberForm::General, 1, 0, "1.2E2"},                  // precision clamped to 2
        {1.0 / 3, NumberForm::General, 30, 0, "0.333333333333333315"},  // clamped to 18
        {0.00001, NumberForm::General, 15, 3, "1E-005"},  // exponent padded to 3 digits
        {1e15, NumberForm::General, 15, 5, "1E15"},       // no padding above 4
        {1234.5, NumberForm::General, 4, 0, "1235"},
        {12345.0, NumberForm::General, 4, 0, "1.235E4"},
    };
    for (const Custom& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(writeNumber(c.value, c.form, c.precision, c.digits).str(), c.text);
    }
}

}  // namespace
}  // namespace geocalc
