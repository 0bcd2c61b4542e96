// Fuzz target: any bytes as a table file, with a memo file and a code page
// file beside it made from the same input, must give field texts or a clear
// failure, never a crash, a hang or an unbounded allocation; the one-pass
// scan must give the texts that reading row by row gives.
//
// The input is the table's bytes, then optionally "\nGCFUZZ-MEMO\n" and the
// memo file's bytes (written as both .dbt and .fpt, whichever the table
// asks for), then optionally "\nGCFUZZ-CPG\n" and the .cpg file's text.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "core/error.h"
#include "table/table_dataset.h"

namespace {

constexpr int kMaxRows = 2000;
constexpr std::string_view kMemoMark = "\nGCFUZZ-MEMO\n";
constexpr std::string_view kCpgMark = "\nGCFUZZ-CPG\n";

std::string pathWith(const char* extension) {
    return "/tmp/geocalc-fuzz-" + std::to_string(getpid()) + extension;
}

// Writes the part, or removes what an earlier input left there.
void writeOrRemove(const std::string& path, std::string_view bytes, bool present) {
    if (!present) {
        std::remove(path.c_str());
        return;
    }
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
}

// Cuts `input` at the first `mark`: what follows it goes to `after`.
bool cutAt(std::string_view& input, std::string_view mark, std::string_view& after) {
    const std::size_t at = input.find(mark);
    if (at == std::string_view::npos) return false;
    after = input.substr(at + mark.size());
    input = input.substr(0, at);
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view table(reinterpret_cast<const char*>(data), size), memo, cpg;
    const bool hasCpg = cutAt(table, kCpgMark, cpg);
    const bool hasMemo = cutAt(table, kMemoMark, memo);
    writeOrRemove(pathWith(".dbf"), table, true);
    writeOrRemove(pathWith(".dbt"), memo, hasMemo);
    writeOrRemove(pathWith(".fpt"), memo, hasMemo);
    writeOrRemove(pathWith(".cpg"), cpg, hasCpg);
    try {
        geocalc::TableDataset dataset;
        dataset.setReadOnly(true);
        dataset.setTableName(pathWith(".dbf"));
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
        for (geocalc::RowScan scan = dataset.scanRows();
             const geocalc::RowTexts* texts = scan.next(); ++scanned) {
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
    } catch (const geocalc::Error&) {
        // A clear failure is a right answer for a broken file.
    }
    return 0;
}
