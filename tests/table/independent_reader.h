// What shapelib's dbfdump, a reader independent of geocalc, sees in a table.
#pragma once

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

struct DumpedRecord {
    std::vector<std::string> values;  // raw field texts, blanks trimmed
    bool deleted = false;
    bool operator==(const DumpedRecord&) const = default;
};

#ifndef _WIN32  // dbfdump is a Linux program
inline std::vector<DumpedRecord> dumpWithShapelib(const std::string& path) {
    std::vector<DumpedRecord> records;
    FILE* pipe = popen(("dbfdump -m -r '" + path + "' 2>&1").c_str(), "r");
    if (pipe == nullptr) return records;
    std::string output;
    char buffer[4096];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
    pclose(pipe);
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("Record:", 0) == 0) {
            records.emplace_back();
        } else if (line == "(DELETED)" && !records.empty()) {
            records.back().deleted = true;
        } else if (const std::size_t colon = line.find(": ");
                   colon != std::string::npos && !records.empty()) {
            std::string value = line.substr(colon + 2);
            value.erase(value.find_last_not_of(' ') + 1);
            value.erase(0, std::min(value.find_first_not_of(' '), value.size()));
            records.back().values.push_back(value);
        }
    }
    return records;
}
#endif
