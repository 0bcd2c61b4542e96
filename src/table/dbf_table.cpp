#include "table/dbf_table.h"

#include <algorithm>
#include <ctime>

#include "core/error.h"
#include "core/local_date.h"
#include "core/system_error.h"
#include "table/engine_message.h"
#include "table/field_encoding.h"
#include "table/field_text.h"
#include "table/file_lock.h"

namespace geocalc {

namespace {

constexpr std::uint64_t kDateOffset = 1;
constexpr std::size_t kScanBytes = 1 << 20;
constexpr const char* kDetachedMessage =
    "The table was deleted or replaced by another program; open it again to change it.";

// Why the last system call failed, as the engine says it.
std::string lastSystemReason() {
    const int error = lastSystemError();
    if (isMissingFile(error)) return "Table does not exist.";
    if (isPermissionDenied(error)) return "Permission denied.";
    if (isDiskFull(error)) return "The disk is full.";
    return systemErrorDescription(error) + ".";
}

// Opens read-write where the file may be written, else read-only, and holds
// it open against a copy that would replace it.
FileHandle openTableFile(const std::string& path, DbfTable::Access access, bool& readOnly) {
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        FileKind kind = FileKind::Other;
        readOnly = access == DbfTable::Access::ReadOnly;
        FileHandle file =
            readOnly ? FileHandle() : openWithoutWaiting(path, FileAccess::ReadWrite, kind);
        if (!file && (readOnly || refusesWriting(lastSystemError()))) {
            readOnly = true;
            file = openWithoutWaiting(path, FileAccess::Read, kind);
        }
        if (!file) throw Error(engineMessage(lastSystemReason(), path));
        if (kind != FileKind::Regular) {
            throw Error(engineMessage(
                std::string("Not a table: it ") + describeNonRegular(kind) + ".", path));
        }
        if (file.markedReadOnly()) readOnly = true;
        if (holdWhileOpen(file, path)) return file;
    }
    throw Error(engineMessage("The table keeps being replaced by another program.", path));
}

// The records the header counts that the file holds whole.
std::uint32_t countedRecords(std::uint32_t headerCount, std::uint64_t fileSize,
                             const DbfLayout& layout) {
    const std::uint64_t header = std::uint64_t(layout.headerLength);
    const std::uint64_t wholeRecords =
        (fileSize - std::min(fileSize, header)) / std::uint64_t(layout.recordLength);
    return std::uint32_t(std::min<std::uint64_t>(headerCount, wholeRecords));
}

std::string readHeader(const FileHandle& file, const std::string& path, std::size_t size) {
    std::string bytes(size, '\0');
    const std::int64_t n = file.readAt(bytes.data(), bytes.size(), 0);
    if (n < 0) throw Error(engineMessage(lastSystemReason(), path));
    bytes.resize(std::size_t(n));
    return bytes;
}

}  // namespace

