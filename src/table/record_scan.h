// Every record of a table not marked deleted, in file order, read in one pass
// over the file: what batch work that needs no row numbers goes through.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

namespace geocalc {

class DbfTable;

class RecordScan {
public:
    explicit RecordScan(const DbfTable& table);

    // The next record shown, valid until the next call; false after the last
    // record the file holds whole. A failing read fails with the engine's
    // message.
    bool next(std::string_view& record);

private:
    bool readBlock();

    const DbfTable& table_;
    std::size_t recordLength_;
    std::uint32_t recordsPerBlock_;
    std::unique_ptr<char[]> block_;
    std::uint32_t nextPhysical_ = 0;  // the first record after the block
    std::uint32_t blockRecords_ = 0;
    std::uint32_t at_ = 0;  // within the block
};

}  // namespace geocalc
