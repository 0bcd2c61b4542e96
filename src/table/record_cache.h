// Records read from the table file on demand, through a small cache of
// blocks, so that a table of any size is read without being loaded.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <string_view>

#include "table/file_handle.h"

namespace geocalc {

class RecordCache {
public:
    static constexpr std::size_t kBlockBytes = 64 * 1024;
    static constexpr std::size_t kBlocks = 8;

    RecordCache(const FileHandle& file, std::uint64_t firstRecordOffset, std::size_t recordLength);

    // The bytes of record `index`. A record the file no longer holds whole
    // (another program cut the file) reads as blanks. The view stays valid
    // until the next call.
    std::string_view record(std::uint32_t index);

    // Keeps the cache in step with a record just written to the file.
    void update(std::uint32_t index, std::string_view bytes);
    void clear() { blocks_.clear(); }

private:
    struct Block {
        std::uint32_t firstRecord;
        std::uint32_t records;  // whole records read
        std::unique_ptr<char[]> bytes;
        std::string_view record(std::uint32_t index, std::size_t length) const {
            return {bytes.get() + (index - firstRecord) * length, length};
        }
    };
    Block& load(std::uint32_t blockIndex);

    const FileHandle& file_;
    std::uint64_t firstRecordOffset_;
    std::size_t recordLength_;
    std::uint32_t recordsPerBlock_;
    std::list<Block> blocks_;  // most recently used first
    std::string blank_;
};

}  // namespace geocalc
