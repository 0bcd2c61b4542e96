// geocalc-cli: the batch companion of the geocalc window.
#include <iostream>
#include <string>
#include <vector>

#include "charset/code_page.h"
#include "cli/cli_io.h"
#include "cli/inverse_command.h"
#include "core/error.h"
#include "numtext/format_settings.h"

namespace {

using geocalc::cli::UsageError;

constexpr const char* kUsage =
    "usage: geocalc-cli [--decimal-separator C] inverse [XS YS XE YE]\n"
    "       geocalc-cli --help\n"
    "\n"
    "inverse   the side line (direction angle and length) from the start point\n"
    "          (XS, YS) to the end point (XE, YE); without coordinates, one side\n"
    "          per line of standard input as XS YS XE YE\n"
    "\n"
    "--decimal-separator C   the decimal separator of coordinates and results\n"
    "                        (default: the one of the LC_NUMERIC locale)\n";

struct CommandLine {
    bool help = false;
    std::vector<std::string> positional;
};

CommandLine parse(int argc, char** argv) {
    CommandLine line;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (optionsEnded || arg.size() < 2 || arg.rfind("--", 0) != 0) {
            line.positional.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help") {
            line.help = true;
        } else if (arg == "--decimal-separator") {
            if (++i == argc) throw UsageError{"--decimal-separator needs a character"};
            const std::string separator = geocalc::ansiFromUtf8(argv[i]);
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
