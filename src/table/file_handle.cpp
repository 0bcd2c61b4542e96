#include "table/file_handle.h"

#include <sys/stat.h>

#include <cerrno>

namespace geocalc {

ssize_t FileHandle::readAt(char* data, std::size_t size, std::uint64_t offset) const {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd_, data + done, size - done, off_t(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return -1;
        if (n == 0) break;
        done += std::size_t(n);
    }
    return ssize_t(done);
}

bool FileHandle::writeAt(const char* data, std::size_t size, std::uint64_t offset) const {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(fd_, data + done, size - done, off_t(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += std::size_t(n);
    }
    return true;
}

std::int64_t FileHandle::size() const {
    struct stat info {};
    return ::fstat(fd_, &info) == 0 ? std::int64_t(info.st_size) : -1;
}

}  // namespace geocalc
