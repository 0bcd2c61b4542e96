#include "cli/fd_streambuf.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace geocalc::cli {

namespace {

constexpr std::size_t kBlockSize = 256 * 1024;

}  // namespace

FdInputBuffer::FdInputBuffer(int fd, std::string name)
    : fd_(fd), name_(std::move(name)), buffer_(kBlockSize, '\0') {
    setg(buffer_.data(), buffer_.data(), buffer_.data());
}

FdInputBuffer::int_type FdInputBuffer::underflow() {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    ssize_t n;
    do {
        n = ::read(fd_, buffer_.data(), buffer_.size());
    } while (n < 0 && errno == EINTR);
    if (n < 0) throw StreamFailure{errno, name_};
    setg(buffer_.data(), buffer_.data(), buffer_.data() + n);
    return n == 0 ? traits_type::eof() : traits_type::to_int_type(*gptr());
}

FdOutputBuffer::FdOutputBuffer(int fd, std::string name)
    : fd_(fd), name_(std::move(name)), lineByLine_(::isatty(fd) == 1), buffer_(kBlockSize, '\0') {
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

FdOutputBuffer::int_type FdOutputBuffer::overflow(int_type c) {
    drain();
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    if (lineByLine_ && traits_type::to_char_type(c) == '\n') drain();
    return c;
}

std::streamsize FdOutputBuffer::xsputn(const char* data, std::streamsize size) {
    const std::streamsize put = std::streambuf::xsputn(data, size);
    if (lineByLine_ && std::memchr(data, '\n', std::size_t(size))) drain();
    return put;
}

int FdOutputBuffer::sync() {
    drain();
    return 0;
}

void FdOutputBuffer::drain() {
    const char* data = pbase();
    const std::size_t size = std::size_t(pptr() - pbase());
    for (std::size_t done = 0; done < size;) {
        const ssize_t n = ::write(fd_, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw StreamFailure{errno, name_};
        done += std::size_t(n);
    }
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

}  // namespace geocalc::cli
