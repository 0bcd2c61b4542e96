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

// The general form from the parts of the stored text it keeps: the digits
// from `from` to `to`, with the point at `point` (if among them) turned into
// the separator, after a minus sign and a 0 where asked. Where that is the
// stored text itself, a view of it; else written at `scratch`.
inline std::string_view shown(bool minus, bool zeroFirst, const char* from, const char* to,
                              const char* point, char separator, char* scratch) {
    if (!zeroFirst && (!minus || from[-1] == '-') && (point == nullptr || separator == '.')) {
        return {from - minus, std::size_t(to - from) + minus};
    }
    char* out = scratch;
    if (minus) *out++ = '-';
    if (zeroFirst) *out++ = '0';
    words::copy(out, from, std::size_t(to - from));
    if (point != nullptr) out[point - from] = separator;
    return {scratch, std::size_t(out - scratch) + std::size_t(to - from)};
}

// Byte by byte, for any length.
std::optional<std::string_view> byBytes(std::string_view stored, char separator, char* scratch) {
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
    if (p != end || end - number == (point ? 1 : 0)) return std::nullopt;

    int significant;
    if (whole != wholeEnd) {
        significant = int((wholeEnd - whole) + (fractionEnd - fraction));
    } else {
        const char* firstDigit = fraction;
        while (firstDigit < fractionEnd && *firstDigit == '0') ++firstDigit;
        if (firstDigit < fractionEnd && -int(firstDigit - fraction) < kSmallestPlainExponent)
            return std::nullopt;
        significant = int(fractionEnd - firstDigit);
    }
    if (significant > kGeneralDigits) return std::nullopt;

    const bool withFraction = fractionEnd != fraction;
    const char* from = whole != wholeEnd || !withFraction ? whole : fraction - 1;
    const char* to = withFraction ? fractionEnd : wholeEnd;
    return shown(negative && significant > 0, whole == wholeEnd, from, to,
                 withFraction ? fraction - 1 : nullptr, separator, scratch);
}

#if GEOCALC_BYTE_MASKS

// The same rules as byBytes, decided on masks of the bytes' classes rather
// than byte by byte.
std::optional<std::string_view> byMasks(const ByteMasks& bytes, char separator, char* scratch) {
    using Masks = ByteMasks;
    const std::uint32_t text = ~bytes.blank & Masks::span(bytes.first, bytes.end);
    if (text == 0) return std::nullopt;
    const int first = std::countr_zero(text), end = Masks::lastBit(text) + 1;
    const char sign = bytes.origin[first];
    const bool signed_ = sign == '-' || sign == '+';
    const std::uint32_t body = Masks::span(first + signed_, end);
    const std::uint32_t points = body & bytes.point;
    const std::uint32_t digits = body & bytes.digit;
    // Blanks within, other characters, a second sign or point, no digit: the reader's to judge.
    if ((body & ~(digits | points)) != 0 || (points & (points - 1)) != 0 || digits == 0)
        return std::nullopt;

    const std::uint32_t notZero = ~bytes.zero;
    const int pointAt = points != 0 ? std::countr_zero(points) : end;
    const std::uint32_t wholeDigits =
        Masks::span(first + signed_, pointAt) & notZero;  // from the first not 0
    const int wholeStart = wholeDigits != 0 ? std::countr_zero(wholeDigits) : pointAt;
    const int fractionStart = pointAt + 1;
    const std::uint32_t fractionDigits =
        points != 0 ? Masks::span(fractionStart, end) & notZero : 0;
    const int fractionEnd =
        fractionDigits != 0 ? Masks::lastBit(fractionDigits) + 1 : fractionStart;
    int significant = 0;
    if (wholeStart != pointAt) {
        significant = (pointAt - wholeStart) + (fractionEnd - fractionStart);
    } else if (fractionDigits != 0) {
        const int firstDigit = std::countr_zero(fractionDigits);
        if (-(firstDigit - fractionStart) < kSmallestPlainExponent) return std::nullopt;
        significant = fractionEnd - firstDigit;
    }
    if (significant > kGeneralDigits) return std::nullopt;

    const bool withFraction = fractionEnd > fractionStart;
    const int from = wholeStart != pointAt || !withFraction ? wholeStart : pointAt;
    const int to = withFraction ? fractionEnd : pointAt;
    return shown(sign == '-' && significant > 0, wholeStart == pointAt, bytes.origin + from,
                 bytes.origin + to, withFraction ? bytes.origin + pointAt : nullptr, separator,
                 scratch);
}

#endif

}  // namespace

std::optional<std::string_view> plainDecimal(std::string_view within, std::string_view stored,
                                             char separator, char* scratch) {
#if GEOCALC_BYTE_MASKS
    if (stored.size() <= ByteMasks::kMostBytes && within.size() >= ByteMasks::kWindow) {
        return byMasks(ByteMasks(within, stored), separator, scratch);
    }
#endif
    return byBytes(stored, separator, scratch);
}

bool appendPlainDecimal(std::string_view stored, char separator, std::string& out) {
    char scratch[kPlainDecimalRoom];
    const std::optional<std::string_view> text = plainDecimal(stored, stored, separator, scratch);
    if (text) out += *text;
    return text.has_value();
}

}  // namespace geocalc
