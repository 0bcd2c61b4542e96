// The memo file beside a table: .dbt (dBASE III and IV) or .fpt (FoxPro).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "table/file_handle.h"

namespace geocalc {

class MemoFile {
public:
    // The memo file of the table at tablePath, if one lies beside it. A missing
    // or unreadable memo file does not keep the table from opening: its memos
    // read as blank.
    static MemoFile beside(const std::string& tablePath);

    // The whole memo stored from that block on, or nothing for a block the
    // file does not hold.
    std::optional<std::string> read(std::uint32_t block) const;

    // Whether that block holds a memo of at least one byte, read from its
    // first bytes only (the grid asks this for every memo cell it paints).
    bool holdsContent(std::uint32_t block) const;

    // The longest memo read; longer ones are cut there.
    static constexpr std::uint32_t kMaxMemoSize = 64u << 20;

private:
    enum class Format { None, Dbase, FoxPro };
    Format format_ = Format::None;
    FileHandle file_;
    std::uint32_t blockSize_ = 512;
    std::uint64_t fileSize_ = 0;

    std::optional<std::string> readDbase(std::uint64_t offset) const;
    std::optional<std::string> readFoxPro(std::uint64_t offset) const;
    std::string readBytes(std::uint64_t offset, std::uint64_t length) const;
};

}  // namespace geocalc
