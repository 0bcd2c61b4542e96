#include <windows.h>

#include <cctype>
#include <optional>

#include "charset/code_page.h"
#include "core/error.h"

namespace geocalc {

namespace {

struct NamedPage {
    const char* name;
    UINT number;
};

// The iconv names the tables use that are not "CP" and a number.
constexpr NamedPage kNamedPages[] = {
    {"KOI8-R", 20866},
    {"KOI8-U", 21866},
    {"MAC", 10000},
    {"MACINTOSH", 10000},
    {"MACROMAN", 10000},
    {"MAC-CYRILLIC", 10007},
    {"MACCYRILLIC", 10007},
    {"MAC-CENTRALEUROPE", 10029},
    {"MACCENTRALEUROPE", 10029},
    {"ASCII", 20127},
    {"US-ASCII", 20127},
    {"LATIN1", 28591},
};

constexpr UINT kIsoPages = 28590;  // ISO-8859-n is 28590 + n

std::optional<UINT> numberAfter(const std::string& name, const std::string& prefix) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return std::nullopt;
    UINT number = 0;
    for (char c : name.substr(prefix.size())) {
        if (c < '0' || c > '9' || number > 100000) return std::nullopt;
        number = number * 10 + UINT(c - '0');
    }
    return number;
}

std::optional<UINT> windowsCodePage(const std::string& iconvName) {
    std::string name = iconvName;
    for (char& c : name) c = char(std::toupper(static_cast<unsigned char>(c)));
    for (const NamedPage& page : kNamedPages) {
        if (name == page.name) return page.number;
    }
    if (const auto part = numberAfter(name, "ISO-8859-")) return kIsoPages + *part;
    for (const char* prefix : {"CP", "WINDOWS-", "IBM"}) {
        if (const auto number = numberAfter(name, prefix)) return number;
    }
    return std::nullopt;
}

}  // namespace

std::array<char32_t, 256> CodePage::decodeEveryByte(const std::string& iconvName) {
    const std::optional<UINT> page = windowsCodePage(iconvName);
    if (!page || !IsValidCodePage(*page)) throw Error("Unknown code page " + iconvName);
    const bool iso = *page > kIsoPages && *page < kIsoPages + 100;
    std::array<char32_t, 256> characters{};
    for (int b = 0; b < 256; ++b) {
        const char byte = char(b);
        wchar_t wide[2];
        const int n = MultiByteToWideChar(*page, MB_ERR_INVALID_CHARS, &byte, 1, wide, 2);
        char32_t c = n == 1 && !(wide[0] >= 0xD800 && wide[0] <= 0xDFFF) ? char32_t(wide[0])
                                                                         : kUnknownCharacter;
        // Windows fills the holes of its own pages (0x98 of 1251) with the
        // C1 control of the same number, which iconv leaves undefined; only
        // the ISO pages define those.
        if (b >= 0x80 && b <= 0x9F && c == char32_t(b) && !iso) c = kUnknownCharacter;
        characters[std::size_t(b)] = c;
    }
    return characters;
}

}  // namespace geocalc
