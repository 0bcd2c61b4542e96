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
    explicit LineReader(std::streambuf& in, std::size_t blockSize = 256 * 1024);

    // The next line without its line feed, valid until the next call; false
    // after the last. A last line without a line feed is a line too. A line
    // longer than the block grows the block.
    bool next(std::string_view& line);

private:
    bool fill();

    std::streambuf& in_;
    std::string buffer_;
    std::size_t begin_ = 0;  // the first byte not handed out
    std::size_t end_ = 0;    // after the last byte read
    bool atEnd_ = false;
};

}  // namespace geocalc::cli
