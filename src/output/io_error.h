// File errors as the user sees them: the system's error mapped to the classic
// file error codes, and each code to its message.
#pragma once

#include <string>

namespace geocalc {

// The file error code for a system error. On Windows the system's codes are
// these codes. Elsewhere an errno value maps to its code: a missing folder 3,
// a refused access 5, too many open files 4, a full disk 112, a busy file 32
// (the sharing violation), a name too long 206, a device error 1117; 0 for
// any other.
int fileErrorCode(int systemError);

// "File not found" (2), "Invalid filename" (3), "Too many open files" (4),
// "File access denied" (5), "Read beyond end of file" (100), "Disk full" (101),
// "Invalid numeric input" (106), otherwise "I/O error <code>".
std::string fileErrorMessage(int code);

// The message of a system error's code; for an errno value without a code,
// "I/O error: " and the system's description ("I/O error: Network is
// unreachable").
std::string fileErrorText(int systemError);

// Fails with fileErrorText(systemError).
[[noreturn]] void throwFileError(int systemError);
// Fails with "File access denied".
[[noreturn]] void throwAccessDenied();

}  // namespace geocalc
