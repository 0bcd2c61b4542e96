#include "cli/fd_streambuf.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <cerrno>
#include <cstring>

#include "cli/terminal_text.h"

namespace geocalc::cli {

namespace {

constexpr std::size_t kBlockSize = 256 * 1024;

// The C runtime's calls on Windows, which count in unsigned int.
#ifdef _WIN32
long long readSome(int fd, char* data, std::size_t size) { return _read(fd, data, unsigned(size)); }
// Written through the system's handle: the C runtime reports a pipe whose
// reader has gone as EINVAL, and forgets why. The errors a user can act on
// keep their errno meaning.
long long writeSome(int fd, const char* data, std::size_t size) {
    DWORD written = 0;
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    if (WriteFile(handle, data, DWORD(std::min<std::size_t>(size, kBlockSize)), &written, nullptr))
        return written;
    switch (GetLastError()) {
        case ERROR_NO_DATA:
        case ERROR_BROKEN_PIPE:
        case ERROR_PIPE_NOT_CONNECTED:
            errno = EPIPE;
            break;  // Wine says "not connected"
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            errno = ENOSPC;
            break;
        case ERROR_ACCESS_DENIED:
            errno = EACCES;
            break;
        default:
            errno = EIO;
    }
    return -1;
}
bool isTerminal(int fd) { return _isatty(fd) != 0; }
#else
long long readSome(int fd, char* data, std::size_t size) { return ::read(fd, data, size); }
long long writeSome(int fd, const char* data, std::size_t size) { return ::write(fd, data, size); }
bool isTerminal(int fd) { return ::isatty(fd) == 1; }
#endif

}  // namespace

FdInputBuffer::FdInputBuffer(int fd, std::string name)
    : fd_(fd), name_(std::move(name)), buffer_(kBlockSize, '\0') {
    setg(buffer_.data(), buffer_.data(), buffer_.data());
}

FdInputBuffer::int_type FdInputBuffer::underflow() {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    long long n;
    do {
        n = readSome(fd_, buffer_.data(), buffer_.size());
    } while (n < 0 && errno == EINTR);
    if (n < 0) throw StreamFailure{errno, name_};
    setg(buffer_.data(), buffer_.data(), buffer_.data() + n);
    return n == 0 ? traits_type::eof() : traits_type::to_int_type(*gptr());
}

FdOutputBuffer::FdOutputBuffer(int fd, std::string name)
    : fd_(fd), name_(std::move(name)), lineByLine_(isTerminal(fd)) {
    // On a terminal there is no put area: every character comes through
    // overflow() or xsputn(), which send each line as soon as it is complete.
    if (!lineByLine_) {
        buffer_.resize(kBlockSize);
        setp(buffer_.data(), buffer_.data() + buffer_.size());
    }
}

FdOutputBuffer::int_type FdOutputBuffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) {
        sync();
        return traits_type::not_eof(c);
    }
    const char byte = traits_type::to_char_type(c);
    if (lineByLine_) {
        xsputn(&byte, 1);
        return c;
    }
    drain();
    *pptr() = byte;
    pbump(1);
    return c;
}

// On a terminal each complete line goes out at once, its controls escaped;
// the rest waits for its line end, so that no character is cut in two.
std::streamsize FdOutputBuffer::xsputn(const char* data, std::streamsize size) {
    if (!lineByLine_) {
        if (std::size_t(size) < kBlockSize / 4) return std::streambuf::xsputn(data, size);
        drain();  // a large block goes out as it is, after what came before it
        writeOut(data, std::size_t(size));
        return size;
    }
    line_.append(data, std::size_t(size));
    if (std::memchr(data, '\n', std::size_t(size))) {
        const std::size_t complete = line_.rfind('\n') + 1;
        const std::string shown = escapedForTerminal(std::string_view(line_).substr(0, complete));
        line_.erase(0, complete);
        writeOut(shown.data(), shown.size());
    }
    return size;
}

int FdOutputBuffer::sync() {
    if (lineByLine_) {
        const std::string shown = escapedForTerminal(line_);
        line_.clear();
        writeOut(shown.data(), shown.size());
    } else {
        drain();
    }
    return 0;
}

void FdOutputBuffer::drain() {
    writeOut(pbase(), std::size_t(pptr() - pbase()));
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

void FdOutputBuffer::writeOut(const char* data, std::size_t size) {
    for (std::size_t done = 0; done < size;) {
        const long long n = writeSome(fd_, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw StreamFailure{errno, name_};
        done += std::size_t(n);
    }
}

}  // namespace geocalc::cli
