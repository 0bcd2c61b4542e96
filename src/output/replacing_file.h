// Writing a file so that it either appears whole or not at all.
#pragma once

#include <string>
#include <string_view>

#include "output/file_ops.h"

namespace geocalc {

// Writes into a temporary file beside the destination and renames it over the
// destination only on commit(), after the data is flushed and synced (on
// Windows the rename itself is written through to the disk). Until
// then, and when anything fails, the destination is left as it was and the
// temporary file is removed. The replaced file keeps its permissions. A
// symbolic link is written at its target (created when missing).
//
// Where no file can replace the destination, it is written in place (cut to
// nothing, written, synced on commit), as a plain create-and-truncate would:
// a destination that is no regular file (/dev/null, /dev/full, a FIFO, which
// must have a reader already, NUL on Windows), a file with more than one name (replacing it
// would part it from its other names), and a writable file in a folder that
// takes no new files.
//
// A file that this or another program holds open as a table is never
// replaced: "Cannot write 'pts.dbf': it is open in another program".
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
    // False when the folder takes no temporary file.
    bool openTemporary(std::optional<std::uint32_t> permissions);
    void openInPlace();

    std::string destination_;
    std::string temporary_;  // empty when writing the destination directly
    FileOps& ops_;
    NativeFile file_ = kNoNativeFile;
    bool finished_ = false;
    bool syncOnCommit_ = false;
    std::string buffer_;
};

}  // namespace geocalc
