#include "cli/command_line.h"

#include <algorithm>

#include "charset/code_page.h"
#include "cli/cli_io.h"
#include "cli/handover_options.h"

namespace geocalc::cli {

namespace {

constexpr std::string_view kUsage =
    "usage: geocalc-cli [--decimal-separator C] inverse [XS YS XE YE]\n"
    "       geocalc-cli [--decimal-separator C] show TABLE\n"
    "       geocalc-cli convert -o TABLE FILE\n"
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
    "convert   writes the dBASE table the window makes of a point text file\n"
    "          (name, X, Y a line, as spreadsheets and instruments write them)\n"
    "          or of a total station's GSI records\n"
    "TABLE     a dBASE table, or a point file, read as convert reads it\n"
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

// A separator must not be anything a number's text or the side line holds
// (digits, signs, exponent letters, blanks, control characters, the degree
// sign, the minute and second marks), or the lines it writes would read two
// ways; and it must be a character of Windows-1251, the core's code page.
char decimalSeparatorOf(const std::string& utf8) {
    std::size_t pos = 0;
    const char32_t c = utf8.empty() ? 0 : decodeUtf8(utf8, pos);
    const int ansi = pos == utf8.size() && c != 0xFFFD ? ansiCodePage().fromUnicode(c) : -1;
    static constexpr std::string_view kTaken = "0123456789+-Ee '\"\xB0\xA0";
    if (ansi < 0x20 || ansi == 0x7F || kTaken.find(char(ansi)) != std::string_view::npos) {
        throw UsageError{
            "'" + utf8 +
            "' cannot be the decimal separator: give one character that is not a digit, "
            "sign, E, blank, control character, \u00B0, ' or \", and that Windows-1251 holds"};
    }
    return char(ansi);
}

std::string nonEmpty(std::string_view option, const std::string& value, std::string_view what) {
    if (value.empty()) throw UsageError{std::string(option) + " needs " + std::string(what)};
    return value;
}

// The parcel's hand-over details, each taken as handover_options says.
void handoverOption(CommandLine& line, std::string_view name, const std::string& value) {
    setHandoverOption(line.parcel.handover, name, value);
}

const std::vector<CommandOption> kOptions = {
    {"--help",
     "",
     {},
     [](CommandLine& line, std::string_view, const std::string&) { line.help = true; }},
    {"--version",
     "",
     {},
     [](CommandLine& line, std::string_view, const std::string&) { line.version = true; }},
    {"--decimal-separator",
     "C",
     {},
     [](CommandLine& line, std::string_view, const std::string& value) {
         line.decimalSeparator = decimalSeparatorOf(value);
     }},
    {"--names",
     "",
     {"traverse", "parcel"},
     [](CommandLine& line, std::string_view, const std::string&) {
         line.traverse.byName = line.parcel.byName = true;
     }},
    {"--ids",
     "FILE",
     {"traverse", "parcel"},
     [](CommandLine& line, std::string_view name, const std::string& value) {
         line.idsPath = nonEmpty(name, value, "a file name");
     }},
    {"-o",
     "FILE",
     {"traverse", "parcel", "convert"},
     [](CommandLine& line, std::string_view name, const std::string& value) {
         line.outputPath = line.traverse.outputPath = line.parcel.outputPath =
             nonEmpty(name, value, "a file name");
     }},
    {"--encoding",
     "windows-1251|utf-8",
     {"traverse"},
     [](CommandLine& line, std::string_view, const std::string& value) {
         if (value != "utf-8" && value != "windows-1251")
             throw UsageError{"the encoding is utf-8 or windows-1251"};
         line.traverse.utf8 = value == "utf-8";
     }},
    {"--format",
     "text|json|csv|svg|dxf",
     {"parcel"},
     [](CommandLine& line, std::string_view, const std::string& value) {
         const auto format = parcelFormatNamed(value);
         if (!format) throw UsageError{"the format is text, json, csv, svg or dxf"};
         line.parcel.format = *format;
     }},
    {"--decimals", "N", {"parcel"}, handoverOption},
    {"--mt", "M", {"parcel"}, handoverOption},
    {"--title", "TEXT", {"parcel"}, handoverOption},
    {"--surveyor", "TEXT", {"parcel"}, handoverOption},
    {"--date", "YYYY-MM-DD", {"parcel"}, handoverOption},
    {"--crs", "TEXT", {"parcel"}, handoverOption},
    {"--allow-crossing",
     "",
     {"parcel"},
     [](CommandLine& line, std::string_view, const std::string&) {
         line.parcel.allowCrossing = true;
     }},
};

const CommandOption* optionNamed(std::string_view name) {
    const auto found = std::find_if(kOptions.begin(), kOptions.end(),
                                    [&](const CommandOption& o) { return o.name == name; });
    return found == kOptions.end() ? nullptr : &*found;
}

// Each option given is one the command takes.
void checkOptionsOf(const CommandLine& line) {
    if (line.positional.empty()) return;
    const std::string& command = line.positional.front();
    for (const std::string& given : line.optionsGiven) {
        const CommandOption& option = *optionNamed(given);
        if (option.commands.empty() || std::find(option.commands.begin(), option.commands.end(),
                                                 command) != option.commands.end())
            continue;
        std::string owners;  // "traverse, parcel and convert"
        for (std::size_t k = 0; k < option.commands.size(); ++k) {
            const bool last = k + 1 == option.commands.size();
            owners += (k == 0 ? "" : last ? " and " : ", ") + std::string(option.commands[k]);
        }
        throw UsageError{given + " is an option of " + owners + ", not of " + command};
    }
}

}  // namespace

std::span<const CommandOption> options() { return kOptions; }

std::string_view usageText() { return kUsage; }

CommandLine parseCommandLine(std::span<const std::string> args) {
    CommandLine line;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // Negative coordinates such as -100 are arguments, not options.
        const bool option =
            !optionsEnded && arg.size() > 1 && arg[0] == '-' && (arg[1] == '-' || arg == "-o");
        if (!option) {
            line.positional.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else {
            const CommandOption* known = optionNamed(arg);
            if (!known) throw UsageError{"unknown option " + arg};
            std::string value;
            if (!known->value.empty()) {
                if (++i == args.size()) throw UsageError{arg + " needs a value"};
                value = args[i];
            }
            known->apply(line, known->name, value);
            line.optionsGiven.push_back(arg);
        }
    }
    if (!line.help && !line.version) checkOptionsOf(line);
    return line;
}

}  // namespace geocalc::cli
