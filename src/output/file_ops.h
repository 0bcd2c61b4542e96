// The file system calls the writers make, behind one seam so that tests can
// make any of them fail. Each returns what the POSIX call returns and sets errno.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <string>

namespace geocalc {

// A file marked read-only: none of its write permission bits is set. Such a
// file is treated as read-only whoever runs the program, root included.
inline bool isMarkedReadOnly(mode_t mode) { return (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0; }

class FileOps {
public:
    virtual ~FileOps() = default;
    virtual int open(const std::string& path, int flags, mode_t mode);
    virtual ssize_t write(int fd, const char* data, std::size_t size);
    virtual int sync(int fd);
    virtual int close(int fd);
    virtual int rename(const std::string& from, const std::string& to);
    virtual int unlink(const std::string& path);

    // The real file system.
    static FileOps& system();
};

}  // namespace geocalc
