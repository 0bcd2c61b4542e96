// The command line parsed into a value: options, their values and the
// commands that take them; and the usage and the manual page naming every
// option the table holds.
#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "cli/cli_io.h"

namespace geocalc::cli {
namespace {

CommandLine parsed(std::vector<std::string> args) { return parseCommandLine(args); }

std::string refusal(std::vector<std::string> args) {
    try {
        parseCommandLine(args);
    } catch (const UsageError& e) {
        return e.message;
    }
    return "(accepted)";
}

TEST(CommandLineTest, OptionsGoIntoTheValueWhereverTheyStand) {
    const CommandLine line =
        parsed({"-o", "out.svg", "parcel", "--names", "t.dbf", "--format", "svg", "A", "B",
                "--decimals", "3", "--title", "one", "--title", "two", "--allow-crossing", "C"});
    EXPECT_EQ(line.positional, (std::vector<std::string>{"parcel", "t.dbf", "A", "B", "C"}));
    EXPECT_EQ(line.parcel.outputPath, "out.svg");
    EXPECT_TRUE(line.parcel.byName);
    EXPECT_EQ(line.parcel.format, ParcelFormat::Svg);
    EXPECT_EQ(line.parcel.handover.decimals, 3);
    EXPECT_EQ(line.parcel.handover.title, (std::vector<std::string>{"one", "two"}));
    EXPECT_TRUE(line.parcel.allowCrossing);
    EXPECT_EQ(parsed({"parcel", "--mt", "0,10"}).parcel.handover.mtDecimals, 2);  // as written
    EXPECT_EQ(parsed({"parcel", "--mt", "1e-1"}).parcel.handover.mtDecimals, -1);
    EXPECT_FALSE(line.decimalSeparator);

    // Negative numbers and anything after "--" are arguments.
    EXPECT_EQ(parsed({"inverse", "-100", "-5", "--", "--names", "0"}).positional,
              (std::vector<std::string>{"inverse", "-100", "-5", "--names", "0"}));
    EXPECT_EQ(parsed({"--decimal-separator", ",", "show", "t.dbf"}).decimalSeparator, ',');
    EXPECT_TRUE(
        parsed({"--help", "show", "--format", "svg"}).help);  // help asks nothing of the rest
    const CommandLine traverse = parsed({"traverse", "--encoding", "utf-8", "--ids", "-", "t.dbf"});
    EXPECT_TRUE(traverse.traverse.utf8);
    EXPECT_EQ(traverse.idsPath, "-");
}

TEST(CommandLineTest, WhatIsWrongIsSaid) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"show", "--frobnicate"}, "unknown option --frobnicate"},
        {{"traverse", "t.dbf", "-o"}, "-o needs a value"},
        {{"traverse", "-o", "", "t.dbf"}, "-o needs a file name"},
        {{"parcel", "--ids", ""}, "--ids needs a file name"},
        {{"traverse", "--encoding", "koi8-r"}, "the encoding is utf-8 or windows-1251"},
        {{"parcel", "--format", "pdf"}, "the format is text, json, csv, svg or dxf"},
        {{"parcel", "--decimals", "10"}, "--decimals takes a whole number from 0 to 9"},
        {{"traverse", "--format", "svg"}, "--format is an option of parcel, not of traverse"},
        {{"show", "--names", "t.dbf"}, "--names is an option of traverse and parcel, not of show"},
        {{"inverse", "--allow-crossing"},
         "--allow-crossing is an option of parcel, not of inverse"},
    };
    for (const auto& [args, message] : cases) EXPECT_EQ(refusal(args), message);
    EXPECT_NE(
        refusal({"--decimal-separator", "5", "show"}).find("'5' cannot be the decimal separator"),
        std::string::npos);
}

std::string sourceFile(const std::string& path) {
    std::ifstream file(std::string(GEOCALC_SOURCE_DIR) + "/" + path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The usage, the manual page and the reference name every option, the usage
// each with the commands it belongs to, so that none drifts from the table.
TEST(CommandLineTest, TheUsageTheManualPageAndTheReferenceNameEveryOption) {
    const std::string manual = sourceFile("packaging/man/geocalc-cli.1");
    const std::string reference = sourceFile("docs/cli.md");
    auto roff = [](std::string_view name) {
        std::string escaped;
        for (const char c : name) escaped += c == '-' ? std::string("\\-") : std::string(1, c);
        return escaped;
    };
    const std::string usage(usageText());
    for (const CommandOption& option : options()) {
        SCOPED_TRACE(option.name);
        EXPECT_NE(usage.find(std::string(option.name) + (option.value.empty() ? "" : " ")),
                  std::string::npos);
        EXPECT_NE(manual.find(roff(option.name)), std::string::npos);
        EXPECT_NE(reference.find("`" + std::string(option.name)), std::string::npos);
        for (const std::string_view command : option.commands) {
            EXPECT_NE(usage.find(" " + std::string(command) + " "), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace geocalc::cli
