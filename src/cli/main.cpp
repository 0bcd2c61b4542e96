// geocalc-cli: the batch companion of the geocalc window.
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "charset/code_page.h"
#include "cli/cli_io.h"
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

constexpr const char* kUsage =
    "usage: geocalc-cli [--decimal-separator C] inverse [XS YS XE YE]\n"
    "       geocalc-cli [--decimal-separator C] show TABLE\n"
    "       geocalc-cli [--decimal-separator C] traverse [--names] [--ids FILE] [-o FILE]\n"
    "                   [--encoding windows-1251|utf-8] TABLE ID...\n"
    "       geocalc-cli [--decimal-separator C] parcel [--names] [--ids FILE] [-o FILE]\n"
    "                   [--format text|json|csv|svg|dxf] [--decimals N] [--mt M]\n"
    "                   [--title TEXT]... [--surveyor TEXT] [--date YYYY-MM-DD]\n"
    "                   [--crs TEXT] [--allow-crossing] TABLE ID...\n"
    "       geocalc-cli --help | --version\n"
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
    "parcel    picks the records ID... of TABLE as traverse does and describes the\n"
    "          closed figure they bound: the catalogue of points and sides, the\n"
    "          perimeter, the area and the orientation, as text, JSON, CSV, an SVG\n"
    "          drawing at a standard scale, or DXF for CAD; the first point\n"
    "          given again last closes the figure and is dropped; every measure\n"
    "          is computed from the coordinates as the catalogue prints them\n"
    "          (rounded to --decimals); its documents are in Russian under a\n"
    "          Russian locale, in English otherwise; a boundary that crosses\n"
    "          or touches itself gets no documents (exit code 1)\n"
    "\n"
    "ID        a record number from 1, N-M for the records N to M in order (M < N\n"
    "          runs backwards), or with --names the name in the first field\n"
    "--ids FILE  more IDs, one a line, after those given (- for standard input)\n"
    "\n"
    "parcel's handover:\n"
    "--decimals N     decimals of the catalogue's coordinates and lengths (default\n"
    "                 2); the area gets N-2 in m2 (whole m2 by default), N+2 in ha\n"
    "--mt M           the points' mean square error in metres: the area is given\n"
    "                 with its permitted error 3.5 * M * sqrt(area)\n"
    "--title TEXT     a line of the title block (parcel number, address, client);\n"
    "                 give it again for each further line\n"
    "--surveyor TEXT  who surveyed the parcel, in the title block\n"
    "--date DAY       the day in the title block, YYYY-MM-DD (default today)\n"
    "--crs TEXT       the coordinate system's name, in every format\n"
    "--allow-crossing the documents of a boundary that crosses itself, each\n"
    "                 marked with the warning, to look for the fault\n"
    "\n"
    "--decimal-separator C   the decimal separator of coordinates and results\n"
    "                        (default: the one of the LC_NUMERIC locale)\n";

// An option given that only some commands take.
struct LimitedOption {
    std::string name;
    std::vector<std::string_view> commands;
};

struct CommandLine {
    bool help = false;
    bool version = false;
    geocalc::cli::TraverseOptions traverse;
    geocalc::cli::ParcelOptions parcel;
    std::vector<LimitedOption> limited;
    std::vector<std::string> positional;
    std::string idsPath;  // empty: none
};

using Arguments = std::vector<std::string>;

std::string valueOf(std::size_t& i, const Arguments& args, const std::string& option) {
    if (++i == args.size()) throw UsageError{option + " needs a value"};
    return args[i];
}

// A separator must not be anything a number's text or the side line holds
// (digits, signs, exponent letters, blanks, control characters, the degree
// sign, the minute and second marks), or the lines it writes would read two
// ways; and it must be a character of Windows-1251, the core's code page.
char decimalSeparatorOf(const std::string& utf8) {
    std::size_t pos = 0;
    const char32_t c = utf8.empty() ? 0 : geocalc::decodeUtf8(utf8, pos);
    const int ansi = pos == utf8.size() && c != 0xFFFD ? geocalc::ansiCodePage().fromUnicode(c) : -1;
    static constexpr std::string_view kTaken = "0123456789+-Ee '\"\xB0\xA0";
    if (ansi < 0x20 || ansi == 0x7F || kTaken.find(char(ansi)) != std::string_view::npos) {
        throw UsageError{"'" + utf8 + "' cannot be the decimal separator: give one character that is not a digit, "
                         "sign, E, blank, control character, \u00B0, ' or \", and that Windows-1251 holds"};
    }
    return char(ansi);
}

