#include "cli/inverse_command.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "cli/cli_io.h"
#include "cli/line_reader.h"
#include "test_support.h"

namespace geocalc::cli {
namespace {

struct Outcome {
    int exitCode;
    std::string out, err;
};

Outcome inverse(std::vector<std::string> args, const std::string& input = "") {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int code = runInverse(args, in, out, err);
    return {code, out.str(), err.str()};
}

TEST(InverseCommandTest, PrintsTheSideLineInUtf8) {
    const Outcome run = inverse({"0", "0", "100", "-100"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "315°0'0.0\" 141.4\n");
}

TEST(InverseCommandTest, FailureGoesToStandardErrorWithThePeriodRule) {
    Outcome run = inverse({"5", "1", "5", "1"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Invalid floating point operation.\n");

    run = inverse({"0", "0", "точка", "1"});
    EXPECT_EQ(run.err, "'точка' is not a valid floating point value.\n");
}

TEST(InverseCommandTest, ReadsSidesFromInputAndGoesOnAfterAFailure) {
    const Outcome run = inverse({}, "0 0 100 100\r\n\n1 1 1 1\n0 0 -100\n0\t0  -100 0\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out,
              "45°0'0.0\" 141.4\n"
              "\n"
              "Invalid floating point operation.\n"
              "Expected four coordinates XS YS XE YE, got 3.\n"
              "180°0'0.0\" 100.0\n");
    EXPECT_EQ(inverse({}, "0 0 1 0\n").exitCode, 0);
}

TEST(InverseCommandTest, ALineHoldingANulByteFailsAsAWhole) {
    static constexpr char kInput[] =
        "0 0 1 0\n0 0 1\0"
        "00 0\n\n0 0 0 1\n";
    const Outcome run = inverse({}, std::string(kInput, sizeof kInput - 1));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "0°0'0.0\" 1.0\nLine 2 holds a NUL byte.\n\n90°0'0.0\" 1.0\n");
}

// A line over a megabyte (blanks before its coordinates) is refused as a
// whole, the lines after it still answered; up to the limit it is read.
TEST(InverseCommandTest, ALineOverTheLimitIsRefused) {
    const std::string padded(LineReader::kMaxLineLength - 7, ' ');
    const Outcome run =
        inverse({}, "0 0 1 0\n" + padded + " 0 0 1 0\n" + padded + "0 0 0 1\n0 0 0 1");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "0°0'0.0\" 1.0\nLine 2 is too long.\n90°0'0.0\" 1.0\n90°0'0.0\" 1.0\n");
}

TEST(InverseCommandTest, MalformedUtf8NeverReadsAsANumber) {
    const Outcome run = inverse({},
                                "0 0 100\xE0\x80\x80garbage 0\n0 0 100\xF0\x80\x80\xAE"
                                "5 0\n");
    EXPECT_EQ(run.out,
              "'100???garbage' is not a valid floating point value.\n"
              "'100????5' is not a valid floating point value.\n");
}

TEST(InverseCommandTest, WrongNumberOfCoordinatesIsAUsageError) {
    EXPECT_THROW(inverse({"1", "2", "3"}), UsageError);
}

}  // namespace
}  // namespace geocalc::cli
