#include "table/dbf_table.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>

#include "charset/code_page.h"
#include "core/error.h"
#include "output/file_ops.h"
#include "table/field_encoding.h"
#include "table/field_text.h"

namespace geocalc {

namespace {

constexpr std::uint64_t kDateOffset = 1;
constexpr std::size_t kScanBytes = 1 << 20;

std::string systemReason(int error) {
    switch (error) {
        case ENOENT: return "Table does not exist.";
        case EACCES:
        case EPERM: return "Permission denied.";
        case EISDIR: return "Not a table: it is a folder.";
        case ENOSPC: return "The disk is full.";
        default: return std::string(std::strerror(error)) + ".";
    }
}

// Opens read-write where the file may be written, else read-only.
FileHandle openTableFile(const std::string& path, DbfTable::Access access, bool& readOnly) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) throw Error(engineMessage(systemReason(errno), path));
    if (S_ISDIR(info.st_mode)) throw Error(engineMessage(systemReason(EISDIR), path));
    readOnly = access == DbfTable::Access::ReadOnly || isMarkedReadOnly(info.st_mode);
    int fd = readOnly ? -1 : ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        readOnly = true;
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    }
    if (fd < 0) throw Error(engineMessage(systemReason(errno), path));
    return FileHandle(fd);
}

std::string readHeader(const FileHandle& file, const std::string& path, std::size_t size) {
    std::string bytes(size, '\0');
    const ssize_t n = file.readAt(bytes.data(), bytes.size(), 0);
    if (n < 0) throw Error(engineMessage(systemReason(errno), path));
    bytes.resize(std::size_t(n));
    return bytes;
}

}  // namespace

std::string engineMessage(const std::string& text, const std::string& path) {
    return text + "\r\nFile: " + ansiFromUtf8(path);
}

std::unique_ptr<DbfTable> DbfTable::open(const std::string& path, Access access) {
    bool readOnly = false;
    FileHandle file = openTableFile(path, access, readOnly);
    const std::int64_t fileSize = file.size();
    try {
        const std::string first = readHeader(file, path, kFileHeaderSize);
        TableCharset charset = TableCharset::forTable(path, declaredLanguageDriver(first));
        const std::size_t headerLength = std::size_t(std::max(declaredHeaderLength(first), kFileHeaderSize));
        const std::string header = readHeader(file, path, headerLength);
        DbfLayout layout = parseDbfLayout(header, std::uint64_t(std::max<std::int64_t>(fileSize, 0)), charset);
        return std::unique_ptr<DbfTable>(new DbfTable(path, std::move(file), readOnly, std::move(layout),
                                                      std::move(charset), std::uint64_t(fileSize)));
    } catch (const Error& e) {
        if (std::string_view(e.what()).find("\r\nFile: ") != std::string_view::npos) throw;
        throw Error(engineMessage(e.what(), path));
    }
}

DbfTable::DbfTable(std::string path, FileHandle file, bool readOnly, DbfLayout layout,
                   TableCharset charset, std::uint64_t fileSize)
    : path_(std::move(path)),
      file_(std::move(file)),
      readOnly_(readOnly),
      layout_(std::move(layout)),
      charset_(std::move(charset)),
      memo_(layout_.hasMemoFields() ? MemoFile::beside(path_) : MemoFile()),
      cache_(file_, std::uint64_t(layout_.headerLength), std::size_t(layout_.recordLength)) {
    const std::uint64_t wholeRecords = (fileSize - std::uint64_t(layout_.headerLength)) /
                                       std::uint64_t(layout_.recordLength);
    physicalCount_ = std::uint32_t(std::min<std::uint64_t>(layout_.headerRecordCount, wholeRecords));
}

void DbfTable::fail(const std::string& what) const { throw Error(engineMessage(what, path_)); }

std::optional<std::uint32_t> DbfTable::visibleAtOrAfter(std::uint32_t physical) {
    for (; physical < physicalCount_; ++physical) {
        if (!isDeleted(physical)) return physical;
    }
    return std::nullopt;
}

void DbfTable::ensureDeletedIndex() {
    if (deletedIndexed_) return;
    const std::size_t recordLength = std::size_t(layout_.recordLength);
    const std::uint32_t perChunk = std::uint32_t(std::max<std::size_t>(1, kScanBytes / recordLength));
    std::string chunk(std::size_t(perChunk) * recordLength, '\0');
    for (std::uint32_t first = 0; first < physicalCount_; first += perChunk) {
        const std::uint32_t count = std::min(perChunk, physicalCount_ - first);
        const ssize_t n = file_.readAt(chunk.data(), std::size_t(count) * recordLength,
                                       std::uint64_t(layout_.headerLength) + std::uint64_t(first) * recordLength);
        const std::uint32_t whole = std::uint32_t(std::max<ssize_t>(n, 0) / ssize_t(recordLength));
        for (std::uint32_t i = 0; i < whole; ++i) {
            if (chunk[std::size_t(i) * recordLength] == '*') deleted_.push_back(first + i);
        }
    }
    deletedIndexed_ = true;
}

