// What every geocalc-cli command shares: the core's ANSI texts in and out of
// the UTF-8 terminal, and failures reported as the window would show them.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

#include "output/replacing_file.h"

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

// Writes the file -o names (UTF-8), whole or not at all (see
// ReplacingFile). A failure names the file and why: "Cannot write
// '/no/such/x.svg': the folder does not exist".
void writeNamedFile(const std::string& path, const std::function<void(ReplacingFile&)>& write);

}  // namespace geocalc::cli
