#include "table/record_cache.h"

#include <algorithm>

namespace geocalc {

RecordCache::RecordCache(const FileHandle& file, std::uint64_t firstRecordOffset,
                         std::size_t recordLength)
    : file_(file),
      firstRecordOffset_(firstRecordOffset),
      recordLength_(recordLength),
      recordsPerBlock_(std::uint32_t(std::max<std::size_t>(1, kBlockBytes / recordLength))),
      blank_(recordLength, ' ') {}

std::string_view RecordCache::record(std::uint32_t index) {
    if (!blocks_.empty()) {  // most reads fall in the block read last
        const Block& last = blocks_.front();
        const std::uint32_t within = index - last.firstRecord;
        if (index >= last.firstRecord && within < last.records)
            return last.record(index, recordLength_);
    }
    Block& block = load(index / recordsPerBlock_);
    const std::uint32_t within = index - block.firstRecord;
    if (within >= block.records) return blank_;
    return block.record(index, recordLength_);
}

void RecordCache::update(std::uint32_t index, std::string_view bytes) {
    for (Block& block : blocks_) {
        const std::uint32_t within = index - block.firstRecord;
        if (index < block.firstRecord || within >= recordsPerBlock_) continue;
        if (within >= block.records) {
            blocks_.clear();  // the block grew: read it again when asked
            return;
        }
        std::copy(bytes.begin(), bytes.end(), block.bytes.get() + within * recordLength_);
    }
}

RecordCache::Block& RecordCache::load(std::uint32_t blockIndex) {
    const std::uint32_t first = blockIndex * recordsPerBlock_;
    for (auto it = blocks_.begin(); it != blocks_.end(); ++it) {
        if (it->firstRecord == first) {
            blocks_.splice(blocks_.begin(), blocks_, it);
            return blocks_.front();
        }
    }
    // The least recently used block's buffer is read into again.
    if (blocks_.size() >= kBlocks) {
        blocks_.splice(blocks_.begin(), blocks_, std::prev(blocks_.end()));
    } else {
        blocks_.push_front(
            {0, 0, std::make_unique_for_overwrite<char[]>(recordsPerBlock_ * recordLength_)});
    }
    Block& block = blocks_.front();
    block.firstRecord = first;
    const std::int64_t n = file_.readAt(block.bytes.get(), recordsPerBlock_ * recordLength_,
                                        firstRecordOffset_ + std::uint64_t(first) * recordLength_);
    block.records = std::uint32_t(std::max<std::int64_t>(n, 0) / std::int64_t(recordLength_));
    return block;
}

}  // namespace geocalc
