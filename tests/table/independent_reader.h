// What a reader independent of geocalc sees in a table: shapelib's dbfdump
// on Linux; on Windows, where it is missing, the bytes read here by the
// dBASE III layout alone.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

struct DumpedRecord {
    std::vector<std::string> values;  // raw field texts, blanks trimmed
    bool deleted = false;
    bool operator==(const DumpedRecord&) const = default;
};

inline std::string trimmedBlanks(std::string value) {
    value.erase(value.find_last_not_of(' ') + 1);
    value.erase(0, std::min(value.find_first_not_of(' '), value.size()));
    return value;
}

#ifdef _WIN32
inline std::vector<DumpedRecord> dumpIndependently(const std::string& path) {
    std::ifstream file(std::filesystem::u8path(path), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    auto word = [&bytes](std::size_t at) {
        return std::size_t(std::uint8_t(bytes[at])) | std::size_t(std::uint8_t(bytes[at + 1])) << 8;
    };
    const std::size_t count = word(4) | word(6) << 16, headerLength = word(8),
                      recordLength = word(10);
    std::vector<std::size_t> lengths;
    for (std::size_t at = 32; at < headerLength && bytes[at] != '\r'; at += 32)
        lengths.push_back(std::uint8_t(bytes[at + 16]));
    std::vector<DumpedRecord> records;
    for (std::size_t r = 0; r < count && headerLength + (r + 1) * recordLength <= bytes.size();
         ++r) {
        std::size_t at = headerLength + r * recordLength;
        DumpedRecord record;
        record.deleted = bytes[at++] == '*';
        for (const std::size_t length : lengths) {
            record.values.push_back(trimmedBlanks(bytes.substr(at, length)));
            at += length;
        }
        records.push_back(record);
    }
    return records;
}
#else
inline std::vector<DumpedRecord> dumpIndependently(const std::string& path) {
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
            records.back().values.push_back(trimmedBlanks(line.substr(colon + 2)));
        }
    }
    return records;
}
#endif
