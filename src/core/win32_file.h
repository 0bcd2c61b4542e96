// What the core's Win32 file calls share: how files are opened, what kind
// of file a handle is, offsets and transfer sizes as Win32 takes them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "core/native_file.h"
#include "core/native_path.h"

namespace geocalc::win32 {

// Transfers go in pieces a DWORD can count.
inline constexpr std::size_t kMaxTransfer = std::size_t(1) << 30;

// Files are shared with every other program, as tables are; a replacement by
// rename is kept off by the file locks instead. Folders open too, so that
// they can be told apart rather than fail.
inline HANDLE openShared(const std::string& path, DWORD rights, DWORD disposition) {
    return CreateFileW(wideFromUtf8(path).c_str(), rights,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, disposition,
                       FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// The kind of the open file, `info` filled for a file on a disk; nothing
// when a disk file's information cannot be read.
inline std::optional<FileKind> kindOf(HANDLE file, BY_HANDLE_FILE_INFORMATION& info) {
    if (GetFileType(file) != FILE_TYPE_DISK) return FileKind::Other;
    if (!GetFileInformationByHandle(file, &info)) return std::nullopt;
    return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? FileKind::Folder
                                                              : FileKind::Regular;
}

// Reads, writes and locks at an offset take it in an OVERLAPPED structure,
// even on a handle opened for plain synchronous calls.
inline OVERLAPPED overlappedAt(std::uint64_t offset) {
    OVERLAPPED position{};
    position.Offset = DWORD(offset);
    position.OffsetHigh = DWORD(offset >> 32);
    return position;
}

}  // namespace geocalc::win32
