#include "table/plain_decimal.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "core/byte_words.h"
#include "table/byte_masks.h"


namespace geocalc {

namespace {

constexpr int kGeneralDigits = 15;
constexpr int kSmallestPlainExponent = -3;

// Byte by byte, for any length.
char* writeByBytes(std::string_view stored, char separator, char* out) {
    const char* p = stored.data();
    const char* end = p + stored.size();
    while (p < end && *p == ' ') ++p;
    while (end > p && end[-1] == ' ') --end;
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+')) negative = *p++ == '-';
    const char* number = p;
    while (p < end && *p == '0') ++p;  // leading zeros of the whole part
    const char* whole = p;
    while (p < end && *p >= '0' && *p <= '9') ++p;
    const char* wholeEnd = p;
    const char* fraction = p;
    const char* fractionEnd = p;
    bool point = false;
    if (p < end && *p == '.') {
        point = true;
        fraction = ++p;
        while (p < end && *p >= '0' && *p <= '9') ++p;
        fractionEnd = p;
        while (fractionEnd > fraction && fractionEnd[-1] == '0') --fractionEnd;
    }
    // A text without digits (blank, a sign, a lone point) is the reader's to judge.
    if (p != end || end - number == (point ? 1 : 0)) return nullptr;

    int significant;
    if (whole != wholeEnd) {
        significant = int((wholeEnd - whole) + (fractionEnd - fraction));
    } else {
        const char* firstDigit = fraction;
        while (firstDigit < fractionEnd && *firstDigit == '0') ++firstDigit;
        if (firstDigit < fractionEnd && -int(firstDigit - fraction) < kSmallestPlainExponent) return nullptr;
        significant = int(fractionEnd - firstDigit);
    }
    if (significant > kGeneralDigits) return nullptr;

    if (negative && significant > 0) *out++ = '-';
    if (whole == wholeEnd) *out++ = '0';
    words::copy(out, whole, std::size_t(wholeEnd - whole));
    out += wholeEnd - whole;
    if (fractionEnd != fraction) {
        *out++ = separator;
        words::copy(out, fraction, std::size_t(fractionEnd - fraction));
        out += fractionEnd - fraction;
    }
    return out;
}

#if GEOCALC_BYTE_MASKS

// The same rules as writeByBytes, decided on masks of the bytes' classes
// rather than byte by byte.
char* writeByMasks(const ByteMasks& bytes, char separator, char* out) {
    using Masks = ByteMasks;
    const std::uint32_t text = ~bytes.blank & Masks::span(bytes.first, bytes.end);
    if (text == 0) return nullptr;
    const int first = std::countr_zero(text), end = Masks::lastBit(text) + 1;
    const char sign = bytes.origin[first];
    const bool signed_ = sign == '-' || sign == '+';
    const std::uint32_t body = Masks::span(first + signed_, end);
    const std::uint32_t points = body & bytes.point;
    const std::uint32_t digits = body & bytes.digit;
    // Blanks within, other characters, a second sign or point, no digit: the reader's to judge.
    if ((body & ~(digits | points)) != 0 || (points & (points - 1)) != 0 || digits == 0) return nullptr;

    const std::uint32_t notZero = ~bytes.zero;
    const int pointAt = points != 0 ? std::countr_zero(points) : end;
    const std::uint32_t wholeDigits = Masks::span(first + signed_, pointAt) & notZero;  // from the first not 0
    const int wholeStart = wholeDigits != 0 ? std::countr_zero(wholeDigits) : pointAt;
    const int fractionStart = pointAt + 1;
    const std::uint32_t fractionDigits = points != 0 ? Masks::span(fractionStart, end) & notZero : 0;
    const int fractionEnd = fractionDigits != 0 ? Masks::lastBit(fractionDigits) + 1 : fractionStart;
    int significant = 0;
    if (wholeStart != pointAt) {
        significant = (pointAt - wholeStart) + (fractionEnd - fractionStart);
    } else if (fractionDigits != 0) {
        const int firstDigit = std::countr_zero(fractionDigits);
        if (-(firstDigit - fractionStart) < kSmallestPlainExponent) return nullptr;
        significant = fractionEnd - firstDigit;
    }
    if (significant > kGeneralDigits) return nullptr;

    if (sign == '-' && significant > 0) *out++ = '-';
    int from = wholeStart;
    if (wholeStart == pointAt) {
        *out++ = '0';
        from = pointAt;
    }
    const int to = fractionEnd > fractionStart ? fractionEnd : pointAt;
    words::copy(out, bytes.origin + from, std::size_t(to - from));
    if (points != 0 && pointAt < to) out[pointAt - from] = separator;
    return out + (to - from);
}

#endif

}  // namespace

char* writePlainDecimal(std::string_view within, std::string_view stored, char separator, char* out) {
#if GEOCALC_BYTE_MASKS
    if (stored.size() <= ByteMasks::kMostBytes && within.size() >= ByteMasks::kWindow) {
        return writeByMasks(ByteMasks(within, stored), separator, out);
    }
#endif
    return writeByBytes(stored, separator, out);
}

bool appendPlainDecimal(std::string_view stored, char separator, std::string& out) {
    char text[kPlainDecimalRoom];
    const char* end = writePlainDecimal(stored, stored, separator, text);
    if (end) out.append(text, std::size_t(end - text));
    return end != nullptr;
}

}  // namespace geocalc
