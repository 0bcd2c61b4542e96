#include "table/text_lines.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "charset/code_page.h"
#include "core/error.h"

namespace geocalc {

void failAtLine(std::size_t number, std::string_view what) {
    throw Error(std::string("Line ").append(std::to_string(number)).append(": ").append(what));
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmedBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr char kNoWindows1251Character = char(0x98);

// What a line's bytes hold, eight at a time: a byte with its high bit set
// (no ASCII), a NUL.
struct ByteClasses {
    bool high = false, nul = false;
};

ByteClasses classesOf(std::string_view text) {
    constexpr std::uint64_t kOnes = 0x0101010101010101, kHighs = 0x8080808080808080;
    std::uint64_t high = 0, zero = 0;
    std::size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + at, 8);
        high |= word;
        zero |= (word - kOnes) & ~word;  // the high bit of each NUL byte, and maybe of others
    }
    ByteClasses classes{(high & kHighs) != 0, false};
    // Where some byte looked like a NUL (or the tail is left), look byte by byte.
    if ((zero & kHighs) != 0 || at < text.size()) {
        const std::string_view rest = (zero & kHighs) != 0 ? text : text.substr(at);
        for (const char c : rest) {
            classes.high = classes.high || (c & 0x80) != 0;
            classes.nul = classes.nul || c == '\0';
        }
    }
    return classes;
}

bool isAscii(std::string_view text) { return !classesOf(text).high; }

// The bytes a UTF-8 sequence takes, from its first.
std::size_t sequenceLength(char lead) {
    const auto byte = static_cast<unsigned char>(lead);
    return byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
}

// Whether a text handed over in chunks is UTF-8 throughout; a sequence cut
// by a chunk's end is completed from the next.
class Utf8Check {
public:
    void feed(std::string_view chunk) {
        if (!valid_) return;
        if (!cut_.empty()) {
            const std::size_t n = std::min(sequenceLength(cut_[0]) - cut_.size(), chunk.size());
            cut_.append(chunk.substr(0, n));
            chunk.remove_prefix(n);
            if (cut_.size() < sequenceLength(cut_[0])) return;
            std::size_t pos = 0;
            valid_ = decodeUtf8(cut_, pos) != kUnknownCharacter;
            cut_.clear();
        }
        if (isAscii(chunk)) return;
        for (std::size_t pos = 0; valid_ && pos < chunk.size();) {
            if ((chunk[pos] & 0x80) == 0) {
                ++pos;
            } else if (pos + sequenceLength(chunk[pos]) > chunk.size()) {
                cut_ = chunk.substr(pos);
                return;
            } else {
                valid_ = decodeUtf8(chunk, pos) != kUnknownCharacter;
            }
        }
    }
    bool valid() const { return valid_ && cut_.empty(); }

private:
    bool valid_ = true;
    std::string cut_;
};

// Where the line from `start` ends: its first CR or LF, or the chunk's end;
// eight bytes at a time, lines being short.
std::size_t lineEnd(std::string_view chunk, std::size_t start) {
    constexpr std::uint64_t kOnes = 0x0101010101010101, kHighs = 0x8080808080808080;
    auto hasByte = [](std::uint64_t word, char byte) {
        const std::uint64_t x = word ^ (kOnes * std::uint8_t(byte));
        return ((x - kOnes) & ~x & kHighs) != 0;
    };
    std::size_t at = start;
    for (; at + 8 <= chunk.size(); at += 8) {
        std::uint64_t word;
        std::memcpy(&word, chunk.data() + at, 8);
        if (hasByte(word, '\n') || hasByte(word, '\r')) break;
    }
    while (at < chunk.size() && chunk[at] != '\n' && chunk[at] != '\r') ++at;
    return at;
}

// The lines that hold something, as the file writes them (a byte-order mark
// left off), each with its number, until `take` returns false. True when the
// text starts with a byte-order mark.
bool forEachRawLine(const TextChunks& chunks,
                    const std::function<bool(std::size_t, std::string_view)>& take) {
    bool taking = true;
    std::string pending;  // a line begun in an earlier chunk
    std::size_t number = 0;
    bool afterCr = false;  // the last chunk ended with CR: a LF first in this one ends nothing
    bool marked = false;
    auto keep = [&](std::string_view part) {
        if (pending.size() + part.size() > kLongestTextLine) {
            failAtLine(number + 1, std::string("the line is longer than ")
                                       .append(std::to_string(kLongestTextLine))
                                       .append(" bytes"));
        }
    };
    auto finish = [&](std::string_view line) {
        ++number;
        if (number == 1 && line.starts_with(kByteOrderMark)) {
            line.remove_prefix(kByteOrderMark.size());
            marked = true;
        }
        line = trimmedBlanks(line);
        if (!line.empty() && line.front() != '#') taking = take(number, line);
    };
    chunks([&](std::string_view chunk) {
        if (!taking) return;
        std::size_t start = afterCr && chunk.starts_with('\n') ? 1 : 0;
        afterCr = false;
        for (;;) {
            const std::size_t at = lineEnd(chunk, start);
            const std::string_view part = chunk.substr(start, at - start);
            keep(part);
            if (at == chunk.size()) {
                pending.append(part);
                return;
            }
            if (pending.empty()) {
                finish(part);
            } else {
                finish(pending.append(part));
                pending.clear();
            }
            if (!taking) return;
            start = at + 1;
            if (chunk[at] == '\r') {
                if (start == chunk.size())
                    afterCr = true;
                else if (chunk[start] == '\n')
                    ++start;
            }
        }
    });
    if (taking && !pending.empty()) finish(pending);
    return marked;
}

}  // namespace

TextLines::TextLines(TextChunks chunks, const std::function<bool(std::string_view)>& look)
    : chunks_(std::move(chunks)) {
    Utf8Check utf8;
    const TextChunks checked = [&](const std::function<void(std::string_view)>& take) {
        chunks_([&](std::string_view chunk) {
            utf8.feed(chunk);
            take(chunk);
        });
    };
    const bool marked =
        forEachRawLine(checked, [&look](std::size_t, std::string_view line) { return look(line); });
    utf8_ = marked || utf8.valid();
}

void TextLines::forEach(const std::function<void(std::size_t, std::string_view)>& take) const {
    std::string converted;
    forEachRawLine(chunks_, [&](std::size_t number, std::string_view line) {
        const ByteClasses classes = classesOf(line);
        if (classes.nul) failAtLine(number, "a NUL byte is no text");
        if (classes.high && !utf8_ && line.find(kNoWindows1251Character) != std::string_view::npos)
            failAtLine(number, "the text is neither UTF-8 nor Windows-1251");
        if (!classes.high || !utf8_) {
            take(number, line);
            return true;
        }
        converted.clear();
        appendAnsiFromUtf8(converted, line, [number](char32_t c) -> char {
            if (c == kUnknownCharacter) failAtLine(number, "an invalid UTF-8 sequence");
            failAtLine(number, "a character Windows-1251 lacks (" + codePointName(c) + ")");
        });
        take(number, converted);
        return true;
    });
}

}  // namespace geocalc
