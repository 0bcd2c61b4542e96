#include "table/file_handle.h"

#include <fcntl.h>
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

FileHandle openWithoutWaiting(const std::string& path, int flags, FileKind& kind) {
    FileHandle file(::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC));
    if (!file) return file;
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) return FileHandle();
    kind = S_ISREG(info.st_mode) ? FileKind::Regular : S_ISDIR(info.st_mode) ? FileKind::Folder : FileKind::Other;
    // Reads and writes of a regular file never wait anyway; the flag is
    // dropped so that nothing later sees a short transfer it did not expect.
    if (kind == FileKind::Regular) ::fcntl(file.get(), F_SETFL, flags & ~O_NONBLOCK);
    return file;
}

const char* describeNonRegular(FileKind kind) {
    return kind == FileKind::Folder ? "is a folder" : "is not a regular file";
}

}  // namespace geocalc
