// Fuzz target: any bytes as a table file, with a memo file and a code page
// file beside it made from the same input (see fuzzed_table.h), must give
// field texts or a clear failure, never a crash, a hang or an unbounded
// allocation; the one-pass scan must give the texts that reading row by row
// gives; and `geocalc-cli show` on it prints a line of names and a line a
// record, or the records before its failure and then the failure.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "cli/table_commands.h"
#include "fuzzed_table.h"
#include "table/table_dataset.h"

namespace {

constexpr int kMaxRows = 2000;

// Reads every text row by row and in one pass; returns the row count.
int readRows(const std::string& path) {
    geocalc::TableDataset dataset;
    dataset.setReadOnly(true);
    dataset.setTableName(path);
    dataset.open();
    const int rows = std::min(dataset.rowCount(), kMaxRows);
    for (int row = 0; row < rows; ++row) {
        for (int field = 0; field < dataset.fieldCount(); ++field) {
            dataset.fieldTextAt(row, field);
            dataset.isBlankAt(row, field);
        }
    }
    // The one-pass scan gives every row's texts as the row-by-row reads do.
    int scanned = 0;
    for (geocalc::RowScan scan = dataset.scanRows(); const geocalc::RowTexts* texts = scan.next();
         ++scanned) {
        for (int field = 0; scanned < rows && field < dataset.fieldCount(); ++field) {
            if ((*texts)[std::size_t(field)] != dataset.fieldTextAt(scanned, field))
                __builtin_trap();
        }
    }
    if (scanned != dataset.rowCount()) __builtin_trap();
    if (rows > 0) {
        dataset.last();
        dataset.moveBy(-1);
        dataset.fieldText(0);
    }
    return dataset.rowCount();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view steps;
    const std::string path = geocalc::fuzz::writeFuzzedTable(
        std::string_view(reinterpret_cast<const char*>(data), size), steps);
    int rows = -1;
    try {
        rows = readRows(path);
    } catch (const geocalc::Error& e) {
        geocalc::fuzz::checkMessage(e);  // a clear failure is a right answer for a broken file
    }
    try {
        std::ostringstream out;
        geocalc::cli::runShow({path}, out);
        // `show` escapes every line break inside a text: one line per record.
        const std::string printed = out.str();
        if (rows >= 0 && std::count(printed.begin(), printed.end(), '\n') != 1 + rows)
            __builtin_trap();
    } catch (const geocalc::Error& e) {
        geocalc::fuzz::checkMessage(e);
    }
    return 0;
}
