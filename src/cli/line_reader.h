// The lines of a stream handed out as views of a large buffer, without the
// copy and the checks std::getline makes for each line. Each read takes what
// the stream has ready, so lines typed at a terminal are answered at once.
#pragma once

#include <cstddef>
#include <streambuf>
#include <string>
#include <string_view>

namespace geocalc::cli {

class LineReader {
public:
    static constexpr std::size_t kMaxLineLength = 1 << 20;

    explicit LineReader(std::streambuf& in, std::size_t blockSize = 256 * 1024,
                        std::size_t maxLineLength = kMaxLineLength);

    // The next line without its line feed, valid until the next call; false
    // after the last. A last line without a line feed is a line too. A line
    // longer than the block grows the block; one longer than the most a line
    // may hold is not kept: it is handed out empty with tooLong() true, its
    // bytes passed over up to its line feed, so that memory stays bounded.
    // Each byte is looked at once, however long its line.
    bool next(std::string_view& line);
    bool tooLong() const { return tooLong_; }

private:
    bool fill();

    std::streambuf& in_;
    std::string buffer_;
    std::size_t maxLineLength_;
    std::size_t begin_ = 0;    // the first byte not handed out
    std::size_t scanned_ = 0;  // bytes from begin_ to here hold no line feed
    std::size_t end_ = 0;      // after the last byte read
    bool atEnd_ = false;
    bool skipping_ = false;  // within a line too long to keep
    bool tooLong_ = false;
};

}  // namespace geocalc::cli
