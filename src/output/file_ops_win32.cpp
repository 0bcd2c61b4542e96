#include "core/open_marker.h"
#include "core/win32_file.h"
#include "output/file_ops.h"

namespace geocalc {

namespace {

// Closes the handle and leaves the error of what failed before.
void closeKeepingError(HANDLE file) {
    const DWORD error = GetLastError();
    CloseHandle(file);
    SetLastError(error);
}

}  // namespace

std::optional<FileStatus> FileOps::status(const std::string& path) {
    const HANDLE file = win32::openShared(path, 0, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const std::optional<FileKind> kind = win32::kindOf(file, info);
    closeKeepingError(file);
    if (!kind) return std::nullopt;
    FileStatus status;
    status.kind = *kind;
    if (*kind != FileKind::Other) {
        status.markedReadOnly = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
        status.links = info.nNumberOfLinks;
    }
    return status;
}

NativeFile FileOps::open(const std::string& path, OpenFor how, std::optional<std::uint32_t>) {
    const HANDLE file = win32::openShared(path, GENERIC_WRITE,
                                          how == OpenFor::NewFile ? CREATE_NEW : OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE || how != OpenFor::Rewrite ||
        GetFileType(file) != FILE_TYPE_DISK)
        return file;
    if (!SetEndOfFile(file)) {  // at offset 0: cut to nothing
        closeKeepingError(file);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

std::int64_t FileOps::write(NativeFile file, const char* data, std::size_t size) {
    DWORD written = 0;
    if (!WriteFile(file, data, DWORD(std::min(size, win32::kMaxTransfer)), &written, nullptr))
        return -1;
    return written;
}

bool FileOps::sync(NativeFile file) { return FlushFileBuffers(file) != 0; }

bool FileOps::close(NativeFile file) { return CloseHandle(file) != 0; }

bool FileOps::replace(const std::string& from, const std::string& to) {
    return MoveFileExW(wideFromUtf8(from).c_str(), wideFromUtf8(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool FileOps::remove(const std::string& path) {
    return DeleteFileW(wideFromUtf8(path).c_str()) != 0;
}

// Windows cannot tell a shared hold from an exclusive one without taking
// it; a copy replacing the table holds it only while it checks.
bool FileOps::heldOpenAsTable(NativeFile file) {
    OVERLAPPED position = win32::overlappedAt(kOpenMarker);
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                    &position)) {
        return GetLastError() == ERROR_LOCK_VIOLATION;
    }
    position = win32::overlappedAt(kOpenMarker);
    UnlockFileEx(file, 0, 1, 0, &position);
    return false;
}

}  // namespace geocalc
