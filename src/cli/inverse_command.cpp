#include "cli/inverse_command.h"

#include <istream>
#include <ostream>
#include <sstream>

#include "calc/side.h"
#include "charset/code_page.h"
#include "cli/cli_io.h"
#include "core/error.h"

namespace geocalc::cli {

namespace {

constexpr std::size_t kCoordinateCount = 4;

// The coordinates come as XS YS XE YE; the side takes them end point first.
std::string sideLine(const std::vector<std::string>& ansi) {
    return computeSide(ansi[2], ansi[0], ansi[3], ansi[1]);
}

std::vector<std::string> splitBlanks(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream stream(line);
    for (std::string word; stream >> word;) words.push_back(ansiFromUtf8(word));
    return words;
}

int inverseLines(std::istream& in, std::ostream& out) {
    int exitCode = 0;
    for (std::string line; std::getline(in, line);) {
        const std::vector<std::string> words = splitBlanks(line);
        if (words.empty()) continue;
        try {
            if (words.size() != kCoordinateCount) {
                throw Error("Expected four coordinates XS YS XE YE, got " +
                            std::to_string(words.size()));
            }
            printLine(out, sideLine(words));
        } catch (const Error& e) {
            printFailure(out, e.what());
            exitCode = kExitFailure;
        }
    }
    return exitCode;
}

}  // namespace

int runInverse(const std::vector<std::string>& coordinates, std::istream& in, std::ostream& out,
               std::ostream& err) {
    if (coordinates.empty()) return inverseLines(in, out);
    if (coordinates.size() != kCoordinateCount) {
        throw UsageError{"inverse takes four coordinates XS YS XE YE, or none to read them from "
                         "standard input"};
    }
    std::vector<std::string> ansi;
    for (const std::string& c : coordinates) ansi.push_back(ansiFromUtf8(c));
    try {
        printLine(out, sideLine(ansi));
        return 0;
    } catch (const Error& e) {
        printFailure(err, e.what());
        return kExitFailure;
    }
}

}  // namespace geocalc::cli