std::uint32_t DbfTable::visibleCount() {
    ensureDeletedIndex();
    return physicalCount_ - std::uint32_t(deleted_.size());
}

// The deleted records before visible record v are those whose own count of
// visible records before them, deleted_[i] - i, is at most v.
std::uint32_t DbfTable::physicalOf(std::uint32_t visible) {
    ensureDeletedIndex();
    if (deleted_.empty()) return visible;
    std::size_t low = 0, high = deleted_.size();
    while (low < high) {
        const std::size_t mid = (low + high) / 2;
        if (deleted_[mid] - mid <= visible) {
            low = mid + 1;
        } else {
            high = mid;
        }
    }
    return visible + std::uint32_t(low);
}

std::uint32_t DbfTable::visibleOf(std::uint32_t physical) {
    ensureDeletedIndex();
    return physical - std::uint32_t(std::lower_bound(deleted_.begin(), deleted_.end(), physical) - deleted_.begin());
}

std::string DbfTable::fieldText(std::string_view record, int field) const {
    return geocalc::fieldText(RecordFormat{layout_, charset_, memo_}, layout_.fields[std::size_t(field)], record);
}

void DbfTable::fieldText(std::string_view record, int field, std::string& out) const {
    geocalc::fieldText(RecordFormat{layout_, charset_, memo_}, layout_.fields[std::size_t(field)], record, out);
}

bool DbfTable::isBlank(std::string_view record, int field) const {
    return isBlankField(RecordFormat{layout_, charset_, memo_}, layout_.fields[std::size_t(field)], record);
}

std::string DbfTable::blankRecord() const {
    std::string record(std::size_t(layout_.recordLength), ' ');
    for (const DbfField& field : layout_.fields) blankField(field, record);
    if (layout_.nullFlagsOffset >= 0) {
        std::fill_n(record.begin() + layout_.nullFlagsOffset, layout_.nullFlagsLength, '\0');
    }
    return record;
}

void DbfTable::setFieldText(std::string& record, int field, std::string_view text) const {
    encodeFieldText(layout_.fields[std::size_t(field)], charset_, text, record);
}

void DbfTable::writeRecord(std::uint32_t physical, std::string_view bytes) {
    const std::uint64_t offset = std::uint64_t(layout_.headerLength) + std::uint64_t(physical) * std::uint64_t(layout_.recordLength);
    if (!file_.writeAt(bytes.data(), bytes.size(), offset) || ::fdatasync(file_.get()) != 0) {
        const int error = errno;
        fail("Cannot write record " + std::to_string(physical + 1) + ": " + systemReason(error));
    }
    cache_.update(physical, bytes);
}

std::uint32_t DbfTable::appendRecord(std::string_view bytes) {
    // Another program may have appended records since the table was opened:
    // the new record goes after whatever the header now counts.
    char countBytes[4];
    if (file_.readAt(countBytes, sizeof countBytes, 4) != 4) fail("Cannot read the table header.");
    const std::uint64_t fileSize = std::uint64_t(std::max<std::int64_t>(file_.size(), 0));
    const std::uint64_t wholeRecords = (fileSize - std::min<std::uint64_t>(fileSize, std::uint64_t(layout_.headerLength))) /
                                       std::uint64_t(layout_.recordLength);
    const std::uint32_t index = std::uint32_t(std::min<std::uint64_t>(
        std::max<std::uint64_t>(readUint32(countBytes), physicalCount_), wholeRecords));

    std::string tail(bytes);
    tail += char(kEndOfFile);
    const std::uint64_t offset = std::uint64_t(layout_.headerLength) + std::uint64_t(index) * std::uint64_t(layout_.recordLength);
    if (!file_.writeAt(tail.data(), tail.size(), offset)) {
        const int error = errno;
        (void)!::ftruncate(file_.get(), off_t(fileSize));
        fail("Cannot append a record: " + systemReason(error));
    }
    writeHeaderCount(index + 1);
    if (index != physicalCount_) {  // records from elsewhere: read their flags again when needed
        deletedIndexed_ = false;
        deleted_.clear();
    }
    physicalCount_ = index + 1;
    cache_.clear();
    return index;
}

void DbfTable::writeHeaderCount(std::uint32_t count) {
    std::time_t now = std::time(nullptr);
    std::tm today{};
    localtime_r(&now, &today);
    char header[7];
    header[0] = char(today.tm_year);  // the year less 1900
    header[1] = char(today.tm_mon + 1);
    header[2] = char(today.tm_mday);
    writeUint32(header + 3, count);
    if (!file_.writeAt(header, sizeof header, kDateOffset) || ::fdatasync(file_.get()) != 0) {
        fail("Cannot write the table header: " + systemReason(errno));
    }
}

void DbfTable::markDeleted(std::uint32_t physical) {
    std::string bytes(record(physical));
    bytes[0] = '*';
    writeRecord(physical, bytes);
    if (deletedIndexed_) deleted_.insert(std::lower_bound(deleted_.begin(), deleted_.end(), physical), physical);
}

}  // namespace geocalc
