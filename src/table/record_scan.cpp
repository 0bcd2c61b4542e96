#include "table/record_scan.h"

#include <algorithm>

#include "table/dbf_table.h"

namespace geocalc {

namespace {

// Large enough that a read's cost is its bytes, small enough to stay in the
// processor's cache while its records are taken apart.
constexpr std::size_t kBlockBytes = 256 * 1024;

}  // namespace

RecordScan::RecordScan(const DbfTable& table)
    : table_(table),
      recordLength_(std::size_t(table.recordLength())),
      recordsPerBlock_(std::uint32_t(std::max<std::size_t>(1, kBlockBytes / recordLength_))),
      block_(std::make_unique_for_overwrite<char[]>(recordsPerBlock_ * recordLength_)) {}

bool RecordScan::next(std::string_view& record) {
    for (;;) {
        while (at_ < blockRecords_) {
            const char* bytes = block_.get() + std::size_t(at_++) * recordLength_;
            if (bytes[0] == '*') continue;
            record = std::string_view(bytes, recordLength_);
            return true;
        }
        if (!readBlock()) return false;
    }
}

bool RecordScan::readBlock() {
    const std::uint32_t count = std::min(recordsPerBlock_, table_.physicalCount() - nextPhysical_);
    if (count == 0) return false;
    blockRecords_ = table_.readRecords(nextPhysical_, count, block_.get());
    nextPhysical_ += blockRecords_;
    at_ = 0;
    return blockRecords_ > 0;
}

}  // namespace geocalc
