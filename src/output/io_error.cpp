#include "output/io_error.h"

#include <cerrno>

#include "core/error.h"
#include "core/system_error.h"

namespace geocalc {

namespace {

constexpr int kAccessDenied = 5;

#ifndef _WIN32
struct ErrnoCode {
    int errnoValue;
    int code;
};

constexpr ErrnoCode kErrnoCodes[] = {
    {ENOENT, 3},   {ENOTDIR, 3}, {ELOOP, 3},    {EACCES, 5},         {EPERM, 5},
    {EROFS, 5},    {EISDIR, 5},  {EMFILE, 4},   {ENFILE, 4},         {ENOSPC, 112},
    {EDQUOT, 112}, {EBUSY, 32},  {ETXTBSY, 32}, {ENAMETOOLONG, 206}, {EIO, 1117},
};
#endif

}  // namespace

int fileErrorCode(int systemError) {
#ifdef _WIN32
    return systemError;
#else
    for (const ErrnoCode& entry : kErrnoCodes) {
        if (entry.errnoValue == systemError) return entry.code;
    }
    return 0;
#endif
}

std::string fileErrorMessage(int code) {
    switch (code) {
        case 2:
            return "File not found";
        case 3:
            return "Invalid filename";
        case 4:
            return "Too many open files";
        case kAccessDenied:
            return "File access denied";
        case 100:
            return "Read beyond end of file";
        case 101:
            return "Disk full";
        case 106:
            return "Invalid numeric input";
        default:
            return "I/O error " + std::to_string(code);
    }
}

std::string fileErrorText(int systemError) {
    if (const int code = fileErrorCode(systemError); code != 0) return fileErrorMessage(code);
    // Not a number: the codes are the user's, and an errno value shown as one
    // would pass for another failure.
    return "I/O error: " + systemErrorDescription(systemError);
}

void throwFileError(int systemError) { throw Error(fileErrorText(systemError)); }

void throwAccessDenied() { throw Error(fileErrorMessage(kAccessDenied)); }

}  // namespace geocalc
