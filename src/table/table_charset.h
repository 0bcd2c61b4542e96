// The character set of a table's texts, and their conversion to and from the
// core's ANSI texts (Windows-1251).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace geocalc {

class TableCharset {
public:
    // A ".cpg" file beside the table wins; else the language driver byte;
    // a table that names none (0) is read in the OEM code page, CP866.
    static TableCharset forTable(const std::string& tablePath, std::uint8_t languageDriver);
    // An iconv name of a single-byte code page, or "UTF-8".
    static TableCharset named(const std::string& codePage);

    const std::string& name() const { return name_; }

    // Characters the other side lacks become "?".
    std::string toAnsi(std::string_view stored) const;
    void appendAnsi(std::string_view stored, std::string& out) const;
    // A single-byte code page's text written at `out` (a byte for a byte);
    // returns its end.
    bool singleByte() const { return !utf8_; }
    char* writeSingleByte(std::string_view stored, char* out) const;
    // Whether a single-byte text reads as its own bytes, given whether it
    // holds bytes from 0x80 up; if not, toAnsiInPlace turns it.
    bool keepsBytes(bool highBytes) const { return identity_ || (asciiKept_ && !highBytes); }
    void toAnsiInPlace(char* text, std::size_t size) const;
    std::string fromAnsi(std::string_view ansi) const;
    // The first character of an ANSI text that the table's code page lacks
    // (fromAnsi would store it as "?"), if any.
    std::optional<char> firstLacked(std::string_view ansi) const;

private:
    TableCharset() = default;
    std::string name_;
    bool utf8_ = false;
    bool identity_ = false;   // the table is in the ANSI code page itself
    bool asciiKept_ = false;  // bytes below 0x80 read as themselves
    std::array<char, 256> toAnsi_{};
    std::array<char, 256> fromAnsi_{};
};

// The code page a ".cpg" file names ("CP1251", "1251", "ANSI 1251", "UTF-8",
// "866", ...), as an iconv name; nothing for a text that names none.
std::optional<std::string> codePageOfCpg(std::string_view content);

// The code page of a dBASE language driver byte, as an iconv name; nothing
// for 0 and for drivers of no known single-byte page.
std::optional<std::string> codePageOfLanguageDriver(std::uint8_t driver);

}  // namespace geocalc
