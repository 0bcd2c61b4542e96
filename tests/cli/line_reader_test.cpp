#include "cli/line_reader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace geocalc::cli {
namespace {

std::vector<std::string> linesOf(const std::string& input, std::size_t blockSize) {
    std::istringstream in(input);
    LineReader reader(*in.rdbuf(), blockSize);
    std::vector<std::string> lines;
    for (std::string_view line; reader.next(line);) lines.emplace_back(line);
    return lines;
}

// The lines std::getline gives, whatever the block size: lines across
// blocks, lines longer than a block, empty lines, a last line without a
// line feed, an empty input.
TEST(LineReaderTest, GivesTheLinesGetlineGives) {
    const std::vector<std::string> inputs = {"",
                                             "\n",
                                             "one",
                                             "one\n",
                                             "0 0 1 0\r\n\nlonger than any block here\nx\n\n",
                                             "a\nbb\nccc\ndddd\neeeee"};
    for (const std::string& input : inputs) {
        std::vector<std::string> expected;
        std::istringstream in(input);
        for (std::string line; std::getline(in, line);) expected.push_back(line);
        for (const std::size_t blockSize : {1, 2, 3, 7, 64}) {
            EXPECT_EQ(linesOf(input, blockSize), expected)
                << "'" << input << "', block " << blockSize;
        }
    }
}

// A stream that hands out one byte at a time and notes whether it was asked
// for a byte after the first line's end, as a terminal would have to wait for
// the user to type it.
class TricklingBuffer : public std::streambuf {
public:
    explicit TricklingBuffer(std::string text) : text_(std::move(text)) {}
    bool askedPastFirstLine = false;

protected:
    int_type underflow() override {
        if (at_ >= text_.size()) return traits_type::eof();
        if (at_ > text_.find('\n')) askedPastFirstLine = true;
        setg(&text_[at_], &text_[at_], &text_[at_] + 1);
        ++at_;
        return traits_type::to_int_type(text_[at_ - 1]);
    }

private:
    std::string text_;
    std::size_t at_ = 0;
};

TEST(LineReaderTest, ALineIsHandedOutWithoutWaitingForMoreInput) {
    TricklingBuffer typed("0 0 1 0\n0 0 0 1\n");
    LineReader reader(typed);
    std::string_view line;
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line, "0 0 1 0");
    EXPECT_FALSE(typed.askedPastFirstLine);
}

// Lines over the limit are handed out empty and marked, their bytes passed
// over wherever the blocks end; the lines after them come through whole.
TEST(LineReaderTest, LinesOverTheLimitAreMarkedAndPassedOver) {
    constexpr std::size_t kLimit = 8;
    const std::string longLine(3 * kLimit + 1, 'x');
    const std::string input = "12345678\n" + longLine + "\nnext\n123456789\n\n" + longLine;
    const std::vector<std::pair<std::string, bool>> expected = {
        {"12345678", false}, {"", true}, {"next", false}, {"", true}, {"", false}, {"", true}};
    for (const std::size_t blockSize : {1, 3, 8, 64}) {
        std::istringstream in(input);
        LineReader reader(*in.rdbuf(), blockSize, kLimit);
        std::vector<std::pair<std::string, bool>> lines;
        for (std::string_view line; reader.next(line);) lines.emplace_back(line, reader.tooLong());
        EXPECT_EQ(lines, expected) << "block " << blockSize;
    }
}

}  // namespace
}  // namespace geocalc::cli
