#include "cli/inverse_command.h"

#include <array>
#include <istream>
#include <ostream>
#include <string_view>

#include "calc/side.h"
#include "charset/code_page.h"
#include "cli/cli_io.h"
#include "cli/line_reader.h"
#include "core/error.h"

namespace geocalc::cli {

namespace {

constexpr std::size_t kCoordinateCount = 4;

// The blanks between coordinates: space, tab, and the CR of CR LF lines.
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// The coordinates come as XS YS XE YE; the side takes them end point first.
SideLineText sideLine(const std::array<std::string_view, kCoordinateCount>& ansi) {
    return sideLineText(ansi[2], ansi[0], ansi[3], ansi[1]);
}

// A word in the core's code page: plain ASCII, the usual case, is that
// already and is used in place; anything else is converted into `storage`.
std::string_view ansiWord(std::string_view utf8, std::string& storage) {
    for (const char c : utf8) {
        if (static_cast<unsigned char>(c) >= 0x80) return storage = ansiFromUtf8(utf8);
    }
    return utf8;
}

// The side line of one input line, or its failure; "" for a blank line.
SideLineText lineResult(std::string_view line, long long number,
                        std::array<std::string, kCoordinateCount>& storage) {
    // One pass takes the words apart and looks at every byte: for a NUL, and
    // for bytes from 0x80 up, without which the words already are in the
    // core's code page, as in the usual case.
    std::array<std::string_view, kCoordinateCount> words;
    std::size_t count = 0;
    unsigned char bits = 0;
    bool nul = false;
    for (std::size_t pos = 0; pos < line.size();) {
        if (isBlank(line[pos])) {
            ++pos;
            continue;
        }
        const std::size_t start = pos;
        for (; pos < line.size() && !isBlank(line[pos]); ++pos) {
            bits |= static_cast<unsigned char>(line[pos]);
            nul |= line[pos] == '\0';
        }
        if (count < kCoordinateCount) words[count] = line.substr(start, pos - start);
        ++count;
    }
    if (nul) throw Error("Line " + std::to_string(number) + " holds a NUL byte");
    if (count == 0) return SideLineText();
    if (count != kCoordinateCount) {
        throw Error("Expected four coordinates XS YS XE YE, got " + std::to_string(count));
    }
    if (bits >= 0x80) {
        for (std::size_t i = 0; i < kCoordinateCount; ++i)
            words[i] = ansiWord(words[i], storage[i]);
    }
    return sideLine(words);
}

// One output line per input line, so that the two line up side by side.
int inverseLines(std::istream& in, std::ostream& out) {
    int exitCode = 0;
    std::array<std::string, kCoordinateCount> storage;
    LineReader lines(*in.rdbuf());
    std::string_view line;
    for (long long number = 1; lines.next(line); ++number) {
        try {
            if (lines.tooLong()) throw Error("Line " + std::to_string(number) + " is too long");
            printLine(out, lineResult(line, number, storage).view());
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
        throw UsageError{
            "inverse takes four coordinates XS YS XE YE, or none to read them from "
            "standard input"};
    }
    std::array<std::string, kCoordinateCount> storage;
    std::array<std::string_view, kCoordinateCount> ansi;
    for (std::size_t i = 0; i < kCoordinateCount; ++i)
        ansi[i] = ansiWord(coordinates[i], storage[i]);
    try {
        printLine(out, sideLine(ansi).view());
        return 0;
    } catch (const Error& e) {
        printFailure(err, e.what());
        return kExitFailure;
    }
}

}  // namespace geocalc::cli
