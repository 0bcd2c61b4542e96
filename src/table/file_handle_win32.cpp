#include <algorithm>

#include "core/win32_file.h"
#include "table/file_handle.h"

namespace geocalc {

namespace {

bool information(HANDLE file, BY_HANDLE_FILE_INFORMATION& info) {
    return GetFileInformationByHandle(file, &info) != 0;
}

}  // namespace

void FileHandle::reset() {
    if (native_ != kNoNativeFile) CloseHandle(native_);
    native_ = kNoNativeFile;
}

std::int64_t FileHandle::readAt(char* data, std::size_t size, std::uint64_t offset) const {
    std::size_t done = 0;
    while (done < size) {
        OVERLAPPED position = win32::overlappedAt(offset + done);
        DWORD n = 0;
        if (!ReadFile(native_, data + done, DWORD(std::min(size - done, win32::kMaxTransfer)), &n,
                      &position)) {
            if (GetLastError() == ERROR_HANDLE_EOF) break;
            return -1;
        }
        if (n == 0) break;
        done += n;
    }
    return std::int64_t(done);
}

bool FileHandle::writeAt(const char* data, std::size_t size, std::uint64_t offset) const {
    std::size_t done = 0;
    while (done < size) {
        OVERLAPPED position = win32::overlappedAt(offset + done);
        DWORD n = 0;
        if (!WriteFile(native_, data + done, DWORD(std::min(size - done, win32::kMaxTransfer)), &n,
                       &position))
            return false;
        if (n == 0) return false;
        done += n;
    }
    return true;
}

bool FileHandle::flush() const { return FlushFileBuffers(native_) != 0; }

bool FileHandle::truncate(std::uint64_t size) const {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = LONGLONG(size);
    return SetFileInformationByHandle(native_, FileEndOfFileInfo, &end, sizeof end) != 0;
}

std::int64_t FileHandle::size() const {
    LARGE_INTEGER size{};
    return GetFileSizeEx(native_, &size) ? std::int64_t(size.QuadPart) : -1;
}

namespace {

constexpr std::int64_t kSettleTime =
    3 * 10'000'000;  // in the 100 ns of file times, beyond any tick

std::int64_t fileTime(const FILETIME& time) {
    return std::int64_t((std::uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

}  // namespace

FileStamp FileHandle::stamp() const {
    FILE_BASIC_INFO times{};
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(native_, &size) ||
        !GetFileInformationByHandleEx(native_, FileBasicInfo, &times, sizeof times)) {
        return {};
    }
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const std::int64_t changed = std::max(times.ChangeTime.QuadPart, times.LastWriteTime.QuadPart);
    return {std::int64_t(size.QuadPart), times.LastWriteTime.QuadPart, times.ChangeTime.QuadPart,
            fileTime(now) - changed > kSettleTime};
}

// Holes read as zeros; no table needs them found to be read correctly.
std::uint64_t FileHandle::nextData(std::uint64_t offset) const { return offset; }

bool FileHandle::markedReadOnly() const {
    BY_HANDLE_FILE_INFORMATION info{};
    return information(native_, info) && (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool FileHandle::isNamedBy(const std::string& path) const {
    const FileHandle named(win32::openShared(path, 0, OPEN_EXISTING));
    BY_HANDLE_FILE_INFORMATION a{}, b{};
    if (!named || !information(native_, a) || !information(named.native(), b)) return false;
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

FileHandle openWithoutWaiting(const std::string& path, FileAccess access, FileKind& kind) {
    const DWORD rights = access == FileAccess::Read    ? GENERIC_READ
                         : access == FileAccess::Write ? GENERIC_WRITE
                                                       : GENERIC_READ | GENERIC_WRITE;
    FileHandle file(win32::openShared(path, rights, OPEN_EXISTING));
    BY_HANDLE_FILE_INFORMATION info{};
    if (file) kind = win32::kindOf(file.native(), info).value_or(FileKind::Regular);
    return file;
}

}  // namespace geocalc
