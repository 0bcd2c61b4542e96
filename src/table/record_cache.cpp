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
        if (index >= last.firstRecord && within < last.records) {
            return std::string_view(last.bytes).substr(within * recordLength_, recordLength_);
        }
    }
    Block& block = load(index / recordsPerBlock_);
    const std::uint32_t within = index - block.firstRecord;
    if (within >= block.records) return blank_;
    return std::string_view(block.bytes).substr(within * recordLength_, recordLength_);
}

void RecordCache::update(std::uint32_t index, std::string_view bytes) {
    for (Block& block : blocks_) {
        const std::uint32_t within = index - block.firstRecord;
        if (index < block.firstRecord || within >= recordsPerBlock_) continue;
        if (within >= block.records) {
            blocks_.clear();  // the block grew: read it again when asked
            return;
        }
        std::copy(bytes.begin(), bytes.end(), block.bytes.begin() + std::ptrdiff_t(within * recordLength_));
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
    if (blocks_.size() >= kBlocks) blocks_.pop_back();
    Block block{first, 0, std::string(recordsPerBlock_ * recordLength_, ' ')};
    const ssize_t n = file_.readAt(block.bytes.data(), block.bytes.size(),
                                   firstRecordOffset_ + std::uint64_t(first) * recordLength_);
    block.records = std::uint32_t(std::max<ssize_t>(n, 0) / ssize_t(recordLength_));
    blocks_.push_front(std::move(block));
    return blocks_.front();
}

}  // namespace geocalc
