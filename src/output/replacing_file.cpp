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

// A symbolic link is replaced at its target, not turned into a file.
std::string resolveLinks(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) return path;
    const auto target = std::filesystem::canonical(path, error);
    return error ? path : target.string();
}

std::string randomSuffix() {
    static std::mt19937_64 random{std::random_device{}()};
    static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string suffix;
    for (int i = 0; i < 8; ++i) suffix += kChars[random() % (sizeof kChars - 1)];
    return suffix;
}

}  // namespace

ReplacingFile::ReplacingFile(std::string destination, FileOps& ops)
    : destination_(resolveLinks(destination)), ops_(ops) {
    struct stat info {};
    if (::stat(destination_.c_str(), &info) != 0) {
        if (errno != ENOENT) throwFileError(errno);
        openTemporary(kNewFileMode);
    } else if (S_ISDIR(info.st_mode)) {
        throwFileError(EISDIR);
    } else if (!S_ISREG(info.st_mode)) {
        // A FIFO without a reader fails at once instead of waiting for one.
        fd_ = ops_.open(destination_, O_WRONLY | O_TRUNC | O_NONBLOCK, 0);
        if (fd_ < 0) throwFileError(errno);
        ::fcntl(fd_, F_SETFL, O_WRONLY);
    } else {
        // The destination itself must be writable, as if it were written in place.
        if (isMarkedReadOnly(info.st_mode)) throwFileError(EACCES);
        const int probe = ops_.open(destination_, O_WRONLY, 0);
        if (probe < 0) throwFileError(errno);
        ops_.close(probe);
        openTemporary(info.st_mode & 07777);
    }
    buffer_.reserve(kBufferSize);
}

void ReplacingFile::openTemporary(mode_t mode) {
    // A short name of its own, so that any destination name that can be
    // created can also be written this way.
    const std::filesystem::path folder = std::filesystem::path(destination_).parent_path();
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        temporary_ = (folder / (".geocalc-" + randomSuffix() + ".tmp")).string();
        fd_ = ops_.open(temporary_, O_WRONLY | O_CREAT | O_EXCL, kNewFileMode);
        if (fd_ >= 0) break;
        if (errno != EEXIST) {
            const int error = errno;
            temporary_.clear();
            throwFileError(error);
        }
    }
    if (fd_ < 0) {
        temporary_.clear();
        throwFileError(EEXIST);
    }
    if (mode != kNewFileMode) ::fchmod(fd_, mode);
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
    if (!temporary_.empty() && ops_.sync(fd_) != 0) fail(errno);
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
