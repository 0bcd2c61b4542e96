// How the system names an open file, and the kinds of file the core tells
// apart.
#pragma once

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace geocalc {

enum class FileKind { Regular, Folder, Other };

#ifdef _WIN32
using NativeFile = void*;                                                  // a HANDLE
inline const NativeFile kNoNativeFile = reinterpret_cast<NativeFile>(-1);  // INVALID_HANDLE_VALUE
#else
using NativeFile = int;  // a file descriptor
inline constexpr NativeFile kNoNativeFile = -1;

// A file marked read-only: none of its write permission bits is set. Such a
// file is treated as read-only whoever runs the program, root included.
inline bool isMarkedReadOnly(mode_t mode) { return (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0; }

inline FileKind kindOf(mode_t mode) {
    return S_ISREG(mode) ? FileKind::Regular : S_ISDIR(mode) ? FileKind::Folder : FileKind::Other;
}
#endif

}  // namespace geocalc
