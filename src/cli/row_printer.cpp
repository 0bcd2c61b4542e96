#include "cli/row_printer.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "charset/code_page.h"
#include "cli/terminal_text.h"
#include "core/byte_words.h"

namespace geocalc::cli {

namespace {

constexpr std::size_t kBlockBytes = 256 * 1024;
// The most a byte can grow to: "\xHH", or a letter's UTF-8 (at most 3).
constexpr std::size_t kMostShownBytes = 4;

constexpr const char* escapeOf(char c) {
    switch (c) {
        case '\t':
            return "\\t";
        case '\r':
            return "\\r";
        case '\n':
            return "\\n";
        case '\\':
            return "\\\\";
        default:
            return nullptr;
    }
}

}  // namespace

bool showsAsItIs(std::string_view ansiText) {
    constexpr std::uint64_t kLow7 = 0x7F * words::kEveryByte;
    return !words::any(ansiText.data(), ansiText.size(), [](std::uint64_t w) {
        const std::uint64_t low = w & kLow7;                             // no carry between bytes
        const std::uint64_t printable = low + 0x60 * words::kEveryByte;  // high bit: at least 0x20
        const std::uint64_t del = low + words::kEveryByte;               // high bit: 0x7F
        return (w | ~printable | del | words::bytesEqual(w, '\\')) & words::kHighBits;
    });
}

RowPrinter::RowPrinter(std::ostream& out, const std::vector<bool>& plain)
    : out_(out), plain_(plain.begin(), plain.end()), block_(kBlockBytes) {}

void RowPrinter::print(std::span<const std::string_view> ansiTexts) {
    if (ansiTexts.empty())
        return print(std::array<std::string_view, 1>{});  // a row without fields: a line
    for (std::size_t i = 0; i < ansiTexts.size(); ++i) {
        const std::string_view text = ansiTexts[i];
        const std::size_t most = kMostShownBytes * text.size() + 1;  // and the tab or line end
        if (used_ + most > block_.size()) {
            flush();
            if (most > block_.size()) block_.resize(most);
        }
        char* at = block_.data() + used_;
        if (plain_[i] || showsAsItIs(text)) {
            words::copy(at, text.data(), text.size());
            at += text.size();
        } else {
            at = escaped(at, text);
        }
        *at++ = i + 1 < ansiTexts.size() ? '\t' : '\n';
        used_ = std::size_t(at - block_.data());
    }
}

void RowPrinter::flush() {
    out_.rdbuf()->sputn(block_.data(), std::streamsize(used_));  // no sentry per block
    used_ = 0;
}

// The rare text with bytes to escape or to write in UTF-8.
char* RowPrinter::escaped(char* at, std::string_view ansiText) {
    escaped_.clear();
    for (const char c : ansiText) {
        const auto byte = static_cast<unsigned char>(c);
        if (const char* escape = escapeOf(c)) {
            escaped_ += escape;
        } else if (isControlByte(byte)) {
            appendHexEscape(escaped_, byte);
        } else if (byte >= 0x80) {
            appendUtf8FromAnsi(escaped_, std::string_view(&c, 1));
        } else {
            escaped_ += c;
        }
    }
    return std::copy(escaped_.begin(), escaped_.end(), at);
}

}  // namespace geocalc::cli
