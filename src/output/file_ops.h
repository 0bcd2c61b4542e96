// The file system calls the writers make, behind one seam so that tests can
// make any of them fail. A failed call leaves its error in lastSystemError().
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "core/native_file.h"

namespace geocalc {

struct FileStatus {
    FileKind kind = FileKind::Other;
    bool markedReadOnly = false;
    std::uint64_t links = 1;
    std::uint32_t permissions = 0;  // the POSIX permission bits; none on Windows
};

enum class OpenFor {
    NewFile,  // created, failing when the name is taken
    Rewrite,  // an existing file, cut to nothing; a FIFO without a reader fails at once
    Probe,    // an existing file opened for writing, to see that it can be
};

class FileOps {
public:
    virtual ~FileOps() = default;
    // The file the path names, symbolic links followed; nothing when it
    // cannot be looked at or is not there.
    virtual std::optional<FileStatus> status(const std::string& path);
    // `permissions` only for a new file: the ones it gets, the defaults when none.
    virtual NativeFile open(const std::string& path, OpenFor how,
                            std::optional<std::uint32_t> permissions = std::nullopt);
    // The bytes written, or -1.
    virtual std::int64_t write(NativeFile file, const char* data, std::size_t size);
    virtual bool sync(NativeFile file);
    virtual bool close(NativeFile file);
    // Puts `from` in the place of `to` in one step, on the disk when it returns.
    virtual bool replace(const std::string& from, const std::string& to);
    virtual bool remove(const std::string& path);
    // Whether another open of the file holds it as a table (see
    // core/open_marker.h), asked through any open of it.
    virtual bool heldOpenAsTable(NativeFile file);

    // The real file system.
    static FileOps& system();
};

}  // namespace geocalc
