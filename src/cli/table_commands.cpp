#include "cli/table_commands.h"

#include <array>
#include <ostream>

#include "calc/traverse.h"
#include "charset/code_page.h"
#include "cli/cli_io.h"
#include "cli/record_picking.h"
#include "cli/terminal_text.h"
#include "core/byte_words.h"
#include "core/error.h"
#include "numtext/format_settings.h"
#include "output/replacing_file.h"
#include "output/results_file.h"
#include "table/table_dataset.h"

namespace geocalc::cli {

namespace {

constexpr const char* escapeOf(char c) {
    switch (c) {
        case '\t': return "\\t";
        case '\r': return "\\r";
        case '\n': return "\\n";
        case '\\': return "\\\\";
        default: return nullptr;
    }
}

// The bytes a field text cannot show as they are: the escaped ones, the
// other controls (written \xHH), and the Windows-1251 letters and signs that
// need their UTF-8 form.
constexpr std::array<bool, 256> kSpecialBytes = [] {
    std::array<bool, 256> special{};
    for (int c = 0; c < 256; ++c) {
        special[std::size_t(c)] = c >= 0x80 || escapeOf(char(c)) != nullptr || isControlByte(static_cast<unsigned char>(c));
    }
    return special;
}();

// Whether a text holds none of those bytes, looked at a word at a time:
// printable ASCII but the backslash.
bool showsAsItIs(std::string_view text) {
    constexpr std::uint64_t kLow7 = 0x7F * words::kEveryByte;
    return !words::any(text.data(), text.size(), [](std::uint64_t w) {
        const std::uint64_t low = w & kLow7;                   // no carry between bytes
        const std::uint64_t printable = low + 0x60 * words::kEveryByte;  // high bit: at least 0x20
        const std::uint64_t del = low + words::kEveryByte;                // high bit: 0x7F
        return (w | ~printable | del | words::bytesEqual(w, '\\')) & words::kHighBits;
    });
}

// Appends a field text to the UTF-8 line, escaped; runs of plain bytes, most
// of every text, are copied whole.
void appendShown(std::string& line, std::string_view ansiText) {
    if (showsAsItIs(ansiText)) {
        line += ansiText;
        return;
    }
    std::size_t run = 0;
    for (std::size_t i = 0; i < ansiText.size(); ++i) {
        if (!kSpecialBytes[static_cast<unsigned char>(ansiText[i])]) continue;
        line.append(ansiText, run, i - run);
        if (const char* escape = escapeOf(ansiText[i])) {
            line += escape;
        } else if (isControlByte(static_cast<unsigned char>(ansiText[i]))) {
            appendHexEscape(line, static_cast<unsigned char>(ansiText[i]));
        } else {
            appendUtf8FromAnsi(line, std::string_view(ansiText).substr(i, 1));
        }
        run = i + 1;
    }
    line.append(ansiText, run);
}

// Fields whose texts are plain ASCII whatever they hold: numbers (digits,
// signs, "E" and the separator, when that is plain) and logical values.
std::vector<bool> plainFields(const TableDataset& table) {
    const bool plainSeparator = !kSpecialBytes[static_cast<unsigned char>(numberFormat().decimalSeparator)];
    std::vector<bool> plain;
    for (int f = 0; f < table.fieldCount(); ++f) {
        const FieldKind kind = table.field(f).kind;
        plain.push_back(plainSeparator && (kind == FieldKind::Integer || kind == FieldKind::Float ||
                                           kind == FieldKind::Currency || kind == FieldKind::Boolean));
    }
    return plain;
}

// Rows are gathered in `lines` and written a block at a time; texts of
// `plain` fields need no look.
class RowPrinter {
public:
    RowPrinter(std::ostream& out, std::vector<bool> plain) : out_(out), plain_(std::move(plain)) {}
    ~RowPrinter() { flush(); }

    template <class Texts>
    void print(const Texts& ansiTexts) {
        for (std::size_t i = 0; i < ansiTexts.size(); ++i) {
            if (i > 0) lines_ += '\t';
            if (plain_[i]) {
                lines_ += ansiTexts[i];
            } else {
                appendShown(lines_, ansiTexts[i]);
            }
        }
        lines_ += '\n';
        if (lines_.size() >= kBlockBytes) flush();
    }

    void flush() {
        out_.rdbuf()->sputn(lines_.data(), std::streamsize(lines_.size()));  // no sentry per block
        lines_.clear();
    }

private:
    static constexpr std::size_t kBlockBytes = 64 * 1024;
    std::ostream& out_;
    std::vector<bool> plain_;
    std::string lines_;
};

void writeResults(const PointLists& lists, const TraverseOptions& options, std::ostream& out) {
    auto encode = [&options](std::string_view line) {
        return options.utf8 ? utf8FromAnsi(line) : std::string(line);
    };
    if (options.outputPath.empty()) {
        forEachResultsLine(lists, [&](std::string_view line) { out << encode(line); });
    } else if (!options.utf8) {
        writeResultsFile(options.outputPath, lists);
    } else {
        ReplacingFile file(options.outputPath);
        forEachResultsLine(lists, [&](std::string_view line) { file.write(encode(line)); });
        file.commit();
    }
}

}  // namespace

int runShow(const std::vector<std::string>& args, std::ostream& out) {
    if (args.size() != 1) throw UsageError{"show takes one table"};
    TableDataset table;
    openReadOnly(table, args[0]);
    std::vector<std::string> names;
    for (int f = 0; f < table.fieldCount(); ++f) names.push_back(table.field(f).name);
    RowPrinter(out, std::vector<bool>(names.size(), false)).print(names);
    RowPrinter rows(out, plainFields(table));
    table.scanRowTexts([&rows](const RowTexts& texts) { rows.print(texts); });
    return 0;
}

int runTraverseCommand(const std::vector<std::string>& args, const TraverseOptions& options,
                       std::ostream& out) {
    if (args.size() < 2) throw UsageError{"traverse takes a table and the points to pick"};
    TableDataset table;
    openReadOnly(table, args[0]);
    PointLists lists;
    for (const int row : pickRows(table, std::vector<std::string>(args.begin() + 1, args.end()), options.byName)) {
        table.moveTo(row);
        appendPoint(lists, [&table](int field) { return table.fieldText(field); });
    }
    runTraverse(lists);
    writeResults(lists, options, out);
    return 0;
}

}  // namespace geocalc::cli
