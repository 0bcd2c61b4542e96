#include "form/application_title.h"

#include "charset/code_page.h"
#include "core/native_path.h"

namespace geocalc {

namespace {

// Capital letters of the alphabets an executable's name is written in, and
// their small forms; the ranges pair capitals and small letters one to one.
char32_t lowered(char32_t c) {
    if (c >= U'A' && c <= U'Z') return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;  // Latin-1
    if (c >= 0x100 && c <= 0x17F && c % 2 == 0 && c != 0x130)
        return c + 1;                                             // Latin Extended-A, in pairs
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 0x20;  // Greek
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;                // Cyrillic Ѐ .. Џ
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;                // Cyrillic А .. Я
    return c;
}

}  // namespace

std::string applicationTitle(std::string_view executablePath) {
    const std::size_t separator = executablePath.find_last_of(kPathSeparators);
    std::string_view name =
        executablePath.substr(separator == std::string_view::npos ? 0 : separator + 1);
    name = name.substr(0, name.find('.'));
    std::string title;
    for (std::size_t pos = 0; pos < name.size();) {
        const char32_t c = decodeUtf8(name, pos);
        appendUtf8(title, title.empty() ? c : lowered(c));
    }
    return title;
}

}  // namespace geocalc