CommandLine parse(const Arguments& args) {
    CommandLine line;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // Negative coordinates such as -100 are arguments, not options.
        const bool option = !optionsEnded && arg.size() > 1 && arg[0] == '-' &&
                            (arg[1] == '-' || arg == "-o");
        if (!option) {
            line.positional.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help") {
            line.help = true;
        } else if (arg == "--version") {
            line.version = true;
        } else if (arg == "--names") {
            line.traverse.byName = line.parcel.byName = true;
            line.limited.push_back({arg, {"traverse", "parcel"}});
        } else if (arg == "-o") {
            line.traverse.outputPath = line.parcel.outputPath = valueOf(i, args, arg);
            if (line.traverse.outputPath.empty()) throw UsageError{"-o needs a file name"};
            line.limited.push_back({arg, {"traverse", "parcel"}});
        } else if (arg == "--ids") {
            line.idsPath = valueOf(i, args, arg);
            if (line.idsPath.empty()) throw UsageError{"--ids needs a file name"};
            line.limited.push_back({arg, {"traverse", "parcel"}});
        } else if (arg == "--encoding") {
            const std::string encoding = valueOf(i, args, arg);
            if (encoding != "utf-8" && encoding != "windows-1251") {
                throw UsageError{"the encoding is utf-8 or windows-1251"};
            }
            line.traverse.utf8 = encoding == "utf-8";
            line.limited.push_back({arg, {"traverse"}});
        } else if (arg == "--allow-crossing") {
            line.parcel.allowCrossing = true;
            line.limited.push_back({arg, {"parcel"}});
        } else if (arg == "--format") {
            const auto format = geocalc::parcelFormatNamed(valueOf(i, args, arg));
            if (!format) throw UsageError{"the format is text, json, csv, svg or dxf"};
            line.parcel.format = *format;
            line.limited.push_back({arg, {"parcel"}});
        } else if (geocalc::cli::isHandoverOption(arg)) {
            geocalc::cli::setHandoverOption(line.parcel.handover, arg, valueOf(i, args, arg));
            line.limited.push_back({arg, {"parcel"}});
        } else if (arg == "--decimal-separator") {
            geocalc::setDecimalSeparator(decimalSeparatorOf(valueOf(i, args, arg)));
        } else {
            throw UsageError{"unknown option " + arg};
        }
    }
    return line;
}

int run(const CommandLine& line, std::istream& in, std::ostream& out) {
    if (line.help) {
        out << kUsage;
        return 0;
    }
    if (line.version) {
        out << "geocalc-cli " << geocalc::kVersion << '\n';
        return 0;
    }
    if (line.positional.empty()) throw UsageError{"no command given"};
    const std::string& command = line.positional.front();
    for (const LimitedOption& option : line.limited) {
        if (std::find(option.commands.begin(), option.commands.end(), command) != option.commands.end()) continue;
        std::string owners;
        for (const std::string_view owner : option.commands) {
            owners += (owners.empty() ? "" : " and ") + std::string(owner);
        }
        throw UsageError{option.name + " is an option of " + owners + ", not of " + command};
    }
    std::vector<std::string> args(line.positional.begin() + 1, line.positional.end());
    if (!line.idsPath.empty()) geocalc::cli::appendIdsFrom(line.idsPath, in, args);
    if (command == "inverse") return geocalc::cli::runInverse(args, in, out, std::cerr);
    if (command == "show") return geocalc::cli::runShow(args, out);
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
        std::cerr << "geocalc-cli: " << failure.what << ": " << std::strerror(failure.error) << '\n';
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
        const int exitCode = run(parse(args), in, out);
        out.flush();
        return exitCode;
    } catch (const geocalc::cli::StreamFailure& failure) {
        return streamFailure(failure);
    } catch (const UsageError& e) {
        std::cerr << "geocalc-cli: " << geocalc::cli::messageForTerminal(e.message) << "\n\n" << kUsage;
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
