// The bytes of a short field (up to 32) as bit masks of the classes of
// bytes that field texts care about, bit i for the i-th byte from
// `origin()`, read straight from the record sixteen bytes at a time (SSE2,
// on every x86-64). Copying the field aside first would stall each read on
// the copy's stores.
#pragma once

#if defined(__SSE2__)
#define GEOCALC_BYTE_MASKS 1

#include <emmintrin.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string_view>

namespace geocalc {

struct ByteMasks {
    static constexpr std::size_t kWindow = 16;
    static constexpr std::size_t kMostBytes = 2 * kWindow;

    // `field` lies within `record`, at least kWindow bytes long, and holds
    // at most kMostBytes. A field of up to 16 bytes is read in one window
    // that may reach over the bytes around it; a longer one in two.
    ByteMasks(std::string_view record, std::string_view field) {
        const std::size_t offset = std::size_t(field.data() - record.data());
        if (field.size() <= kWindow) {
            const std::size_t start = std::min(offset, record.size() - kWindow);
            origin = record.data() + start;
            first = int(offset - start);
            classify(origin, 0);
        } else {
            origin = field.data();
            classify(origin, 0);
            classify(origin + field.size() - kWindow, int(field.size() - kWindow));
        }
        end = first + int(field.size());
    }

    // Bits from..to-1.
    static std::uint32_t span(int from, int to) {
        const std::uint64_t below = (std::uint64_t(1) << to) - 1;
        return std::uint32_t(below & ~((std::uint64_t(1) << from) - 1));
    }
    static int lastBit(std::uint32_t mask) { return 31 - std::countl_zero(mask); }

    const char* origin;
    int first = 0;  // the field's first bit
    int end = 0;    // after its last
    std::uint32_t blank = 0, nul = 0, high = 0, digit = 0, zero = 0, point = 0;

private:
    void classify(const char* bytes, int shift) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
        const auto bits = [shift](__m128i equal) {
            return std::uint32_t(_mm_movemask_epi8(equal)) << shift;
        };
        const auto equalTo = [&](char c) { return bits(_mm_cmpeq_epi8(v, _mm_set1_epi8(c))); };
        const __m128i digitValue = _mm_sub_epi8(v, _mm_set1_epi8('0'));
        blank |= equalTo(' ');
        nul |= equalTo('\0');
        high |= bits(v);
        digit |= bits(_mm_cmpeq_epi8(_mm_min_epu8(digitValue, _mm_set1_epi8(9)), digitValue));
        zero |= equalTo('0');
        point |= equalTo('.');
    }
};

}  // namespace geocalc

#endif
