#include "charset/code_page.h"

#include <functional>
#include <map>
#include <memory>
#include <mutex>

#include "core/error.h"

namespace geocalc {

CodePage::CodePage(std::string name) : name_(std::move(name)), toUnicode_(decodeEveryByte(name_)) {
    for (int b = 0; b < 256; ++b) {
        const char32_t c = toUnicode_[std::size_t(b)];
        if (c != kUnknownCharacter) fromUnicode_.emplace(c, static_cast<unsigned char>(b));
    }
}

const CodePage& CodePage::named(const std::string& iconvName) {
    static std::mutex mutex;
    static std::map<std::string, std::unique_ptr<CodePage>> pages;
    std::lock_guard lock(mutex);
    auto& page = pages[iconvName];
    if (!page) page.reset(new CodePage(iconvName));
    return *page;
}

int CodePage::fromUnicode(char32_t c) const {
    if (c < 0x80 && toUnicode_[c] == c) return int(c);
    auto it = fromUnicode_.find(c);
    return it == fromUnicode_.end() ? -1 : it->second;
}

const CodePage& ansiCodePage() {
    static const CodePage& page = CodePage::named("CP1251");
    return page;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

char32_t decodeUtf8(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80) return lead;
    int length = lead >= 0xF0 && lead < 0xF5 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (lead >= 0xF5) length = 0;
    if (length == 0 || pos + std::size_t(length - 1) > text.size()) return kUnknownCharacter;
    char32_t c = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + std::size_t(i - 1)]);
        if ((next & 0xC0) != 0x80) return kUnknownCharacter;
        c = (c << 6) | (next & 0x3F);
    }
    // Overlong forms, UTF-16 surrogates and code points beyond Unicode are
    // malformed: they would otherwise smuggle in NUL, "." and the like.
    constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kShortest[length] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
        return kUnknownCharacter;
    pos += std::size_t(length - 1);
    return c;
}

// Runs of ASCII, most of every text, are the same in both and go as a block.
void appendUtf8FromAnsi(std::string& out, std::string_view ansi) {
    const CodePage& page = ansiCodePage();
    std::size_t run = 0;
    for (std::size_t i = 0; i < ansi.size(); ++i) {
        const auto byte = static_cast<unsigned char>(ansi[i]);
        if (byte < 0x80) continue;
        out.append(ansi.substr(run, i - run));
        const char32_t u = page.toUnicode(byte);
        appendUtf8(out, u == kUnknownCharacter ? char32_t(kReplacementChar) : u);
        run = i + 1;
    }
    out.append(ansi.substr(run));
}

std::string utf8FromAnsi(std::string_view ansi) {
    std::string out;
    appendUtf8FromAnsi(out, ansi);
    return out;
}

void appendAnsiFromUtf8(std::string& out, std::string_view utf8,
                        const std::function<char(char32_t)>& lacked) {
    const CodePage& page = ansiCodePage();
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char32_t c = decodeUtf8(utf8, pos);
        const int b = page.fromUnicode(c);
        out += b < 0 ? lacked(c) : char(b);
    }
}

std::string codePointName(char32_t c) {
    std::string code;  // at least four hex digits
    for (char32_t rest = c; rest != 0 || code.size() < 4; rest >>= 4)
        code.insert(code.begin(), "0123456789ABCDEF"[rest & 0xF]);
    return "U+" + code;
}

namespace {

std::string toAnsi(std::string_view utf8, const std::function<char(char32_t)>& lacked) {
    std::string out;
    out.reserve(utf8.size());
    appendAnsiFromUtf8(out, utf8, lacked);
    return out;
}

}  // namespace

std::string ansiFromUtf8(std::string_view utf8) {
    return toAnsi(utf8, [](char32_t) { return kReplacementChar; });
}

std::string ansiFromTypedUtf8(std::string_view utf8) {
    return toAnsi(utf8, [](char32_t c) -> char {
        throw Error("The character " + codePointName(c) +
                    " cannot be entered: texts here are in Windows-1251");
    });
}

}  // namespace geocalc
