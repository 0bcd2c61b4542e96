#include "cli/cli_io.h"

#include <ostream>

#include "charset/code_page.h"
#include "cli/terminal_text.h"
#include "core/error.h"

namespace geocalc::cli {

// One string serves every line, so that a batch of lines allocates nothing.
void printLine(std::ostream& out, std::string_view ansiText) {
    thread_local std::string line;
    line.clear();
    appendUtf8FromAnsi(line, ansiText);
    line += '\n';
    out.rdbuf()->sputn(line.data(), std::streamsize(line.size()));  // no sentry per line
}

void printMessage(std::ostream& out, std::string_view ansiMessage) {
    std::string utf8;
    appendUtf8FromAnsi(utf8, ansiMessage);
    std::string line = messageForTerminal(utf8);
    line += '\n';
    out.write(line.data(), std::streamsize(line.size()));
}

void printFailure(std::ostream& out, std::string_view ansiMessage) {
    printMessage(out, withClosingPeriod(std::string(ansiMessage)));
}

}  // namespace geocalc::cli
