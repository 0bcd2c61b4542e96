#include <windows.h>

#include "core/native_path.h"
#include "output/file_ops.h"

namespace geocalc {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace

std::optional<FileStatus> FileOps::status(const std::string& path) {
    const HANDLE file = CreateFileW(wideFromUtf8(path).c_str(), 0, kShareAll, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    FileStatus status;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool disk = GetFileType(file) == FILE_TYPE_DISK;
    const bool known = GetFileInformationByHandle(file, &info) != 0;
    const DWORD error = GetLastError();
    CloseHandle(file);
    if (disk && !known) {
        SetLastError(error);
        return std::nullopt;
    }
    if (disk) {
        status.kind = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? FileKind::Folder
                                                                         : FileKind::Regular;
        status.markedReadOnly = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
        status.links = info.nNumberOfLinks;
    }
    return status;
}

NativeFile FileOps::open(const std::string& path, OpenFor how, std::optional<std::uint32_t>) {
    const DWORD disposition = how == OpenFor::NewFile ? CREATE_NEW : OPEN_EXISTING;
    const HANDLE file = CreateFileW(wideFromUtf8(path).c_str(), GENERIC_WRITE, kShareAll, nullptr,
                                    disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE || how != OpenFor::Rewrite ||
        GetFileType(file) != FILE_TYPE_DISK)
        return file;
    if (!SetEndOfFile(file)) {  // at offset 0: cut to nothing
        const DWORD error = GetLastError();
        CloseHandle(file);
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

std::int64_t FileOps::write(NativeFile file, const char* data, std::size_t size) {
    constexpr std::size_t kMaxPiece = 1u << 30;
    DWORD written = 0;
    if (!WriteFile(file, data, DWORD(std::min(size, kMaxPiece)), &written, nullptr)) return -1;
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

}  // namespace geocalc
