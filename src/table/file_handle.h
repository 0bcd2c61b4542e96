// An open file descriptor, closed with its owner.
#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <utility>

namespace geocalc {

class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(int fd) : fd_(fd) {}
    ~FileHandle() { reset(); }
    FileHandle(FileHandle&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileHandle& operator=(FileHandle&& other) noexcept {
        if (this != &other) {
            reset();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    void reset() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

    // Reads up to size bytes at offset, retrying interrupted and short reads;
    // returns the bytes read (fewer at the end of the file), or -1.
    ssize_t readAt(char* data, std::size_t size, std::uint64_t offset) const;
    // Writes all bytes at offset; false (errno set) when that fails.
    bool writeAt(const char* data, std::size_t size, std::uint64_t offset) const;
    // The file's current size, or -1.
    std::int64_t size() const;

private:
    int fd_ = -1;
};

enum class FileKind { Regular, Folder, Other };

// Opens a file without waiting on it (a plain open of a FIFO blocks until a
// writer comes) and says what it is, so that callers can refuse anything but
// a regular file before reading a byte. An empty handle, errno set, when the
// open fails.
FileHandle openWithoutWaiting(const std::string& path, int flags, FileKind& kind);

// "is a folder" or "is not a regular file", for messages about such a file.
const char* describeNonRegular(FileKind kind);

}  // namespace geocalc
