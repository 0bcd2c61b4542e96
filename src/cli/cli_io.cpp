#include "cli/cli_io.h"

#include <ostream>

#include "charset/code_page.h"
#include "core/error.h"

namespace geocalc::cli {

void printLine(std::ostream& out, std::string_view ansiText) {
    std::string line;
    appendUtf8FromAnsi(line, ansiText);
    line += '\n';
    out.write(line.data(), std::streamsize(line.size()));
}

void printFailure(std::ostream& out, std::string_view ansiMessage) {
    printLine(out, withClosingPeriod(std::string(ansiMessage)));
}

}  // namespace geocalc::cli
