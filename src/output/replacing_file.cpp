#include "output/replacing_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <random>

#include "output/io_error.h"

namespace geocalc {

namespace {

constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask
constexpr int kNameAttempts = 100;

// A symbolic link is written at its target, not turned into a file; a
// target that does not exist yet is created, as opening the link would.
std::string followLinks(std::string path) {
    namespace fs = std::filesystem;
    constexpr int kMaxLinks = 40;
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(path, error)) break;
        const fs::path target = fs::read_symlink(path, error);
        if (error) break;
        path = target.is_absolute() ? target.string() : (fs::path(path).parent_path() / target).string();
    }
    return path;
}

// The folder refuses a new file beside the destination.
bool folderRefusesFiles(int error) { return error == EACCES || error == EPERM || error == EROFS; }

std::string randomSuffix() {
    static std::mt19937_64 random{std::random_device{}()};
    static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string suffix;
    for (int i = 0; i < 8; ++i) suffix += kChars[random() % (sizeof kChars - 1)];
    return suffix;
}

}  // namespace

ReplacingFile::ReplacingFile(std::string destination, FileOps& ops)
    : destination_(followLinks(std::move(destination))), ops_(ops) {
    struct stat info {};
    if (::stat(destination_.c_str(), &info) != 0) {
        if (errno != ENOENT) throwFileError(errno);
        if (!openTemporary(kNewFileMode)) throwFileError(errno);
    } else if (S_ISDIR(info.st_mode)) {
        throwFileError(EISDIR);
    } else if (!S_ISREG(info.st_mode)) {
        openInPlace(O_NONBLOCK);  // a FIFO without a reader fails at once
    } else {
        // The destination itself must be writable, as if it were written in place.
        if (isMarkedReadOnly(info.st_mode)) throwFileError(EACCES);
        const int probe = ops_.open(destination_, O_WRONLY, 0);
        if (probe < 0) throwFileError(errno);
        ops_.close(probe);
        // A file with other names keeps them only when written in place, and
        // a folder that takes no new file leaves no other way.
        if (info.st_nlink > 1) {
            openInPlace(0);
        } else if (!openTemporary(info.st_mode & 07777)) {
            if (!folderRefusesFiles(errno)) throwFileError(errno);
            openInPlace(0);
        }
    }
    buffer_.reserve(kBufferSize);
}

void ReplacingFile::openInPlace(int flags) {
    fd_ = ops_.open(destination_, O_WRONLY | O_TRUNC | flags, 0);
    if (fd_ < 0) throwFileError(errno);
    if (flags & O_NONBLOCK) ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
    struct stat info {};
    syncOnCommit_ = ::fstat(fd_, &info) == 0 && S_ISREG(info.st_mode);
}

bool ReplacingFile::openTemporary(mode_t mode) {
    // A short name of its own, so that any destination name that can be
    // created can also be written this way.
    const std::filesystem::path folder = std::filesystem::path(destination_).parent_path();
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        temporary_ = (folder / (".geocalc-" + randomSuffix() + ".tmp")).string();
        fd_ = ops_.open(temporary_, O_WRONLY | O_CREAT | O_EXCL, kNewFileMode);
        if (fd_ >= 0) break;
        if (errno != EEXIST) break;
    }
    if (fd_ < 0) {
        temporary_.clear();
        return false;
    }
    if (mode != kNewFileMode) ::fchmod(fd_, mode);
    syncOnCommit_ = true;
    return true;
}

ReplacingFile::~ReplacingFile() {
    if (!finished_) discard();
}

void ReplacingFile::write(std::string_view data) {
    if (buffer_.size() + data.size() > kBufferSize) flush();
    if (data.size() >= kBufferSize) {
        writeAll(data);  // as large as the buffer: no point copying it there first
    } else {
        buffer_ += data;
    }
}

void ReplacingFile::flush() {
    writeAll(buffer_);
    buffer_.clear();
}

void ReplacingFile::writeAll(std::string_view data) {
    for (std::size_t done = 0; done < data.size();) {
        const ssize_t written = ops_.write(fd_, data.data() + done, data.size() - done);
        if (written < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            discard();
            throwFileError(error);
        }
        done += std::size_t(written);
    }
}

void ReplacingFile::commit() {
    flush();
    auto fail = [this](int error) {
        discard();
        throwFileError(error);
    };
    if (syncOnCommit_ && ops_.sync(fd_) != 0) fail(errno);
    const int fd = fd_;
    fd_ = -1;
    if (ops_.close(fd) != 0) fail(errno);
    if (!temporary_.empty() && ops_.rename(temporary_, destination_) != 0) fail(errno);
    finished_ = true;
}

void ReplacingFile::discard() noexcept {
    if (fd_ >= 0) ops_.close(fd_);
    fd_ = -1;
    if (!temporary_.empty()) ops_.unlink(temporary_);
    temporary_.clear();
    finished_ = true;
}

}  // namespace geocalc
