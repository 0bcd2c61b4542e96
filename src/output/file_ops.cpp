#include "output/file_ops.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace geocalc {

int FileOps::open(const std::string& path, int flags, mode_t mode) {
    return ::open(path.c_str(), flags | O_CLOEXEC, mode);
}

ssize_t FileOps::write(int fd, const char* data, std::size_t size) { return ::write(fd, data, size); }

int FileOps::sync(int fd) { return ::fsync(fd); }

int FileOps::close(int fd) { return ::close(fd); }

int FileOps::rename(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str());
}

int FileOps::unlink(const std::string& path) { return ::unlink(path.c_str()); }

FileOps& FileOps::system() {
    static FileOps ops;
    return ops;
}

}  // namespace geocalc
