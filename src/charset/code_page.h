// Single-byte code pages and the conversions of the core's 8-bit texts.
//
// Every text in the core is in the ANSI code page, Windows-1251. Conversions
// go through per-byte tables built once from the system's converter (iconv,
// or MultiByteToWideChar on Windows), so converting a text is a table look-up
// per character.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace geocalc {

inline constexpr char kReplacementChar = '?';
inline constexpr char32_t kUnknownCharacter = 0xFFFD;

class CodePage {
public:
    // The code page of that iconv name ("CP1251", "CP866", "CP437",
    // "KOI8-R", "ISO-8859-5", ...), built on first use and kept for the life
    // of the process. Fails with geocalc::Error ("Unknown code page KOI9")
    // for a name the system does not know as single-byte.
    static const CodePage& named(const std::string& iconvName);

    const std::string& name() const { return name_; }
    // U+FFFD for a byte the code page leaves undefined.
    char32_t toUnicode(unsigned char byte) const { return toUnicode_[byte]; }
    // The byte for a character, or -1 when the code page lacks it.
    int fromUnicode(char32_t c) const;

private:
    explicit CodePage(std::string name);
    // What the system's converter makes of every byte alone; kUnknownCharacter
    // for a byte that stands for nothing.
    static std::array<char32_t, 256> decodeEveryByte(const std::string& iconvName);
    std::string name_;
    std::array<char32_t, 256> toUnicode_{};
    std::unordered_map<char32_t, unsigned char> fromUnicode_;
};

// The ANSI code page of the texts in the core.
const CodePage& ansiCodePage();

// Unicode text (UTF-8) <-> the core's ANSI texts. A character the target lacks,
// and a malformed UTF-8 sequence (an overlong form, a surrogate, a code point
// above U+10FFFF, a stray or missing continuation byte), become "?".
std::string utf8FromAnsi(std::string_view ansi);
// utf8FromAnsi appended to `out`, for callers that reuse one string.
void appendUtf8FromAnsi(std::string& out, std::string_view ansi);
std::string ansiFromUtf8(std::string_view utf8);
// What the user typed, for storing: a character Windows-1251 lacks is refused
// rather than turned into "?" ("The character U+03A9 cannot be entered: texts
// here are in Windows-1251").
std::string ansiFromTypedUtf8(std::string_view utf8);
// The UTF-8 text in the ANSI code page, appended to `out`; `lacked` gives the
// byte for a character the code page lacks, or throws (a malformed sequence
// comes to it as U+FFFD).
void appendAnsiFromUtf8(std::string& out, std::string_view utf8,
                        const std::function<char(char32_t)>& lacked);
// "U+03A9": the character's code point, at least four hex digits.
std::string codePointName(char32_t c);

// Appends the UTF-8 form of c; decodes one UTF-8 character at pos (U+FFFD and
// one byte for a malformed sequence), advancing pos.
void appendUtf8(std::string& out, char32_t c);
char32_t decodeUtf8(std::string_view text, std::size_t& pos);

}  // namespace geocalc
