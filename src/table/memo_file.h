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

    enum class Content { Text, Bytes };

    // The memo stored from that block on, or nothing for a block the file
    // does not hold. A text memo ends at its first NUL byte: blocks never
    // written, and the holes of a sparse file, read as NULs. A memo runs no
    // further than the blocks in use (up to the next free block the file's
    // header names, where that lies beyond the memo's start) and no longer
    // than kMaxMemoSize; one that would is cut there and ends in kCutMarker.
    std::optional<std::string> read(std::uint32_t block, Content content) const;

    // Whether that block holds a memo of at least one byte, read from its
    // first bytes only (the grid asks this for every memo cell it paints).
    bool holdsContent(std::uint32_t block) const;

    // The longest memo read; longer ones are cut there.
    static constexpr std::uint32_t kMaxMemoSize = 1u << 20;
    static constexpr const char* kCutMarker = "[...]";

private:
    enum class Format { None, Dbase, FoxPro };
    Format format_ = Format::None;
    FileHandle file_;
    std::uint32_t blockSize_ = 512;
    std::uint64_t fileSize_ = 0;
    std::uint64_t blocksEnd_ =
        0;  // after the last block in use, as the header says; 0 where it does not

    std::optional<std::string> readDbase(std::uint64_t offset, std::uint64_t end) const;
    std::optional<std::string> readFoxPro(std::uint64_t offset, std::uint64_t end) const;
    std::string readBytes(std::uint64_t offset, std::uint64_t length) const;
    std::string readCut(std::uint64_t offset, std::uint64_t length, std::uint64_t end) const;
};

}  // namespace geocalc
