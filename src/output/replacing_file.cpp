#include "output/replacing_file.h"

#include <filesystem>
#include <random>

#include "charset/code_page.h"
#include "core/error.h"
#include "core/native_path.h"
#include "core/system_error.h"
#include "output/io_error.h"

namespace geocalc {

namespace {

constexpr int kNameAttempts = 100;

// A symbolic link is written at its target, not turned into a file; a
// target that does not exist yet is created, as opening the link would.
std::string followLinks(const std::string& name) {
    namespace fs = std::filesystem;
    constexpr int kMaxLinks = 40;
    fs::path path = pathFromUtf8(name);
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(path, error)) break;
        const fs::path target = fs::read_symlink(path, error);
        if (error) break;
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return utf8FromPath(path);
}

std::string randomSuffix() {
    static std::mt19937_64 random{std::random_device{}()};
    static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string suffix;
    for (int i = 0; i < 8; ++i) suffix += kChars[random() % (sizeof kChars - 1)];
    return suffix;
}

[[noreturn]] void throwLastFileError() { throwFileError(lastSystemError()); }

}  // namespace

ReplacingFile::ReplacingFile(std::string destination, FileOps& ops)
    : destination_(followLinks(destination)), ops_(ops) {
    const std::optional<FileStatus> status = ops_.status(destination_);
    if (!status) {
        if (!isMissingFile(lastSystemError())) throwLastFileError();
        if (!openTemporary(std::nullopt)) throwLastFileError();
    } else if (status->kind == FileKind::Folder) {
        throwAccessDenied();
    } else if (status->kind != FileKind::Regular) {
        openInPlace();  // a FIFO without a reader fails at once
    } else {
        // The destination itself must be writable, as if it were written in place.
        if (status->markedReadOnly) throwAccessDenied();
        const NativeFile probe = ops_.open(destination_, OpenFor::Probe);
        if (probe == kNoNativeFile) throwLastFileError();
        const bool openTable = ops_.heldOpenAsTable(probe);
        ops_.close(probe);
        // Replacing a table that a program has open would destroy the data
        // that program shows and writes.
        if (openTable)
            throw Error("Cannot write '" + ansiFromUtf8(destination_) +
                        "': it is open in another program");
        // A file with other names keeps them only when written in place, and
        // a folder that takes no new file leaves no other way.
        if (status->links > 1) {
            openInPlace();
        } else if (!openTemporary(status->permissions)) {
            if (!isAccessRefused(lastSystemError())) throwLastFileError();
            openInPlace();
        }
    }
    // Devices and FIFOs have nothing to put on a disk.
    syncOnCommit_ = !status || status->kind == FileKind::Regular;
    buffer_.reserve(kBufferSize);
}

void ReplacingFile::openInPlace() {
    file_ = ops_.open(destination_, OpenFor::Rewrite);
    if (file_ == kNoNativeFile) throwLastFileError();
}

bool ReplacingFile::openTemporary(std::optional<std::uint32_t> permissions) {
    // A short name of its own, so that any destination name that can be
    // created can also be written this way.
    const std::filesystem::path folder = pathFromUtf8(destination_).parent_path();
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        temporary_ = utf8FromPath(folder / (".geocalc-" + randomSuffix() + ".tmp"));
        file_ = ops_.open(temporary_, OpenFor::NewFile, permissions);
        if (file_ != kNoNativeFile) break;
        if (!isAlreadyExisting(lastSystemError())) break;
    }
    if (file_ == kNoNativeFile) {
        temporary_.clear();
        return false;
    }
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
        const std::int64_t written = ops_.write(file_, data.data() + done, data.size() - done);
        if (written < 0) {
            const int error = lastSystemError();
            if (isInterrupted(error)) continue;
            discard();
            throwFileError(error);
        }
        done += std::size_t(written);
    }
}

void ReplacingFile::commit() {
    flush();
    auto failOnLastError = [this] {
        const int error = lastSystemError();
        discard();
        throwFileError(error);
    };
    if (syncOnCommit_ && !ops_.sync(file_)) failOnLastError();
    const NativeFile file = file_;
    file_ = kNoNativeFile;
    if (!ops_.close(file)) failOnLastError();
    if (!temporary_.empty() && !ops_.replace(temporary_, destination_)) failOnLastError();
    finished_ = true;
}

void ReplacingFile::discard() noexcept {
    if (file_ != kNoNativeFile) ops_.close(file_);
    file_ = kNoNativeFile;
    if (!temporary_.empty()) ops_.remove(temporary_);
    temporary_.clear();
    finished_ = true;
}

}  // namespace geocalc
