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

// A line of data in UTF-8, its bytes as they are (a terminal's stream
// escapes its controls itself).
void printLine(std::ostream& out, std::string_view ansiText);
// A message line in UTF-8, safe for a terminal wherever it goes: line breaks
// as line feeds, every other control escaped (see terminal_text.h).
void printMessage(std::ostream& out, std::string_view ansiMessage);
// The message with the window's closing-period rule, as printMessage.
void printFailure(std::ostream& out, std::string_view ansiMessage);

}  // namespace geocalc::cli
