#include <windows.h>

#include "core/system_error.h"

namespace geocalc {

int lastSystemError() { return int(GetLastError()); }

void setLastSystemError(int error) { SetLastError(DWORD(error)); }

// English where the system has it, else in the system's own language.
std::string systemErrorDescription(int error) {
    constexpr DWORD kFlags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    char text[512];
    DWORD length =
        FormatMessageA(kFlags, nullptr, DWORD(error), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                       text, sizeof text, nullptr);
    if (length == 0)
        length = FormatMessageA(kFlags, nullptr, DWORD(error), 0, text, sizeof text, nullptr);
    std::string description(text, length);
    while (!description.empty() &&
           std::string_view(".\r\n ").find(description.back()) != std::string_view::npos) {
        description.pop_back();
    }
    return description.empty() ? "system error " + std::to_string(error) : description;
}

bool isMissingFile(int error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool namesNothing(int error) {
    return isMissingFile(error) || error == ERROR_INVALID_NAME || error == ERROR_BAD_PATHNAME ||
           error == ERROR_FILENAME_EXCED_RANGE || error == ERROR_DIRECTORY;
}

bool isPermissionDenied(int error) { return error == ERROR_ACCESS_DENIED; }

bool isAccessRefused(int error) {
    return isPermissionDenied(error) || error == ERROR_WRITE_PROTECT;
}

bool isDiskFull(int error) { return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL; }

bool refusesWriting(int error) {
    return isAccessRefused(error) || error == ERROR_SHARING_VIOLATION;
}

bool isAlreadyExisting(int error) {
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}

bool isInterrupted(int) { return false; }  // Win32 calls are not cut short by signals

}  // namespace geocalc
