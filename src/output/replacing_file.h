// Writing a file so that it either appears whole or not at all.
#pragma once

#include <string>
#include <string_view>

#include "output/file_ops.h"

namespace geocalc {

// Writes into a temporary file beside the destination and renames it over the
// destination only on commit(), after the data is flushed and synced. Until
// then, and when anything fails, the destination is left as it was and the
// temporary file is removed. The replaced file keeps its permissions.
//
// A destination that exists but is no regular file (a device such as
// /dev/null or /dev/full, a pipe) cannot be replaced and is written directly.
//
// Failures carry the file error messages: a missing folder "Invalid filename",
// a read-only destination (no write permission bit, whoever runs the program)
// or a folder that cannot be written "File access denied", a full disk
// "I/O error 112", and so on.
class ReplacingFile {
public:
    static constexpr std::size_t kBufferSize = 64 * 1024;

    ReplacingFile(std::string destination, FileOps& ops = FileOps::system());
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    void write(std::string_view data);
    void commit();

private:
    void flush();
    void writeAll(std::string_view data);
    void discard() noexcept;
    void openTemporary(mode_t mode);

    std::string destination_;
    std::string temporary_;  // empty when writing the destination directly
    FileOps& ops_;
    int fd_ = -1;
    bool finished_ = false;
    std::string buffer_;
};

}  // namespace geocalc
