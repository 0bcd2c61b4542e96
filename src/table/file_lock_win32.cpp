#include "core/open_marker.h"
#include "core/win32_file.h"
#include "table/file_lock.h"

namespace geocalc {

namespace {

// Waits unless told not to; true when the lock is held or the file system
// has no locks to take.
bool lock(HANDLE file, DWORD flags, std::uint64_t offset, std::uint64_t length) {
    OVERLAPPED position = win32::overlappedAt(offset);
    if (LockFileEx(file, flags, 0, DWORD(length), DWORD(length >> 32), &position)) return true;
    const DWORD error = GetLastError();
    return error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING;
}

void unlock(HANDLE file, std::uint64_t offset, std::uint64_t length) {
    OVERLAPPED position = win32::overlappedAt(offset);
    UnlockFileEx(file, 0, DWORD(length), DWORD(length >> 32), &position);
}

}  // namespace

bool holdWhileOpen(const FileHandle& file, const std::string& path) {
    lock(file.native(), 0, kOpenMarker, 1);
    return file.isNamedBy(path);
}

bool holdForReplacing(const FileHandle& file) {
    return lock(file.native(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, kOpenMarker, 1);
}

RangeLock::RangeLock(const FileHandle& file, std::uint64_t offset, std::uint64_t length)
    : file_(file.native()),
      offset_(offset),
      length_(length),
      held_(lock(file_, LOCKFILE_EXCLUSIVE_LOCK, offset, length)) {}

RangeLock::~RangeLock() {
    if (held_) unlock(file_, offset_, length_);
}

}  // namespace geocalc
