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

namespace {

// The file errors' classic texts said as the reason they give.
std::string reasonOf(const std::string& fileError) {
    if (fileError == "Invalid filename") return "the folder does not exist";
    if (fileError == "File access denied") return "access is denied";
    if (fileError == "Disk full" || fileError == "I/O error 112") return "the disk is full";
    return fileError;
}

}  // namespace

void writeNamedFile(const std::string& path, const std::function<void(ReplacingFile&)>& write) {
    const std::string named = "Cannot write '" + ansiFromUtf8(path) + "'";
    try {
        ReplacingFile file(path);
        write(file);
        file.commit();
    } catch (const Error& e) {
        const std::string message = e.what();
        if (message.starts_with(named)) throw;  // it names the file already
        throw Error(named + ": " + reasonOf(message));
    }
}

void printFailure(std::ostream& out, std::string_view ansiMessage) {
    printMessage(out, withClosingPeriod(std::string(ansiMessage)));
}

}  // namespace geocalc::cli
