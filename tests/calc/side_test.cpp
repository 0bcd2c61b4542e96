#include "calc/side.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <string>
#include <vector>

#include "test_support.h"

namespace geocalc {
namespace {

std::string line(const std::string& d, const std::string& m, const std::string& s,
                 const std::string& length) {
    return d + kDegreeSign + m + "'" + s + "\" " + length;
}

struct SideCase {
    const char* what;
    const char *xs, *ys, *xe, *ye;  // start point, end point
    std::string expected;
};

// The side from (xs, ys) to (xe, ye); the core takes X end, X start, Y end, Y start.
std::string side(const SideCase& c) { return computeSide(c.xe, c.xs, c.ye, c.ys); }

TEST(SideTest, DirectionAndLengthInEveryQuadrant) {
    const std::vector<SideCase> cases = {
        {"north-east", "0", "0", "100", "100", line("45", "0", "0.0", "141.4")},
        {"south-east", "0", "0", "-100", "100", line("135", "0", "0.0", "141.4")},
        {"south-west", "0", "0", "-100", "-100", line("225", "0", "0.0", "141.4")},
        {"north-west", "0", "0", "100", "-100", line("315", "0", "0.0", "141.4")},
        {"along +X", "0", "0", "100", "0", line("0", "0", "0.0", "100.0")},
        {"along -X", "0", "0", "-100", "0", line("180", "0", "0.0", "100.0")},
        {"along +Y", "0", "0", "0", "100", line("90", "0", "0.0", "100.0")},
        {"along -Y", "6000597", "486958", "6000597", "486211", line("270", "0", "0.0", "747.0")},
        {"along -Y, equal X only in extended", "1E4000", "1", "1E4000", "0",
         line("270", "0", "0.0", "1.0")},
        {"123.456789 degrees", "0", "0", "-551.3079332146716", "834.3018415265348",
         line("123", "27", "24.4", "1000.0")},
        {"real coordinates", "6123456.78", "2345678.91", "6123501.02", "2345711.33",
         line("36", "14", "5.1", "54.8")},
        {"ten-digit length", "0", "0", "1234567890.56", "0", line("0", "0", "0.0", "1234567891.0")},
        {"length beyond ten digits", "0", "0", "1234567890123.4", "0",
         line("0", "0", "0.0", "1.23456789E12")},
    };
    for (const SideCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(side(c), c.expected);
    }
}

TEST(SideTest, SecondsNeverShowSixty) {
    const std::vector<SideCase> cases = {
        // 10.99999 degrees: 10 degrees 59 minutes 59.964 seconds, written as 11 degrees.
        {"a hair below a whole degree", "0", "0", "981.6272167501011", "190.8088240502781",
         line("11", "0", "0.0", "1000.0")},
        {"a hair below 360 degrees", "0", "0", "1", "-0.000000001", line("0", "0", "0.0", "1.0")},
        {"a tiny negative arctangent", "0", "0", "1", "-1E-17", line("0", "0", "0.0", "1.0")},
    };
    for (const SideCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(side(c), c.expected);
    }
}

TEST(SideTest, CommaSeparatorReadsAndWritesWithComma) {
    SeparatorGuard comma(',');
    EXPECT_EQ(computeSide("100,0", "0", "-100", "0,0"), line("315", "0", "0,0", "141,4"));
    EXPECT_EQ(computeSide("0", "0", "100", "0"), line("90", "0", "0,0", "100,0"));
    EXPECT_ERROR(computeSide("100.0", "0", "-100", "0"),
                 "'100.0' is not a valid floating point value");
}

TEST(SideTest, FailuresInTheOrderOfTheSteps) {
    struct Failure {
        const char *xe, *xs, *ye, *ys;
        std::string message;
    };
    const std::vector<Failure> cases = {
        {"a", "b", "c", "d", "'a' is not a valid floating point value"},
        {"1", "b", "c", "d", "'b' is not a valid floating point value"},
        {"1", "2", "c", "d", "'c' is not a valid floating point value"},
        {"1", "2", "3", " d ", "' d ' is not a valid floating point value"},
        {"5", "5", "7", "7", "Invalid floating point operation"},
        {"1E400", "0", "0", "0", "Floating point overflow"},
        {"0", "0", "-1E400", "x", "'x' is not a valid floating point value"},
        {"0", "0", "-1E400", "0", "Floating point overflow"},
        {"1E308", "-1E308", "0", "0", "Floating point overflow"},
        {"1.5E308", "0", "1.5E308", "0", "Floating point overflow"},  // the length
        {"0", "0", "1E400", "0", "Floating point overflow"},          // along Y, dY beyond doubles
        {"0", "0", "1.5E308", "-1.5E308", "Floating point overflow"},
    };
    for (const Failure& f : cases) {
        SCOPED_TRACE(f.message);
        EXPECT_ERROR(computeSide(f.xe, f.xs, f.ye, f.ys), f.message);
    }
}

TEST(SideTest, LeavesNoFlagRaised) {
    std::feclearexcept(FE_ALL_EXCEPT);
    computeSide("100", "0", "100", "0");
    computeSide("5", "5", "1", "2");  // along Y: no quotient formed
    EXPECT_ERROR(computeSide("5", "5", "7", "7"), "Invalid floating point operation");
    EXPECT_EQ(std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW), 0);
}

}  // namespace
}  // namespace geocalc
