#include "cli/input_table.h"

#include <filesystem>
#include <random>

#include "cli/cli_io.h"
#include "core/native_path.h"
#include "table/survey_table.h"

namespace geocalc::cli {

namespace {

// A name in the system's temporary folder that no other run takes.
std::string temporaryTablePath() {
    std::random_device random;
    const std::string name =
        "geocalc-" + std::to_string(random()) + std::to_string(random()) + ".dbf";
    return utf8FromPath(std::filesystem::temp_directory_path() / name);
}

}  // namespace

InputTable::InputTable(const std::string& path) {
    std::string opened = path;
    if (const auto points = readPointFile(path)) {
        converted_ = temporaryTablePath();
        writeNamedFile(converted_,
                       [&points](ReplacingFile& file) { writeWorkingTable(*points, file); });
        opened = converted_;
    }
    table_.setReadOnly(true);
    table_.setTableName(opened);
    try {
        table_.open();
    } catch (...) {
        removeConverted();
        throw;
    }
}

InputTable::~InputTable() {
    table_.close();
    removeConverted();
}

void InputTable::removeConverted() {
    std::error_code ignored;  // a temporary file left behind harms nothing
    if (!converted_.empty()) std::filesystem::remove(pathFromUtf8(converted_), ignored);
}

}  // namespace geocalc::cli
