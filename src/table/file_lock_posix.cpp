#include <fcntl.h>

#include <cerrno>
#include <limits>

#include "core/open_marker.h"
#include "table/file_lock.h"

namespace geocalc {

namespace {

// F_OFD_SETLK or F_OFD_SETLKW; true when the lock is held or the file system
// has no locks to take.
bool lock(int fd, int command, short type, std::uint64_t offset, std::uint64_t length) {
    struct flock request {};
    request.l_type = type;
    request.l_whence = SEEK_SET;
    request.l_start = off_t(offset);
    request.l_len = off_t(length);
    int rc;
    do {
        rc = ::fcntl(fd, command, &request);
    } while (rc != 0 && errno == EINTR);
    return rc == 0 || (errno != EAGAIN && errno != EACCES);
}

}  // namespace

bool holdWhileOpen(const FileHandle& file, const std::string& path) {
    lock(file.native(), F_OFD_SETLKW, F_RDLCK, kOpenMarker, 1);
    return file.isNamedBy(path);
}

bool holdForReplacing(const FileHandle& file) {
    return lock(file.native(), F_OFD_SETLK, F_WRLCK, kOpenMarker, 1);
}

RangeLock::RangeLock(const FileHandle& file, std::uint64_t offset, std::uint64_t length)
    : file_(file.native()),
      offset_(offset),
      length_(length),
      held_(lock(file_, F_OFD_SETLKW, F_WRLCK, offset, length)) {}

RangeLock::~RangeLock() {
    if (held_) lock(file_, F_OFD_SETLK, F_UNLCK, offset_, length_);
}

}  // namespace geocalc
