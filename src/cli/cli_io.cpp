#include "cli/cli_io.h"

#include <ostream>

#include "charset/code_page.h"
#include "core/error.h"

namespace geocalc::cli {

// Runs of ASCII, most of every line, go out as they are.
void printLine(std::ostream& out, std::string_view ansiText) {
    std::size_t run = 0;
    for (std::size_t i = 0; i < ansiText.size(); ++i) {
        if (static_cast<unsigned char>(ansiText[i]) < 0x80) continue;
        out.write(ansiText.data() + run, std::streamsize(i - run));
        out << utf8FromAnsi(ansiText.substr(i, 1));
        run = i + 1;
    }
    out.write(ansiText.data() + run, std::streamsize(ansiText.size() - run));
    out.put('\n');
}

void printFailure(std::ostream& out, std::string_view ansiMessage) {
    printLine(out, withClosingPeriod(std::string(ansiMessage)));
}

}  // namespace geocalc::cli
