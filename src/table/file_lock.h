// Advisory locks between programs that share a table file.
//
// The locks belong to the open file (open file description locks, LockFileEx
// on Windows): they conflict between two opens of the file in one process as
// much as between processes, and go when the file is closed. Where the file
// system cannot lock, the locks are skipped and tables are shared as before.
#pragma once

#include <cstdint>
#include <string>

#include "table/file_handle.h"

namespace geocalc {

// Held, shared, by every program that has the table open; taken exclusively
// by a copy that would replace the file, so that no open table is ever
// replaced under its program.
//
// Waits while a copy is replacing the file, and returns false when the path
// then names a new file: the caller opens it again.
bool holdWhileOpen(const FileHandle& file, const std::string& path);

// Takes the exclusive hold that keeps other programs from opening the file
// while it is replaced; false when another program has it open.
bool holdForReplacing(const FileHandle& file);

// Windows refuses to rename anything over a file that is open, this program's
// own hold included: there the hold only checks, and a program that opens the
// file in between makes the replacement fail instead.
#ifdef _WIN32
inline constexpr bool kOpenFilesCanBeReplaced = false;
#else
inline constexpr bool kOpenFilesCanBeReplaced = true;
#endif

// An exclusive lock on a byte range for the object's life, waited for:
// writes of a record, or of the header and what it counts, are made whole
// with respect to other programs.
class RangeLock {
public:
    RangeLock(const FileHandle& file, std::uint64_t offset, std::uint64_t length);
    ~RangeLock();
    RangeLock(const RangeLock&) = delete;
    RangeLock& operator=(const RangeLock&) = delete;

private:
    NativeFile file_;
    std::uint64_t offset_;
    std::uint64_t length_;
    bool held_;
};

}  // namespace geocalc
