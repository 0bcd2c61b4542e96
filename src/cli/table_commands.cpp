#include "cli/table_commands.h"

#include <charconv>
#include <ostream>

#include "calc/traverse.h"
#include "charset/code_page.h"
#include "cli/cli_io.h"
#include "core/error.h"
#include "output/replacing_file.h"
#include "output/results_file.h"
#include "table/table_dataset.h"

namespace geocalc::cli {

namespace {

void openReadOnly(TableDataset& table, const std::string& path) {
    table.setReadOnly(true);
    table.setTableName(path);
    table.open();
}

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '\t': out += "\\t"; break;
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            case '\\': out += "\\\\"; break;
            default: out += c;
        }
    }
    return out;
}

void printRow(std::ostream& out, const std::vector<std::string>& ansiTexts) {
    std::string line;
    for (std::size_t i = 0; i < ansiTexts.size(); ++i) {
        if (i > 0) line += '\t';
        line += escaped(ansiTexts[i]);
    }
    printLine(out, line);
}

int rowOfNumber(TableDataset& table, const std::string& id) {
    long long number = 0;
    const auto [end, error] = std::from_chars(id.data(), id.data() + id.size(), number);
    if (error != std::errc() || end != id.data() + id.size()) {
        throw UsageError{"'" + id + "' is not a record number (give --names to pick by name)"};
    }
    if (number < 1 || number > table.rowCount()) {
        throw Error("Record " + ansiFromUtf8(id) + " does not exist: the table has " +
                    std::to_string(table.rowCount()) + " records");
    }
    return int(number - 1);
}

int rowOfName(TableDataset& table, const std::string& ansiName) {
    for (int row = 0; row < table.rowCount(); ++row) {
        if (table.fieldTextAt(row, 0) == ansiName) return row;
    }
    throw Error("No record is named '" + ansiName + "'");
}

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
    std::vector<std::string> texts;
    for (int f = 0; f < table.fieldCount(); ++f) texts.push_back(table.field(f).name);
    printRow(out, texts);
    for (int row = 0; row < table.rowCount(); ++row) {
        table.rowTexts(row, texts);
        printRow(out, texts);
    }
    return 0;
}

int runTraverseCommand(const std::vector<std::string>& args, const TraverseOptions& options,
                       std::ostream& out) {
    if (args.size() < 2) throw UsageError{"traverse takes a table and the points to pick"};
    TableDataset table;
    openReadOnly(table, args[0]);
    PointLists lists;
    for (std::size_t i = 1; i < args.size(); ++i) {
        table.moveTo(options.byName ? rowOfName(table, ansiFromUtf8(args[i])) : rowOfNumber(table, args[i]));
        appendPoint(lists, [&table](int field) { return table.fieldText(field); });
    }
    runTraverse(lists);
    writeResults(lists, options, out);
    return 0;
}

}  // namespace geocalc::cli
