// geocalc-cli's command line: its options as one table (name, value, the
// commands that take it), parsed into a value before anything runs.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/parcel_command.h"
#include "cli/table_commands.h"

namespace geocalc::cli {

struct CommandLine {
    bool help = false;
    bool version = false;
    std::optional<char> decimalSeparator;  // in Windows-1251; none: the locale's
    TraverseOptions traverse;
    ParcelOptions parcel;
    std::string idsPath;                    // empty: none
    std::string outputPath;                 // -o; empty: none
    std::vector<std::string> positional;    // the command, then its arguments
    std::vector<std::string> optionsGiven;  // by name, for the commands' check
};

struct CommandOption {
    std::string_view name;
    std::string_view value;                  // what the usage calls it; empty: a flag
    std::vector<std::string_view> commands;  // empty: every command
    void (*apply)(CommandLine& line, std::string_view name, const std::string& value);
};

// Every option, as the usage lists it.
std::span<const CommandOption> options();

// The arguments after the program's name. A UsageError names what is wrong:
// an unknown option, a missing or unfit value ("-o needs a file name", "the
// format is text, json, csv, svg or dxf"), an option the command does not
// take ("--format is an option of parcel, not of traverse").
CommandLine parseCommandLine(std::span<const std::string> args);

// The usage --help prints and a wrong command line follows.
std::string_view usageText();

}  // namespace geocalc::cli
