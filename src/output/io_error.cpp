#include "output/io_error.h"

#include <cerrno>
#include <cstring>

#include "core/error.h"

namespace geocalc {

namespace {

struct ErrnoCode {
    int errnoValue;
    int code;
};

constexpr ErrnoCode kErrnoCodes[] = {
    {ENOENT, 3},   {ENOTDIR, 3},  {ELOOP, 3},      {EACCES, 5},       {EPERM, 5},
    {EROFS, 5},    {EISDIR, 5},   {EMFILE, 4},     {ENFILE, 4},       {ENOSPC, 112},
    {EDQUOT, 112}, {EBUSY, 32},   {ETXTBSY, 32},   {ENAMETOOLONG, 206}, {EIO, 1117},
};

}  // namespace

int fileErrorCode(int errnoValue) {
    for (const ErrnoCode& entry : kErrnoCodes) {
        if (entry.errnoValue == errnoValue) return entry.code;
    }
    return 0;
}

std::string fileErrorMessage(int code) {
    switch (code) {
        case 2: return "File not found";
        case 3: return "Invalid filename";
        case 4: return "Too many open files";
        case 5: return "File access denied";
        case 100: return "Read beyond end of file";
        case 101: return "Disk full";
        case 106: return "Invalid numeric input";
        default: return "I/O error " + std::to_string(code);
    }
}

std::string fileErrorText(int errnoValue) {
    if (const int code = fileErrorCode(errnoValue); code != 0) return fileErrorMessage(code);
    // Not a number: the codes are the user's, and an errno value shown as one
    // would pass for another failure. The description is the untranslated one,
    // as every message of the core is English.
    const char* description = strerrordesc_np(errnoValue);
    return "I/O error: " + (description ? std::string(description) : "system error " + std::to_string(errnoValue));
}

void throwFileError(int errnoValue) { throw Error(fileErrorText(errnoValue)); }

}  // namespace geocalc
