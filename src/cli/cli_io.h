// What every geocalc-cli command shares: the core's ANSI texts in and out of
// the UTF-8 terminal, and failures reported as the window would show them.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

namespace geocalc::cli {

inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// A wrong command line: the usage is printed and the exit code is 2.
struct UsageError {
    std::string message;
};

void printLine(std::ostream& out, std::string_view ansiText);
// The message with the window's closing-period rule, on its own line.
void printFailure(std::ostream& out, std::string_view ansiMessage);

}  // namespace geocalc::cli
