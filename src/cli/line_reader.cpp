#include "cli/line_reader.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace geocalc::cli {

LineReader::LineReader(std::streambuf& in, std::size_t blockSize, std::size_t maxLineLength)
    : in_(in), buffer_(blockSize, '\0'), maxLineLength_(maxLineLength) {}

bool LineReader::next(std::string_view& line) {
    tooLong_ = false;
    for (;;) {
        const char* from = buffer_.data() + begin_;
        if (const void* lineFeed = std::memchr(buffer_.data() + scanned_, '\n', end_ - scanned_)) {
            const std::size_t length = std::size_t(static_cast<const char*>(lineFeed) - from);
            tooLong_ = std::exchange(skipping_, false) || length > maxLineLength_;
            line = tooLong_ ? std::string_view() : std::string_view(from, length);
            begin_ = scanned_ = begin_ + length + 1;
            return true;
        }
        scanned_ = end_;
        if (end_ - begin_ > maxLineLength_) skipping_ = true;
        if (skipping_) begin_ = scanned_ = end_ = 0;  // what was read of the line goes
        if (atEnd_) {
            if (begin_ == end_ && !skipping_) return false;
            tooLong_ = std::exchange(skipping_, false);
            line = tooLong_ ? std::string_view() : std::string_view(from, end_ - begin_);
            begin_ = scanned_ = end_;
            return true;
        }
        atEnd_ = !fill();
    }
}

// Keeps the start of a line not yet ended and reads what the stream has
// ready after it; false at the end of the stream.
bool LineReader::fill() {
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        scanned_ -= begin_;
        begin_ = 0;
    }
    if (end_ == buffer_.size()) buffer_.resize(2 * buffer_.size());
    if (in_.sgetc() == std::streambuf::traits_type::eof()) return false;
    const std::streamsize ready = std::max<std::streamsize>(in_.in_avail(), 1);
    end_ += std::size_t(
        in_.sgetn(buffer_.data() + end_,
                  std::min<std::streamsize>(ready, std::streamsize(buffer_.size() - end_))));
    return true;
}

}  // namespace geocalc::cli
