// Standard input and output of geocalc-cli as streams whose every failure is
// reported: a read or write the system refuses throws StreamFailure, which
// the stream passes on (its exceptions include badbit).
#pragma once

#include <streambuf>
#include <string>

namespace geocalc::cli {

struct StreamFailure {
    int error;         // errno
    std::string what;  // "standard input", "standard output"
};

// Reads a file descriptor in large blocks.
class FdInputBuffer : public std::streambuf {
public:
    explicit FdInputBuffer(int fd, std::string name);

protected:
    int_type underflow() override;

private:
    int fd_;
    std::string name_;
    std::string buffer_;
};

// Writes to a file descriptor through a large buffer; when the descriptor is
// a terminal, each line is written as soon as it is complete, with its
// control characters escaped (files and pipes get every byte as it is).
class FdOutputBuffer : public std::streambuf {
public:
    // Nothing is written when the buffer goes: the owner flushes at the end
    // of the run, where a failure can still be reported.
    FdOutputBuffer(int fd, std::string name);

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* data, std::streamsize size) override;
    int sync() override;

private:
    void drain();  // writes out what the put area holds
    void writeOut(const char* data, std::size_t size);

    int fd_;
    std::string name_;
    bool lineByLine_;
    std::string buffer_;  // the put area, when not on a terminal
    std::string line_;    // on a terminal, the line being put together
};

}  // namespace geocalc::cli
