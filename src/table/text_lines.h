// A text file's lines, read a chunk at a time and as often as a reader needs,
// so that memory grows with the longest line and never with the file.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace geocalc {

// Hands a text's bytes to `take` in order, a chunk at a time, from the start
// each time it is called.
using TextChunks = std::function<void(const std::function<void(std::string_view)>& take)>;

// The longest line read; no point's line comes near it.
inline constexpr std::size_t kLongestTextLine = std::size_t(1) << 20;

// Fails with "Line 17: " and what is wrong with that line.
[[noreturn]] void failAtLine(std::size_t number, std::string_view what);

bool isBlank(char c);  // a blank or a tab
std::string_view trimmedBlanks(std::string_view text);

// The lines that hold something: blanks and tabs trimmed, empty lines and
// lines starting with "#" skipped, CR LF, LF and CR ends. The text is UTF-8
// (with or without a byte-order mark) where it is valid UTF-8 throughout,
// else Windows-1251.
class TextLines {
public:
    // Reads the text through once to tell its encoding, showing `look` each
    // line that holds something as the file writes it (the ASCII characters
    // are the same in either encoding) until it returns false. Fails naming
    // the line for a line longer than kLongestTextLine among those shown.
    TextLines(TextChunks chunks, const std::function<bool(std::string_view line)>& look);

    // Reads it again: each line that holds something, with its number (every
    // line counts), in Windows-1251. Fails naming the line for a NUL byte, a
    // character Windows-1251 lacks, or a byte that is no text in either
    // encoding.
    void forEach(const std::function<void(std::size_t number, std::string_view line)>& take) const;

private:
    TextChunks chunks_;
    bool utf8_ = true;
};

}  // namespace geocalc
