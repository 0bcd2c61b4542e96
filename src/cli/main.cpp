// geocalc-cli: the batch companion of the geocalc window.
#include <iostream>
#include <string>
#include <vector>

#include "charset/code_page.h"
#include "cli/cli_io.h"
#include "cli/inverse_command.h"
#include "cli/table_commands.h"
#include "core/error.h"
#include "numtext/format_settings.h"

namespace {

using geocalc::cli::UsageError;

constexpr const char* kUsage =
    "usage: geocalc-cli [--decimal-separator C] inverse [XS YS XE YE]\n"
    "       geocalc-cli [--decimal-separator C] show TABLE\n"
    "       geocalc-cli [--decimal-separator C] traverse [--names] [-o FILE]\n"
    "                   [--encoding windows-1251|utf-8] TABLE ID...\n"
    "       geocalc-cli --help\n"
    "\n"
    "inverse   the side line (direction angle and length) from the start point\n"
    "          (XS, YS) to the end point (XE, YE); without coordinates, one side\n"
    "          per line of standard input as XS YS XE YE\n"
    "show      the field names and every record's field texts of a dBASE table,\n"
    "          tab-separated\n"
    "traverse  picks the records ID... of TABLE in that order (record numbers from\n"
    "          1, or names with --names), computes the closed traverse and writes\n"
    "          the results file to FILE or to standard output, in Windows-1251\n"
    "          unless --encoding utf-8\n"
    "\n"
    "--decimal-separator C   the decimal separator of coordinates and results\n"
    "                        (default: the one of the LC_NUMERIC locale)\n";

struct CommandLine {
    bool help = false;
    geocalc::cli::TraverseOptions traverse;
    std::vector<std::string> positional;
};

std::string valueOf(int& i, int argc, char** argv, const std::string& option) {
    if (++i == argc) throw UsageError{option + " needs a value"};
    return argv[i];
}

CommandLine parse(int argc, char** argv) {
    CommandLine line;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        // Negative coordinates such as -100 are arguments, not options.
        const bool option = !optionsEnded && arg.size() > 1 && arg[0] == '-' &&
                            (arg[1] == '-' || arg == "-o");
        if (!option) {
            line.positional.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help") {
            line.help = true;
        } else if (arg == "--names") {
            line.traverse.byName = true;
        } else if (arg == "-o") {
            line.traverse.outputPath = valueOf(i, argc, argv, arg);
        } else if (arg == "--encoding") {
            const std::string encoding = valueOf(i, argc, argv, arg);
            if (encoding != "utf-8" && encoding != "windows-1251") {
                throw UsageError{"the encoding is utf-8 or windows-1251"};
            }
            line.traverse.utf8 = encoding == "utf-8";
        } else if (arg == "--decimal-separator") {
            const std::string separator = geocalc::ansiFromUtf8(valueOf(i, argc, argv, arg));
            if (separator.size() != 1) throw UsageError{"the decimal separator is one character"};
            geocalc::setDecimalSeparator(separator[0]);
        } else {
            throw UsageError{"unknown option " + arg};
        }
    }
    return line;
}

int run(int argc, char** argv) {
    geocalc::loadNumberFormat();
    const CommandLine line = parse(argc, argv);
    if (line.help) {
        std::cout << kUsage;
        return 0;
    }
    if (line.positional.empty()) throw UsageError{"no command given"};
    const std::string& command = line.positional.front();
    const std::vector<std::string> args(line.positional.begin() + 1, line.positional.end());
    if (command == "inverse") return geocalc::cli::runInverse(args, std::cin, std::cout, std::cerr);
    if (command == "show") return geocalc::cli::runShow(args, std::cout);
    if (command == "traverse") return geocalc::cli::runTraverseCommand(args, line.traverse, std::cout);
    throw UsageError{"unknown command " + command};
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const UsageError& e) {
        std::cerr << "geocalc-cli: " << e.message << "\n\n" << kUsage;
        return geocalc::cli::kExitUsage;
    } catch (const geocalc::Error& e) {
        geocalc::cli::printFailure(std::cerr, e.what());
        return geocalc::cli::kExitFailure;
    }
}
