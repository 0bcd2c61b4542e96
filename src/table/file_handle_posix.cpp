#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "table/file_handle.h"

namespace geocalc {

void FileHandle::reset() {
    if (native_ >= 0) ::close(native_);
    native_ = kNoNativeFile;
}

std::int64_t FileHandle::readAt(char* data, std::size_t size, std::uint64_t offset) const {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(native_, data + done, size - done, off_t(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return -1;
        if (n == 0) break;
        done += std::size_t(n);
    }
    return std::int64_t(done);
}

bool FileHandle::writeAt(const char* data, std::size_t size, std::uint64_t offset) const {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(native_, data + done, size - done, off_t(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += std::size_t(n);
    }
    return true;
}

bool FileHandle::flush() const { return ::fdatasync(native_) == 0; }

bool FileHandle::truncate(std::uint64_t size) const {
    return ::ftruncate(native_, off_t(size)) == 0;
}

std::int64_t FileHandle::size() const {
    struct stat info {};
    return ::fstat(native_, &info) == 0 ? std::int64_t(info.st_size) : -1;
}

namespace {

constexpr std::int64_t kNanoseconds = 1'000'000'000;
constexpr std::int64_t kSettleTime = 3 * kNanoseconds;  // beyond any file system's tick

std::int64_t nanoseconds(const timespec& time) {
    return std::int64_t(time.tv_sec) * kNanoseconds + time.tv_nsec;
}

}  // namespace

FileStamp FileHandle::stamp() const {
    struct stat info {};
    if (::fstat(native_, &info) != 0) return {};
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    // The change time follows every write and cannot be set back by anyone.
    const std::int64_t changed = nanoseconds(info.st_ctim);
    return {std::int64_t(info.st_size), nanoseconds(info.st_mtim), changed,
            nanoseconds(now) - changed > kSettleTime};
}

std::uint64_t FileHandle::nextData(std::uint64_t offset) const {
    const off_t data = ::lseek(native_, off_t(offset), SEEK_DATA);
    if (data >= 0) return std::uint64_t(data);
    return errno == ENXIO ? kNoMoreData : offset;
}

bool FileHandle::markedReadOnly() const {
    struct stat info {};
    return ::fstat(native_, &info) == 0 && isMarkedReadOnly(info.st_mode);
}

bool FileHandle::isNamedBy(const std::string& path) const {
    struct stat opened {
    }, named{};
    if (::fstat(native_, &opened) != 0 || ::stat(path.c_str(), &named) != 0) return false;
    return opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

FileHandle openWithoutWaiting(const std::string& path, FileAccess access, FileKind& kind) {
    const int flags = access == FileAccess::Read    ? O_RDONLY
                      : access == FileAccess::Write ? O_WRONLY
                                                    : O_RDWR;
    FileHandle file(::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC));
    if (!file) return file;
    struct stat info {};
    if (::fstat(file.native(), &info) != 0) return FileHandle();
    kind = kindOf(info.st_mode);
    // Reads and writes of a regular file never wait anyway; the flag is
    // dropped so that nothing later sees a short transfer it did not expect.
    if (kind == FileKind::Regular) ::fcntl(file.native(), F_SETFL, flags);
    return file;
}

}  // namespace geocalc
