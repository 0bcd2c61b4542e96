// The table a command reads: a dBASE table as it is, or a point text file
// through the table its points make, kept in a temporary file while the
// command runs.
#pragma once

#include <string>

#include "table/table_dataset.h"

namespace geocalc::cli {

class InputTable {
public:
    // Opens the file read-only, with no working copy beside it.
    explicit InputTable(const std::string& path);
    ~InputTable();
    InputTable(const InputTable&) = delete;
    InputTable& operator=(const InputTable&) = delete;

    TableDataset& table() { return table_; }

private:
    void removeConverted();

    std::string converted_;  // the temporary table's path; empty for a dBASE table
    TableDataset table_;
};

}  // namespace geocalc::cli
