#include "cli/record_picking.h"

#include <charconv>
#include <unordered_map>

#include "charset/code_page.h"
#include "cli/cli_io.h"
#include "core/error.h"

namespace geocalc::cli {

namespace {

int rowOfNumber(TableDataset& table, std::string_view id, const std::string& given) {
    long long number = 0;
    const auto [end, error] = std::from_chars(id.data(), id.data() + id.size(), number);
    if (error != std::errc() || end != id.data() + id.size() || id.empty() || id[0] == '-') {
        throw UsageError{"'" + given +
                         "' is not a record number or range (give --names to pick by name)"};
    }
    if (number < 1 || number > table.rowCount()) {
        throw Error("Record " + ansiFromUtf8(id) + " does not exist: the table has " +
                    std::to_string(table.rowCount()) + " records");
    }
    return int(number - 1);
}

// A record number, or a range N-M of them, in its order.
void appendRowsOf(TableDataset& table, const std::string& id, std::vector<int>& rows) {
    const std::size_t dash = id.find('-', 1);
    if (dash == std::string::npos) return rows.push_back(rowOfNumber(table, id, id));
    const int first = rowOfNumber(table, std::string_view(id).substr(0, dash), id);
    const int last = rowOfNumber(table, std::string_view(id).substr(dash + 1), id);
    const int step = last >= first ? 1 : -1;
    for (int row = first;; row += step) {
        rows.push_back(row);
        if (row == last) break;
    }
}

// The row of each name asked for: the first record whose first field is the
// name. One pass over the table for all names, ended once each is found.
std::unordered_map<std::string, int> rowsOfNames(TableDataset& table,
                                                 const std::vector<std::string>& ansiNames) {
    std::unordered_map<std::string, int> rows;
    for (const std::string& name : ansiNames) rows.emplace(name, -1);
    std::size_t missing = rows.size();
    for (int row = 0; missing > 0 && row < table.rowCount(); ++row) {
        const auto found = rows.find(table.fieldTextAt(row, 0));
        if (found != rows.end() && found->second < 0) {
            found->second = row;
            --missing;
        }
    }
    return rows;
}

int rowOfName(const std::unordered_map<std::string, int>& rows, const std::string& ansiName) {
    const int row = rows.at(ansiName);
    if (row < 0) throw Error("No record is named '" + ansiName + "'");
    return row;
}

}  // namespace

std::vector<int> pickRows(TableDataset& table, const std::vector<std::string>& ids, bool byName) {
    std::vector<std::string> keys;
    for (const std::string& id : ids) keys.push_back(byName ? ansiFromUtf8(id) : id);
    const auto rowsByName =
        byName ? rowsOfNames(table, keys) : std::unordered_map<std::string, int>();
    std::vector<int> rows;
    rows.reserve(keys.size());
    for (const std::string& key : keys) {
        if (byName) {
            rows.push_back(rowOfName(rowsByName, key));
        } else {
            appendRowsOf(table, key, rows);
        }
    }
    return rows;
}

}  // namespace geocalc::cli
