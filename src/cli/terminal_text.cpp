#include "cli/terminal_text.h"

namespace geocalc::cli {

namespace {

constexpr unsigned char kC1Lead = 0xC2;  // U+0080 to U+00BF are C2 80 to C2 BF

bool isC1(std::string_view utf8, std::size_t i) {
    return static_cast<unsigned char>(utf8[i]) == kC1Lead && i + 1 < utf8.size() &&
           static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
           static_cast<unsigned char>(utf8[i + 1]) <= 0x9F;
}

std::string escaped(std::string_view utf8, bool keepCrBeforeLf) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c == '\r' && keepCrBeforeLf && i + 1 < utf8.size() && utf8[i + 1] == '\n') {
            out += '\r';
        } else if (isControlByte(c)) {
            appendHexEscape(out, c);
        } else if (isC1(utf8, i)) {
            appendHexEscape(out, c);
            appendHexEscape(out, static_cast<unsigned char>(utf8[++i]));
        } else {
            out += char(c);
        }
    }
    return out;
}

}  // namespace

void appendHexEscape(std::string& out, unsigned char c) {
    constexpr const char* kHex = "0123456789ABCDEF";
    out += "\\x";
    out += kHex[c >> 4];
    out += kHex[c & 0xF];
}

std::string escapedForTerminal(std::string_view utf8) { return escaped(utf8, true); }

std::string messageForTerminal(std::string_view utf8) {
    std::string lines;
    lines.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n')
            continue;  // the LF follows
        lines += utf8[i];
    }
    return escaped(lines, false);
}

}  // namespace geocalc::cli
