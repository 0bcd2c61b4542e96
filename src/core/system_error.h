// The error of a failed system call, the same way on every system: errno
// where the calls are POSIX, GetLastError() on Windows.
#pragma once

#include <string>

namespace geocalc {

int lastSystemError();
// For stand-ins of system calls, which fail the way the real ones do.
void setLastSystemError(int error);

// The system's own English description of an error ("No space left on
// device"), without a closing full stop.
std::string systemErrorDescription(int error);

// What callers tell apart, named the same on every system.
// The file is not there, or the folder it would be in.
bool isMissingFile(int error);
// The path cannot name anything: missing, a file where a folder should be,
// too long to exist.
bool namesNothing(int error);
bool isPermissionDenied(int error);
// Refused: no permission, a read-only file system or medium.
bool isAccessRefused(int error);
bool isDiskFull(int error);
// Opening for writing is refused, though reading may not be.
bool refusesWriting(int error);
bool isAlreadyExisting(int error);
// A call cut short by a signal, to be made again.
bool isInterrupted(int error);

}  // namespace geocalc
