// Fuzz target: any bytes as a table file must give field texts or a clear
// failure, never a crash, a hang or an unbounded allocation.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/error.h"
#include "table/table_dataset.h"

namespace {

constexpr int kMaxRows = 2000;

const std::string& tablePath() {
    static const std::string path = "/tmp/geocalc-fuzz-" + std::to_string(getpid()) + ".dbf";
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FILE* file = std::fopen(tablePath().c_str(), "wb");
    if (file == nullptr) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    try {
        geocalc::TableDataset table;
        table.setReadOnly(true);
        table.setTableName(tablePath());
        table.open();
        const int rows = std::min(table.rowCount(), kMaxRows);
        for (int row = 0; row < rows; ++row) {
            for (int field = 0; field < table.fieldCount(); ++field) {
                table.fieldTextAt(row, field);
                table.isBlankAt(row, field);
            }
        }
        if (rows > 0) {
            table.last();
            table.moveBy(-1);
            table.fieldText(0);
        }
    } catch (const geocalc::Error&) {
        // A clear failure is a right answer for a broken file.
    }
    return 0;
}
