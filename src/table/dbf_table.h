// The dBASE engine: one open table file, read on demand and written in place.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "table/dbf_layout.h"
#include "table/field_text.h"
#include "table/file_handle.h"
#include "table/memo_file.h"
#include "table/record_cache.h"
#include "table/table_charset.h"

namespace geocalc {

// Records are addressed two ways: physical numbers count every record in the
// file from 0; visible numbers count only the records not marked deleted, as
// the user sees them.
class DbfTable {
public:
    enum class Access { ReadWrite, ReadOnly };
    // The most records the header's count can hold.
    static constexpr std::uint64_t kMaxRecords = 0xFFFFFFFF;

    // Opens the table read-write, or read-only when it cannot be written (no
    // write permission, a read-only file system) or when asked to. Only a
    // regular file opens. While open, the table is held against a copy that
    // would replace it. Failures carry the engine's message, then CR LF and
    // "File: <path>".
    static std::unique_ptr<DbfTable> open(const std::string& path,
                                          Access access = Access::ReadWrite);

    const std::string& path() const { return path_; }
    bool readOnly() const { return readOnly_; }
    const std::vector<DbfField>& fields() const { return layout_.fields; }
    // Every record the file holds, deleted ones included.
    std::uint32_t physicalCount() const { return physicalCount_; }
    int recordLength() const { return layout_.recordLength; }
    // Reads up to `count` records from `first` on into `buffer` (room for
    // `count` records), past the record cache; returns how many the file
    // holds whole. A failing read fails with the system's reason.
    std::uint32_t readRecords(std::uint32_t first, std::uint32_t count, char* buffer) const;

    std::string_view record(std::uint32_t physical) { return cache_.record(physical); }
    bool isDeleted(std::uint32_t physical) { return record(physical)[0] == '*'; }
    // The record as the file holds it now, read under the record's lock; fails
    // with "Record 5 was deleted by another program" where it is marked
    // deleted or no longer in the file (the table is then read again on the
    // next refresh).
    std::string standingRecord(std::uint32_t physical);

    // The nearest record not deleted at or after `physical`.
    std::optional<std::uint32_t> visibleAtOrAfter(std::uint32_t physical);

    // The first use reads every record's deletion flag once; later changes
    // keep the count without reading again.
    std::uint32_t visibleCount();
    std::uint32_t physicalOf(std::uint32_t visible);
    std::uint32_t visibleOf(std::uint32_t physical);

    std::string fieldText(std::string_view record, int field) const;
    // The characters a field stores, without the blanks around them: what a
    // number field holds where its text is "" for being no number.
    std::string storedText(std::string_view record, int field) const;
    // What turns this table's records into field texts.
    RecordFormat format() const { return {layout_, charset_, memo_}; }
    bool isBlank(std::string_view record, int field) const;

    // A new record: not deleted, every field blank.
    std::string blankRecord() const;
    // Stores a field text typed by the user into a record's bytes, or fails
    // with the field's message ("'x' is not a valid floating point value for
    // field 'X'").
    void setFieldText(std::string& record, int field, std::string_view text) const;

    // Forgets what was read of the file where another program may have
    // written it since it was last looked at (its stamp differs, or is too
    // recent to tell): the records, their count and their deletion flags are
    // read again on their next use. True when the stamp differs, so that the
    // caller can show the table anew; a change only suspected is read again
    // without saying so.
    bool refresh();
    // The path no longer names the file held open: another program deleted
    // it or put another file in its place. What is written from then on
    // would be lost, so the table takes no more writes; the first refresh
    // that finds it so says so with the failure "The table was deleted or
    // replaced by another program; open it again to change it".
    bool detached() const { return detached_; }
    // Fails as refresh() does while the table is detached.
    void checkAttached();

    // Writing. Each write is flushed to the file before it returns; a failure
    // leaves the file's bytes as they were. Writes lock what they change, so
    // that several programs can write one table at once.
    //
    // A record is written, or marked deleted, only when the file still holds
    // `expected` there (the bytes the edit began from, the deletion flag
    // included), checked under the record's lock. Otherwise another program
    // changed or deleted it since: nothing is written, and the failure says
    // so ("Record 4 was changed by another program; press Esc to see it as
    // it is now").
    void writeRecord(std::uint32_t physical, std::string_view bytes, std::string_view expected);
    std::uint32_t appendRecord(std::string_view bytes);
    void markDeleted(std::uint32_t physical, std::string_view expected);

private:
    DbfTable(std::string path, FileHandle file, bool readOnly, DbfLayout layout,
             TableCharset charset, std::uint64_t fileSize);
    [[noreturn]] void fail(const std::string& what) const;
    void ensureDeletedIndex();
    std::uint64_t offsetOf(std::uint32_t physical) const;
    void writeHeaderCount(std::uint32_t count);
    void forgetReads();
    bool noticeDetached();  // true the first time
    [[noreturn]] void failDeleted(std::uint32_t physical, const std::string& advice);
    enum class Write { Post, Delete };
    void writeUnchanged(std::uint32_t physical, std::string_view bytes, std::string_view expected,
                        Write write);

    std::string path_;
    FileHandle file_;
    bool readOnly_;
    DbfLayout layout_;
    TableCharset charset_;
    MemoFile memo_;
    std::uint32_t physicalCount_ = 0;
    FileStamp stamp_;  // when the file was last read
    RecordCache cache_;
    bool detached_ = false;
    bool deletedIndexed_ = false;
    std::vector<std::uint32_t> deleted_;  // physical numbers, ascending
};

}  // namespace geocalc
