#include "cli/line_reader.h"

#include <algorithm>
#include <cstring>

namespace geocalc::cli {

LineReader::LineReader(std::streambuf& in, std::size_t blockSize) : in_(in), buffer_(blockSize, '\0') {}

bool LineReader::next(std::string_view& line) {
    for (;;) {
        const char* from = buffer_.data() + begin_;
        if (const void* lineFeed = std::memchr(from, '\n', end_ - begin_)) {
            const std::size_t length = std::size_t(static_cast<const char*>(lineFeed) - from);
            line = std::string_view(from, length);
            begin_ += length + 1;
            return true;
        }
        if (atEnd_) {
            if (begin_ == end_) return false;
            line = std::string_view(from, end_ - begin_);
            begin_ = end_;
            return true;
        }
        atEnd_ = !fill();
    }
}

// Keeps the start of a line not yet ended and reads what the stream has
// ready after it; false at the end of the stream.
bool LineReader::fill() {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
    if (end_ == buffer_.size()) buffer_.resize(2 * buffer_.size());
    if (in_.sgetc() == std::streambuf::traits_type::eof()) return false;
    const std::streamsize ready = std::max<std::streamsize>(in_.in_avail(), 1);
    end_ += std::size_t(in_.sgetn(buffer_.data() + end_, std::min<std::streamsize>(ready, std::streamsize(buffer_.size() - end_))));
    return true;
}

}  // namespace geocalc::cli
