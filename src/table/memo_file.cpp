#include "table/memo_file.h"

#include <algorithm>

#include "table/dbf_layout.h"
#include "table/file_beside.h"

namespace geocalc {

namespace {

constexpr std::uint32_t kDbaseIIIBlockSize = 512;
constexpr std::uint64_t kDbaseIVBlockSizeOffset = 20;
constexpr std::uint64_t kFoxProBlockSizeOffset = 6;
constexpr std::uint32_t kBlockHeaderSize = 8;
constexpr char kDbaseIVMarker[] = {'\xFF', '\xFF', '\x08', '\x00'};

std::uint32_t readBigEndian32(const char* p) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(p[i]);
    return value;
}

}  // namespace

MemoFile MemoFile::beside(const std::string& tablePath) {
    MemoFile memo;
    if ((memo.file_ = openFileBeside(tablePath, {".fpt", ".FPT"}, "memo file"))) {
        memo.format_ = Format::FoxPro;
        char size[2];
        if (memo.file_.readAt(size, 2, kFoxProBlockSizeOffset) == 2) {
            memo.blockSize_ = std::uint32_t(static_cast<unsigned char>(size[0])) << 8 |
                              static_cast<unsigned char>(size[1]);
        }
    } else if ((memo.file_ = openFileBeside(tablePath, {".dbt", ".DBT"}, "memo file"))) {
        memo.format_ = Format::Dbase;
        char size[2];
        memo.blockSize_ = kDbaseIIIBlockSize;
        if (memo.file_.readAt(size, 2, kDbaseIVBlockSizeOffset) == 2 && readUint16(size) >= 64) {
            memo.blockSize_ = readUint16(size);
        }
    }
    if (memo.blockSize_ == 0) memo.format_ = Format::None;
    memo.fileSize_ = std::uint64_t(std::max<std::int64_t>(memo.file_ ? memo.file_.size() : 0, 0));
    char nextFree[4];
    if (memo.format_ != Format::None && memo.file_.readAt(nextFree, 4, 0) == 4) {
        const std::uint32_t block =
            memo.format_ == Format::FoxPro ? readBigEndian32(nextFree) : readUint32(nextFree);
        memo.blocksEnd_ = std::uint64_t(block) * memo.blockSize_;
    }
    return memo;
}

std::optional<std::string> MemoFile::read(std::uint32_t block, Content content) const {
    if (format_ == Format::None || block == 0) return std::nullopt;
    const std::uint64_t offset = std::uint64_t(block) * blockSize_;
    if (offset >= fileSize_) return std::nullopt;
    // A header that names no free block beyond this memo says nothing of where it ends.
    const std::uint64_t end = blocksEnd_ > offset ? std::min(blocksEnd_, fileSize_) : fileSize_;
    std::optional<std::string> memo =
        format_ == Format::FoxPro ? readFoxPro(offset, end) : readDbase(offset, end);
    if (memo && content == Content::Text) {
        const std::size_t nul = memo->find('\0');
        if (nul != std::string::npos) memo->resize(nul);
    }
    return memo;
}

bool MemoFile::holdsContent(std::uint32_t block) const {
    if (format_ == Format::None || block == 0) return false;
    const std::uint64_t offset = std::uint64_t(block) * blockSize_;
    const std::string header = readBytes(offset, kBlockHeaderSize);
    if (format_ == Format::FoxPro) {
        return header.size() == kBlockHeaderSize && readBigEndian32(header.data() + 4) > 0 &&
               offset + kBlockHeaderSize < fileSize_;
    }
    if (header.size() == kBlockHeaderSize &&
        std::equal(header.begin(), header.begin() + 4, kDbaseIVMarker)) {
        return readUint32(header.data() + 4) > kBlockHeaderSize &&
               offset + kBlockHeaderSize < fileSize_;
    }
    return !header.empty() && header[0] != char(kEndOfFile);
}

std::string MemoFile::readBytes(std::uint64_t offset, std::uint64_t length) const {
    length =
        std::min({length, fileSize_ - std::min(offset, fileSize_), std::uint64_t(kMaxMemoSize)});
    std::string bytes(length, '\0');
    const std::int64_t n = file_.readAt(bytes.data(), bytes.size(), offset);
    bytes.resize(std::size_t(std::max<std::int64_t>(n, 0)));
    return bytes;
}

// `length` bytes from `offset`, or those before `end` and at most
// kMaxMemoSize of them followed by the cut marker.
std::string MemoFile::readCut(std::uint64_t offset, std::uint64_t length, std::uint64_t end) const {
    const std::uint64_t room = std::min<std::uint64_t>(end - std::min(offset, end), kMaxMemoSize);
    if (length <= room) return readBytes(offset, length);
    return readBytes(offset, room) + kCutMarker;
}

std::optional<std::string> MemoFile::readFoxPro(std::uint64_t offset, std::uint64_t end) const {
    const std::string header = readBytes(offset, kBlockHeaderSize);
    if (header.size() < kBlockHeaderSize) return std::nullopt;
    return readCut(offset + kBlockHeaderSize, readBigEndian32(header.data() + 4), end);
}

// dBASE IV blocks start with FF FF 08 00 and the length (header included);
// dBASE III memos run to the first end-of-file byte, or a NUL, which no
// dBASE III memo holds.
std::optional<std::string> MemoFile::readDbase(std::uint64_t offset, std::uint64_t end) const {
    const std::string header = readBytes(offset, kBlockHeaderSize);
    if (header.size() == kBlockHeaderSize &&
        std::equal(header.begin(), header.begin() + 4, kDbaseIVMarker)) {
        const std::uint32_t length = readUint32(header.data() + 4);
        return readCut(offset + kBlockHeaderSize,
                       length < kBlockHeaderSize ? 0 : length - kBlockHeaderSize, end);
    }
    std::string memo;
    for (std::uint64_t at = offset; at < end; at += kDbaseIIIBlockSize) {
        const std::string chunk =
            readBytes(at, std::min<std::uint64_t>(kDbaseIIIBlockSize, end - at));
        const std::size_t stop = chunk.find_first_of(std::string_view("\x1A\0", 2));
        memo.append(chunk, 0, stop);
        if (memo.size() > kMaxMemoSize) {
            memo.resize(kMaxMemoSize);
            return memo + kCutMarker;
        }
        if (stop != std::string::npos || chunk.size() < kDbaseIIIBlockSize) return memo;
    }
    // Text that runs on past the blocks in use has lost its end.
    if (end < fileSize_) memo += kCutMarker;
    return memo;
}

}  // namespace geocalc
