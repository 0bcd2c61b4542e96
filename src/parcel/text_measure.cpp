#include "parcel/text_measure.h"

#include "charset/code_page.h"

namespace geocalc {

namespace {

constexpr double kBoldFactor = 1.12;

// Advance widths in em, rounded up from DejaVu Sans, the widest of the fonts above.
double advance(char32_t c) {
    if (c == ' ' || c == '.' || c == ',' || c == ':' || c == ';' || c == '\'' || c == '|' ||
        c == 'i' || c == 'l' || c == 'j' || c == '!') {
        return 0.36;
    }
    if (c >= '0' && c <= '9') return 0.64;
    if (c == 'm' || c == 'M' || c == 'W' || c == 'w' || c == 0x416 || c == 0x436 || c == 0x428 ||
        c == 0x448 || c == 0x429 || c == 0x449 || c == 0x41C || c == 0x43C || c == 0x42E ||
        c == 0x44E || c == 0x2116) {
        return 1.0;  // the widest letters: m, W, Ж, Ш, Щ, М, Ю, №
    }
    if ((c >= 'A' && c <= 'Z') || (c >= 0x410 && c <= 0x42F) || c == 0x401) return 0.78;
    return 0.66;
}

}  // namespace

double textWidth(std::string_view utf8, double size, bool bold) {
    double em = 0;
    for (std::size_t pos = 0; pos < utf8.size();) em += advance(decodeUtf8(utf8, pos));
    return em * size * (bold ? kBoldFactor : 1.0);
}

}  // namespace geocalc