std::unique_ptr<DbfTable> DbfTable::open(const std::string& path, Access access) {
    bool readOnly = false;
    FileHandle file = openTableFile(path, access, readOnly);
    const std::int64_t fileSize = file.size();
    try {
        const std::string first = readHeader(file, path, kFileHeaderSize);
        TableCharset charset = TableCharset::forTable(path, declaredLanguageDriver(first));
        const std::size_t headerLength =
            std::size_t(std::max(declaredHeaderLength(first), kFileHeaderSize));
        const std::string header = readHeader(file, path, headerLength);
        DbfLayout layout =
            parseDbfLayout(header, std::uint64_t(std::max<std::int64_t>(fileSize, 0)), charset);
        return std::unique_ptr<DbfTable>(new DbfTable(path, std::move(file), readOnly,
                                                      std::move(layout), std::move(charset),
                                                      std::uint64_t(fileSize)));
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
    stamp_ = file_.stamp();
    physicalCount_ = countedRecords(layout_.headerRecordCount, fileSize, layout_);
}

void DbfTable::fail(const std::string& what) const { throw Error(engineMessage(what, path_)); }

std::optional<std::uint32_t> DbfTable::visibleAtOrAfter(std::uint32_t physical) {
    for (; physical < physicalCount_; ++physical) {
        if (!isDeleted(physical)) return physical;
    }
    return std::nullopt;
}

// Reads every deletion flag once. Holes of a sparse file read as zeros, never
// a deletion mark, so they are stepped over without reading.
void DbfTable::ensureDeletedIndex() {
    if (deletedIndexed_) return;
    const std::uint64_t recordLength = std::uint64_t(layout_.recordLength);
    const std::uint64_t firstOffset = std::uint64_t(layout_.headerLength);
    const std::uint64_t perChunk = std::max<std::uint64_t>(1, kScanBytes / recordLength);
    std::string chunk(perChunk * recordLength, '\0');
    for (std::uint64_t first = 0; first < physicalCount_;) {
        const std::uint64_t data = file_.nextData(firstOffset + first * recordLength);
        if (data == FileHandle::kNoMoreData) break;
        first = std::max(first, (data - firstOffset) / recordLength);
        if (first >= physicalCount_) break;
        const std::uint64_t count = std::min<std::uint64_t>(perChunk, physicalCount_ - first);
        const std::int64_t n =
            file_.readAt(chunk.data(), count * recordLength, firstOffset + first * recordLength);
        const std::uint64_t whole = std::uint64_t(std::max<std::int64_t>(n, 0)) / recordLength;
        for (std::uint64_t i = 0; i < whole; ++i) {
            if (chunk[i * recordLength] == '*') deleted_.push_back(std::uint32_t(first + i));
        }
        first += count;
    }
    deletedIndexed_ = true;
}

std::uint32_t DbfTable::readRecords(std::uint32_t first, std::uint32_t count, char* buffer) const {
    const std::uint64_t recordLength = std::uint64_t(layout_.recordLength);
    const std::int64_t n = file_.readAt(buffer, count * recordLength, offsetOf(first));
    if (n < 0)
        fail("Cannot read record " + std::to_string(std::uint64_t(first) + 1) + ": " +
             lastSystemReason());
    return std::uint32_t(std::uint64_t(n) / recordLength);
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
    return physical - std::uint32_t(std::lower_bound(deleted_.begin(), deleted_.end(), physical) -
                                    deleted_.begin());
}

std::string DbfTable::fieldText(std::string_view record, int field) const {
    return geocalc::fieldText(format(), layout_.fields[std::size_t(field)], record);
}

std::string DbfTable::storedText(std::string_view record, int field) const {
    std::string_view stored =
        geocalc::storedText(format(), layout_.fields[std::size_t(field)], record);
    stored.remove_prefix(std::min(stored.find_first_not_of(' '), stored.size()));
    return std::string(stored);
}

bool DbfTable::isBlank(std::string_view record, int field) const {
    return isBlankField(format(), layout_.fields[std::size_t(field)], record);
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

std::uint64_t DbfTable::offsetOf(std::uint32_t physical) const {
    return std::uint64_t(layout_.headerLength) +
           std::uint64_t(physical) * std::uint64_t(layout_.recordLength);
}

bool DbfTable::noticeDetached() {
    if (detached_ || file_.isNamedBy(path_)) return false;
    detached_ = true;
    readOnly_ = true;
    return true;
}

void DbfTable::checkAttached() {
    noticeDetached();
    if (detached_) fail(kDetachedMessage);
}

bool DbfTable::refresh() {
    if (noticeDetached()) fail(kDetachedMessage);
    const FileStamp now = file_.stamp();
    const bool changed = !now.sameFileState(stamp_);
    if (!changed && stamp_.settled) return false;
    stamp_ = now;
    forgetReads();
    return changed;
}

// What this program wrote itself is kept as it goes; the stamp it leaves is
// not taken, so that the next refresh also reads what others wrote meanwhile.
void DbfTable::forgetReads() {
    cache_.clear();
    deletedIndexed_ = false;
    deleted_.clear();
    char countBytes[4];
    const std::int64_t fileSize = file_.size();
    if (fileSize >= 0 && file_.readAt(countBytes, sizeof countBytes, 4) == sizeof countBytes) {
        physicalCount_ = countedRecords(readUint32(countBytes), std::uint64_t(fileSize), layout_);
    }
}

void DbfTable::failDeleted(std::uint32_t physical, const std::string& advice) {
    forgetReads();
    stamp_ = {};  // the next refresh shows the table anew
    throw Error("Record " + std::to_string(std::uint64_t(physical) + 1) +
                " was deleted by another program" + advice);
}

std::string DbfTable::standingRecord(std::uint32_t physical) {
    const std::uint64_t offset = offsetOf(physical);
    const std::size_t length = std::size_t(layout_.recordLength);
    std::string bytes(length, '\0');
    std::int64_t n = 0;
    {
        RangeLock recordLock(file_, offset, length);
        n = file_.readAt(bytes.data(), length, offset);
    }
    if (n < 0)
        fail("Cannot read record " + std::to_string(std::uint64_t(physical) + 1) + ": " +
             lastSystemReason());
    if (std::size_t(n) < length || bytes[0] == '*') failDeleted(physical, "");
    cache_.update(physical, bytes);
    return bytes;
}

void DbfTable::writeRecord(std::uint32_t physical, std::string_view bytes,
                           std::string_view expected) {
    writeUnchanged(physical, bytes, expected, Write::Post);
}

void DbfTable::writeUnchanged(std::uint32_t physical, std::string_view bytes,
                              std::string_view expected, Write write) {
    checkAttached();
    const std::uint64_t offset = offsetOf(physical);
    const std::string number = std::to_string(std::uint64_t(physical) + 1);
    RangeLock recordLock(file_, offset, bytes.size());
    std::string onDisk(bytes.size(), '\0');
    if (file_.readAt(onDisk.data(), onDisk.size(), offset) < 0) {
        fail("Cannot read record " + number + ": " + lastSystemReason());
    }
    // A record marked deleted is never written, also where the edit began
    // from it as it stood deleted.
    if (onDisk[0] == '*')
        failDeleted(physical, write == Write::Delete ? "" : "; press Esc to see it as it is now");
    if (onDisk != expected) {
        forgetReads();
        stamp_ = {};  // the next refresh shows the table anew
        const std::string what = "Record " + number + " was changed by another program";
        if (write == Write::Delete) throw Error(what + "; it is not deleted: look at it again");
        throw Error(what + "; press Esc to see it as it is now");
    }
    if (!file_.writeAt(bytes.data(), bytes.size(), offset) || !file_.flush()) {
        fail("Cannot write record " + number + ": " + lastSystemReason());
    }
    cache_.update(physical, bytes);
}

// Under the header's lock, so that records appended by several programs at
// once each get their own place and all are counted.
std::uint32_t DbfTable::appendRecord(std::string_view bytes) {
    checkAttached();
    RangeLock headerLock(file_, 0, std::uint64_t(layout_.headerLength));
    // Another program may have appended records since the table was opened:
    // the new record goes after whatever the header now counts.
    char countBytes[4];
    if (file_.readAt(countBytes, sizeof countBytes, 4) != 4) fail("Cannot read the table header.");
    const std::uint64_t fileSize = std::uint64_t(std::max<std::int64_t>(file_.size(), 0));
    const std::uint64_t wholeRecords =
        (fileSize - std::min<std::uint64_t>(fileSize, std::uint64_t(layout_.headerLength))) /
        std::uint64_t(layout_.recordLength);
    const std::uint64_t index = std::min<std::uint64_t>(
        std::max<std::uint64_t>(readUint32(countBytes), physicalCount_), wholeRecords);
    if (index >= kMaxRecords)
        fail("Cannot append a record: the table holds as many records as a table can.");

    std::string tail(bytes);
    tail += char(kEndOfFile);
    const std::uint64_t offset = offsetOf(std::uint32_t(index));
    // What the new record and end marker overwrite (the old end marker, or
    // bytes past the last counted record), put back should the append fail.
    const std::uint64_t overwrittenSize =
        std::min<std::uint64_t>(tail.size(), fileSize - std::min(fileSize, offset));
    std::string overwritten(std::size_t(overwrittenSize), '\0');
    if (file_.readAt(overwritten.data(), overwritten.size(), offset) !=
        std::int64_t(overwritten.size())) {
        fail("Cannot append a record: " + lastSystemReason());
    }
    try {
        if (!file_.writeAt(tail.data(), tail.size(), offset)) {
            fail("Cannot append a record: " + lastSystemReason());
        }
        writeHeaderCount(std::uint32_t(index + 1));
    } catch (const Error&) {
        (void)!file_.writeAt(overwritten.data(), overwritten.size(), offset);
        (void)!file_.truncate(fileSize);
        (void)!file_.flush();
        throw;
    }
    if (index != physicalCount_) {  // records from elsewhere: read their flags again when needed
        deletedIndexed_ = false;
        deleted_.clear();
    }
    physicalCount_ = std::uint32_t(index + 1);
    cache_.clear();
    return std::uint32_t(index);
}

void DbfTable::writeHeaderCount(std::uint32_t count) {
    const std::tm today = localDate(std::time(nullptr));
    char header[7];
    header[0] = char(today.tm_year);  // the year less 1900
    header[1] = char(today.tm_mon + 1);
    header[2] = char(today.tm_mday);
    writeUint32(header + 3, count);
    if (!file_.writeAt(header, sizeof header, kDateOffset) || !file_.flush()) {
        fail("Cannot write the table header: " + lastSystemReason());
    }
}

void DbfTable::markDeleted(std::uint32_t physical, std::string_view expected) {
    std::string bytes(expected);
    bytes[0] = '*';
    writeUnchanged(physical, bytes, expected, Write::Delete);
    if (deletedIndexed_)
        deleted_.insert(std::lower_bound(deleted_.begin(), deleted_.end(), physical), physical);
}

}  // namespace geocalc
