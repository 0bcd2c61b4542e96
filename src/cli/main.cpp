// geocalc-cli: the batch companion of the geocalc window.
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>
#include <span>
#include <string>
#include <vector>

#include "charset/code_page.h"
#include "cli/cli_io.h"
#include "cli/command_line.h"
#include "cli/fd_streambuf.h"
#include "cli/handover_options.h"
#include "cli/id_list.h"
#include "cli/inverse_command.h"
#include "cli/parcel_command.h"
#include "cli/table_commands.h"
#include "cli/terminal_text.h"
#include "core/error.h"
#include "core/native_path.h"
#include "core/version.h"
#include "numtext/format_settings.h"

namespace {

using geocalc::cli::UsageError;
using Arguments = std::vector<std::string>;

int run(const geocalc::cli::CommandLine& line, std::istream& in, std::ostream& out) {
    if (line.help) {
        out << geocalc::cli::usageText();
        return 0;
    }
    if (line.version) {
        out << "geocalc-cli " << geocalc::kVersion << '\n';
        return 0;
    }
    if (line.positional.empty()) throw UsageError{"no command given"};
    if (line.decimalSeparator) geocalc::setDecimalSeparator(*line.decimalSeparator);
    const std::string& command = line.positional.front();
    std::vector<std::string> args(line.positional.begin() + 1, line.positional.end());
    if (!line.idsPath.empty()) geocalc::cli::appendIdsFrom(line.idsPath, in, args);
    if (command == "inverse") return geocalc::cli::runInverse(args, in, out, std::cerr);
    if (command == "show") return geocalc::cli::runShow(args, out);
    if (command == "convert") return geocalc::cli::runConvert(args, line.outputPath);
    if (command == "traverse") return geocalc::cli::runTraverseCommand(args, line.traverse, out);
    if (command == "parcel") {
        geocalc::cli::ParcelOptions parcel = line.parcel;
        geocalc::cli::completeHandover(parcel.handover);
        return geocalc::cli::runParcelCommand(args, parcel, out, std::cerr);
    }
    throw UsageError{"unknown command " + command};
}

// A closed pipe ends the run quietly, as it ends the conventional tools;
// any other failed read or write is reported.
int streamFailure(const geocalc::cli::StreamFailure& failure) {
    if (failure.error != EPIPE) {
        std::cerr << "geocalc-cli: " << failure.what << ": " << std::strerror(failure.error)
                  << '\n';
    }
    return geocalc::cli::kExitFailure;
}

constexpr int kStandardInput = 0;
constexpr int kStandardOutput = 1;

int runWith(const Arguments& args) {
    geocalc::cli::FdInputBuffer inBuffer(kStandardInput, "standard input");
    geocalc::cli::FdOutputBuffer outBuffer(kStandardOutput, "standard output");
    std::istream in(&inBuffer);
    std::ostream out(&outBuffer);
    in.exceptions(std::ios::badbit);
    out.exceptions(std::ios::badbit);
    try {
        geocalc::loadNumberFormat();
        const int exitCode =
            run(geocalc::cli::parseCommandLine(std::span(args).subspan(1)), in, out);
        out.flush();
        return exitCode;
    } catch (const geocalc::cli::StreamFailure& failure) {
        return streamFailure(failure);
    } catch (const UsageError& e) {
        std::cerr << "geocalc-cli: " << geocalc::cli::messageForTerminal(e.message) << "\n\n"
                  << geocalc::cli::usageText();
        return geocalc::cli::kExitUsage;
    } catch (const geocalc::Error& e) {
        try {
            out.flush();  // what was done before the failure
        } catch (const geocalc::cli::StreamFailure& failure) {
            return streamFailure(failure);
        }
        geocalc::cli::printFailure(std::cerr, e.what());
        return geocalc::cli::kExitFailure;
    }
}

}  // namespace

#ifdef _WIN32
// Arguments come as UTF-16 and go on as UTF-8, as file names and texts do on
// every other system. Standard input and output carry bytes unchanged (no
// CR added or taken away); messages go to the console in UTF-8.
int wmain(int argc, wchar_t** argv) {
    Arguments args;
    for (int i = 0; i < argc; ++i) args.push_back(geocalc::utf8FromWide(argv[i]));
    _setmode(kStandardInput, _O_BINARY);
    _setmode(kStandardOutput, _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
    return runWith(args);
}
#else
int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);  // a closed pipe is reported as EPIPE instead
    return runWith(Arguments(argv, argv + argc));
}
#endif
