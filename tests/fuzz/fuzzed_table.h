// A fuzz input as a table on disk: the table's bytes, then optionally
// "\nGCFUZZ-MEMO\n" and the memo file's bytes (written as both .dbt and .fpt,
// whichever the table asks for), then optionally "\nGCFUZZ-CPG\n" and the
// .cpg file's text. Targets that drive more than the table put their own
// steps first, ended by "\nGCFUZZ-TABLE\n".
#pragma once

#include <unistd.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "core/error.h"

namespace geocalc::fuzz {

inline constexpr std::string_view kTableMark = "\nGCFUZZ-TABLE\n";
inline constexpr std::string_view kMemoMark = "\nGCFUZZ-MEMO\n";
inline constexpr std::string_view kCpgMark = "\nGCFUZZ-CPG\n";

// A path of this process's own, so that targets run side by side.
inline std::string scratchPath(const char* extension) {
    return "/tmp/geocalc-fuzz-" + std::to_string(getpid()) + extension;
}

// Writes the part, or removes what an earlier input left there.
inline void writeOrRemove(const std::string& path, std::string_view bytes, bool present) {
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
inline bool cutAt(std::string_view& input, std::string_view mark, std::string_view& after) {
    const std::size_t at = input.find(mark);
    if (at == std::string_view::npos) return false;
    after = input.substr(at + mark.size());
    input = input.substr(0, at);
    return true;
}

// The steps before the table mark (none without it); the rest becomes the
// table `scratchPath(extension)` with its memo and code page files.
// Returns the table's path.
inline std::string writeFuzzedTable(std::string_view input, std::string_view& steps,
                                    const char* extension = ".dbf") {
    std::string_view table = input, memo, cpg;
    steps = {};
    if (std::string_view rest; cutAt(table, kTableMark, rest)) {
        steps = table;
        table = rest;
    }
    const bool hasCpg = cutAt(table, kCpgMark, cpg);
    const bool hasMemo = cutAt(table, kMemoMark, memo);
    writeOrRemove(scratchPath(extension), table, true);
    writeOrRemove(scratchPath(".dbt"), memo, hasMemo);
    writeOrRemove(scratchPath(".fpt"), memo, hasMemo);
    writeOrRemove(scratchPath(".cpg"), cpg, hasCpg);
    return scratchPath(extension);
}

// A command may end with one of the project's errors, which must say what
// went wrong; anything else thrown reaches the fuzzer as a finding.
inline void checkMessage(const Error& error) {
    if (std::string_view(error.what()).empty()) __builtin_trap();
}

}  // namespace geocalc::fuzz
