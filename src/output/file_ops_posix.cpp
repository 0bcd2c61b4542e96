#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "core/open_marker.h"
#include "output/file_ops.h"

namespace geocalc {

namespace {

constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask

}  // namespace

std::optional<FileStatus> FileOps::status(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    FileStatus status;
    status.kind = kindOf(info.st_mode);
    status.markedReadOnly = isMarkedReadOnly(info.st_mode);
    status.links = info.st_nlink;
    status.permissions = info.st_mode & 07777;
    return status;
}

NativeFile FileOps::open(const std::string& path, OpenFor how,
                         std::optional<std::uint32_t> permissions) {
    if (how == OpenFor::NewFile) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
        if (fd >= 0 && permissions) ::fchmod(fd, mode_t(*permissions));
        return fd;
    }
    if (how == OpenFor::Probe) return ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

std::int64_t FileOps::write(NativeFile file, const char* data, std::size_t size) {
    return ::write(file, data, size);
}

bool FileOps::sync(NativeFile file) { return ::fsync(file) == 0; }

bool FileOps::close(NativeFile file) { return ::close(file) == 0; }

bool FileOps::replace(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

bool FileOps::remove(const std::string& path) { return ::unlink(path.c_str()) == 0; }

// A table's programs hold the marker shared; the exclusive hold of a copy
// that replaces the file is no table open.
bool FileOps::heldOpenAsTable(NativeFile file) {
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = off_t(kOpenMarker);
    probe.l_len = 1;
    return ::fcntl(file, F_OFD_GETLK, &probe) == 0 && probe.l_type == F_RDLCK;
}

}  // namespace geocalc
