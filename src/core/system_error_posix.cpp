#include <cerrno>
#include <cstring>

#include "core/system_error.h"

namespace geocalc {

int lastSystemError() { return errno; }

void setLastSystemError(int error) { errno = error; }

// The untranslated description: every message of the core is English.
std::string systemErrorDescription(int error) {
    const char* description = strerrordesc_np(error);
    return description ? std::string(description) : "system error " + std::to_string(error);
}

bool isMissingFile(int error) { return error == ENOENT; }

bool namesNothing(int error) {
    return error == ENOENT || error == ENOTDIR || error == ENAMETOOLONG;
}

bool isPermissionDenied(int error) { return error == EACCES || error == EPERM; }

bool isAccessRefused(int error) { return isPermissionDenied(error) || error == EROFS; }

bool isDiskFull(int error) { return error == ENOSPC; }

bool refusesWriting(int error) {
    return isAccessRefused(error) || error == ETXTBSY || error == EISDIR;
}

bool isAlreadyExisting(int error) { return error == EEXIST; }

bool isInterrupted(int error) { return error == EINTR; }

}  // namespace geocalc
