#include "cli/table_commands.h"

#include <functional>
#include <ostream>

#include "charset/code_page.h"
#include "cli/cli_io.h"
#include "cli/input_table.h"
#include "cli/record_picking.h"
#include "cli/row_printer.h"
#include "core/error.h"
#include "numtext/format_settings.h"
#include "output/replacing_file.h"
#include "output/results_file.h"
#include "points/lists_traverse.h"
#include "table/survey_table.h"
#include "table/table_dataset.h"

namespace geocalc::cli {

namespace {

// Fields whose texts are plain ASCII whatever they hold: numbers (digits,
// signs, "E" and the separator, when that is plain) and logical values.
std::vector<bool> plainFields(const TableDataset& table) {
    const char separator = numberFormat().decimalSeparator;
    const bool plainSeparator = showsAsItIs(std::string_view(&separator, 1));
    std::vector<bool> plain;
    for (int f = 0; f < table.fieldCount(); ++f) {
        const FieldKind kind = table.field(f).kind;
        plain.push_back(plainSeparator &&
                        (kind == FieldKind::Integer || kind == FieldKind::Float ||
                         kind == FieldKind::Currency || kind == FieldKind::Boolean));
    }
    return plain;
}

void writeResults(const PointLists& lists, const TraverseOptions& options, std::ostream& out) {
    // Each line as the output takes it: in Windows-1251 as it is, or in UTF-8.
    auto forEachLine = [&](const std::function<void(std::string_view)>& emit) {
        forEachResultsLine(lists, [&](std::string_view line) {
            options.utf8 ? emit(utf8FromAnsi(line)) : emit(line);
        });
    };
    if (options.outputPath.empty()) {
        forEachLine([&out](std::string_view line) { out << line; });
    } else {
        writeNamedFile(options.outputPath, [&](ReplacingFile& file) {
            forEachLine([&file](std::string_view line) { file.write(line); });
        });
    }
}

}  // namespace

int runShow(const std::vector<std::string>& args, std::ostream& out) {
    if (args.size() != 1) throw UsageError{"show takes one table"};
    InputTable input(args[0]);
    TableDataset& table = input.table();
    std::vector<std::string_view> names;
    for (int f = 0; f < table.fieldCount(); ++f) names.push_back(table.field(f).name);
    RowPrinter header(out, std::vector<bool>(names.size(), false));  // names may hold anything
    header.print(names);
    header.flush();
    RowPrinter rows(out, plainFields(table));
    try {
        for (RowScan scan = table.scanRows(); const RowTexts* texts = scan.next();)
            rows.print(texts->all());
    } catch (const Error&) {
        rows.flush();  // the rows before a failure are shown, then the failure
        throw;
    }
    rows.flush();
    return 0;
}

int runTraverseCommand(const std::vector<std::string>& args, const TraverseOptions& options,
                       std::ostream& out) {
    if (args.size() < 2) throw UsageError{"traverse takes a table and the points to pick"};
    InputTable input(args[0]);
    TableDataset& table = input.table();
    PointLists lists;
    for (const int row :
         pickRows(table, std::vector<std::string>(args.begin() + 1, args.end()), options.byName)) {
        table.moveTo(row);
        appendPoint(lists, [&table](int field) { return table.fieldText(field); });
    }
    runTraverse(lists);
    writeResults(lists, options, out);
    return 0;
}

int runConvert(const std::vector<std::string>& args, const std::string& outputPath) {
    if (args.size() != 1) throw UsageError{"convert takes one point file"};
    if (outputPath.empty()) throw UsageError{"convert needs -o TABLE"};
    const auto points = readPointFile(args[0]);
    if (!points) {
        throw Error("Cannot convert '" + ansiFromUtf8(args[0]) +
                    "': it is a dBASE table already, or no file that can be read");
    }
    writeNamedFile(outputPath,
                   [&points](ReplacingFile& file) { writeWorkingTable(*points, file); });
    return 0;
}

}  // namespace geocalc::cli
