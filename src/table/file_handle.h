// An open file, closed with its owner: the one place the table engine meets
// the system's file calls (POSIX descriptors, or Win32 handles on Windows).
// Failures leave their error in lastSystemError().
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "core/native_file.h"

namespace geocalc {

// What any program's write to a file changes: its size and its times. File
// times move in ticks (a few milliseconds, two seconds on FAT), so a write
// in the same tick as the stamp was taken can leave the stamp as it was: a
// stamp is `settled` only once the file's last change lies further back
// than any tick, and only a settled stamp tells that nothing changed since.
struct FileStamp {
    std::int64_t size = -1;
    std::int64_t modified = 0;  // both in the system's own unit
    std::int64_t changed = 0;
    bool settled = false;

    bool sameFileState(const FileStamp& other) const {
        return size == other.size && modified == other.modified && changed == other.changed;
    }
};

class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(NativeFile native) : native_(native) {}
    ~FileHandle() { reset(); }
    FileHandle(FileHandle&& other) noexcept
        : native_(std::exchange(other.native_, kNoNativeFile)) {}
    FileHandle& operator=(FileHandle&& other) noexcept {
        if (this != &other) {
            reset();
            native_ = std::exchange(other.native_, kNoNativeFile);
        }
        return *this;
    }

    NativeFile native() const { return native_; }
    explicit operator bool() const { return native_ != kNoNativeFile; }
    void reset();

    // Reads up to size bytes at offset, retrying interrupted and short reads;
    // returns the bytes read (fewer at the end of the file), or -1.
    std::int64_t readAt(char* data, std::size_t size, std::uint64_t offset) const;
    // Writes all bytes at offset; false when that fails.
    bool writeAt(const char* data, std::size_t size, std::uint64_t offset) const;
    // Puts what was written on the disk.
    bool flush() const;
    bool truncate(std::uint64_t size) const;
    // The file's current size, or -1.
    std::int64_t size() const;
    // The file's stamp now; size -1 when it cannot be read.
    FileStamp stamp() const;
    // The first offset at or after `offset` that is not in a hole of a sparse
    // file; kNoMoreData past the last data, `offset` itself where the system
    // cannot tell.
    static constexpr std::uint64_t kNoMoreData = ~std::uint64_t(0);
    std::uint64_t nextData(std::uint64_t offset) const;
    // Marked read-only (no write permission bit, the read-only attribute),
    // whoever runs the program.
    bool markedReadOnly() const;
    // The path names this very file now, not one put in its place.
    bool isNamedBy(const std::string& path) const;

private:
    NativeFile native_ = kNoNativeFile;
};

enum class FileAccess { Read, Write, ReadWrite };

// Opens a file without waiting on it (a plain open of a FIFO blocks until a
// writer comes) and says what it is, so that callers can refuse anything but
// a regular file before reading a byte. An empty handle when the open fails.
FileHandle openWithoutWaiting(const std::string& path, FileAccess access, FileKind& kind);

// "is a folder" or "is not a regular file", for messages about such a file.
const char* describeNonRegular(FileKind kind);

}  // namespace geocalc
