#include <windows.h>

#include <optional>
#include <string_view>

#include "charset/code_page.h"
#include "core/native_path.h"
#include "numtext/format_settings.h"

namespace geocalc {

namespace {

// The user's setting in UTF-8; nothing when it cannot be read.
std::optional<std::string> setting(LCTYPE type) {
    wchar_t text[128];
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, text, int(std::size(text)));
    if (length <= 0) return std::nullopt;
    return utf8FromWide(std::wstring_view(text, std::size_t(length - 1)));
}

// A separator is one byte of the core's ANSI code page.
char singleByteOr(const std::optional<std::string>& text, char fallback) {
    const std::string ansi = text ? ansiFromUtf8(*text) : std::string();
    return ansi.size() == 1 && ansi[0] != kReplacementChar ? ansi[0] : fallback;
}

// A Windows date or time picture ("dd.MM.yyyy", "H:mm:ss") as the strftime
// pattern the field texts are written with. strftime has no day, month or
// hour without its leading zero, so "d", "M" and "H" get one.
std::string strftimePattern(const std::string& picture) {
    static constexpr std::pair<std::string_view, std::string_view> kParts[] = {
        {"yyyy", "%Y"}, {"yyy", "%Y"}, {"yy", "%y"},   {"y", "%y"},   {"MMMM", "%B"}, {"MMM", "%b"},
        {"MM", "%m"},   {"M", "%m"},   {"dddd", "%A"}, {"ddd", "%a"}, {"dd", "%d"},   {"d", "%d"},
        {"HH", "%H"},   {"H", "%H"},   {"hh", "%I"},   {"h", "%I"},   {"mm", "%M"},   {"m", "%M"},
        {"ss", "%S"},   {"s", "%S"},   {"tt", "%p"},   {"t", "%p"},
    };
    std::string pattern;
    for (std::size_t i = 0; i < picture.size();) {
        if (picture[i] == '\'') {  // quoted text, '' for a quote
            const std::size_t end = picture.find('\'', i + 1);
            pattern += end == i + 1 ? "'" : picture.substr(i + 1, end - i - 1);
            i = end == std::string::npos ? picture.size() : end + 1;
            continue;
        }
        bool matched = false;
        for (const auto& [from, to] : kParts) {
            if (std::string_view(picture).substr(i, from.size()) == from) {
                pattern += to;
                i += from.size();
                matched = true;
                break;
            }
        }
        if (matched) continue;
        pattern += picture[i] == '%' ? std::string("%%") : std::string(1, picture[i]);
        ++i;
    }
    return pattern;
}

}  // namespace

NumberFormat userNumberFormat() {
    NumberFormat loaded;
    loaded.decimalSeparator = singleByteOr(setting(LOCALE_SDECIMAL), '.');
    if (const auto date = setting(LOCALE_SSHORTDATE))
        loaded.shortDateFormat = strftimePattern(*date);
    if (const auto time = setting(LOCALE_STIMEFORMAT))
        loaded.longTimeFormat = strftimePattern(*time);
    return loaded;
}

}  // namespace geocalc
