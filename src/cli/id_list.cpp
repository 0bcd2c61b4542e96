#include "cli/id_list.h"

#include <fstream>

#include "charset/code_page.h"
#include "core/error.h"
#include "core/native_path.h"

namespace geocalc::cli {

namespace {

void appendLines(std::istream& in, std::vector<std::string>& ids) {
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) ids.push_back(std::move(line));
    }
}

}  // namespace

void appendIdsFrom(const std::string& path, std::istream& standardInput,
                   std::vector<std::string>& ids) {
    if (path == "-") return appendLines(standardInput, ids);
    std::ifstream file(pathFromUtf8(path), std::ios::binary);
    if (file) appendLines(file, ids);
    if (!file.is_open() || file.bad())
        throw Error("Cannot read the ID file '" + ansiFromUtf8(path) + "'");
}

}  // namespace geocalc::cli
