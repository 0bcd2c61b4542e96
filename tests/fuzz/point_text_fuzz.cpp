// Fuzz target: any bytes as a point file (a point text or GSI records) must
// give points or a clear failure, never a crash, a hang or an unbounded
// allocation. Differential checks: the points, or the failure, are the same
// whether the file comes whole or in chunks of any size (the first byte
// chooses it); and every file read gives, through the table written from
// it and read back by the table engine, the points the reading handed over.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "fuzzed_table.h"
#include "table/point_source.h"
#include "table/point_table.h"
#include "table/table_dataset.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

geocalc::TextChunks chunksOf(std::string_view text, std::size_t size) {
    return [text, size](const std::function<void(std::string_view)>& take) {
        for (std::size_t at = 0; at < text.size(); at += size) take(text.substr(at, size));
    };
}

// The points, or the failure's message.
std::pair<Rows, std::string> read(std::string_view text, std::size_t chunk,
                                  std::unique_ptr<geocalc::PointSource>& points) {
    Rows rows;
    try {
        points = geocalc::readPoints(chunksOf(text, chunk));
        points->forEachPoint(
            [&rows](const geocalc::PointRow& row) { rows.emplace_back(row.begin(), row.end()); });
    } catch (const geocalc::Error& e) {
        geocalc::fuzz::checkMessage(e);
        return {{}, e.what()};
    }
    return {rows, {}};
}

std::string withoutTrailingBlanks(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

// The coordinate as its number field stores it: "." as the mark, no "+",
// padded to the decimals.
std::string padded(std::string number, std::size_t decimals) {
    if (number.starts_with('+')) number.erase(0, 1);
    std::replace(number.begin(), number.end(), ',', '.');
    std::size_t point = number.find('.');
    if (decimals == 0) return number;
    if (point == std::string::npos) {
        point = number.size();
        number += '.';
    }
    number.append(decimals - (number.size() - point - 1), '0');
    return number;
}

void checkTable(const geocalc::PointSource& points, const Rows& rows) {
    const std::string path = geocalc::fuzz::scratchPath(".dbf");
    try {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        geocalc::writePointTable(points, std::tm{}, [&out](std::string_view bytes) {
            out.write(bytes.data(), std::streamsize(bytes.size()));
        });
    } catch (const geocalc::Error& e) {
        geocalc::fuzz::checkMessage(e);  // a coordinate too wide for a number field
        return;
    }
    geocalc::TableDataset table;
    table.setReadOnly(true);
    table.setTableName(path);
    table.open();
    if (std::size_t(table.rowCount()) != rows.size()) __builtin_trap();
    const std::size_t decimals = points.shape().decimals;
    for (int r = 0; r < table.rowCount(); ++r) {
        table.moveTo(r);
        const std::vector<std::string>& row = rows[std::size_t(r)];
        for (int c = 0; c < table.fieldCount(); ++c) {
            const std::string& text = row[std::size_t(c)];
            const bool number = c == 1 || c == 2;
            const std::string stored = number ? table.storedText(c) : table.fieldText(c);
            const std::string expected = number ? padded(text, decimals) : text;
            if (withoutTrailingBlanks(stored) != withoutTrailingBlanks(expected)) __builtin_trap();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t chunk = 1 + data[0] % 64;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::unique_ptr<geocalc::PointSource> whole, inChunks;
    const auto [rows, failure] = read(text, text.size() + 1, whole);
    if (read(text, chunk, inChunks) != std::pair{rows, failure}) __builtin_trap();
    if (failure.empty()) checkTable(*whole, rows);
    return 0;
}
