// Reading whole tables for the tests.
#pragma once

#include <string>
#include <vector>

#include "table/table_dataset.h"

inline std::string fixturePath(const std::string& name) {
    return std::string(GEOCALC_SOURCE_DIR) + "/tests/table/fixtures/" + name;
}

using Rows = std::vector<std::vector<std::string>>;

// Field names, then every row's field texts, read without moving the current record.
inline Rows readAll(geocalc::TableDataset& table) {
    Rows rows(1);
    for (int f = 0; f < table.fieldCount(); ++f) rows[0].push_back(table.field(f).name);
    for (int r = 0; r < table.rowCount(); ++r) {
        rows.emplace_back();
        for (int f = 0; f < table.fieldCount(); ++f) rows.back().push_back(table.fieldTextAt(r, f));
    }
    return rows;
}

inline Rows readTable(const std::string& path) {
    geocalc::TableDataset table;
    table.setTableName(path);
    table.open();
    return readAll(table);
}
