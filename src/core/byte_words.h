// Looking at bytes eight at a time, for the short texts of table fields
// (little-endian words, as on every system geocalc is built for).
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace geocalc::words {

static_assert(std::endian::native == std::endian::little);

inline constexpr std::uint64_t kEveryByte = 0x0101010101010101;
inline constexpr std::uint64_t kHighBits = 0x8080808080808080;

inline std::uint64_t load(const char* bytes) {
    std::uint64_t w;
    std::memcpy(&w, bytes, sizeof w);
    return w;
}

inline void store(char* bytes, std::uint64_t w) { std::memcpy(bytes, &w, sizeof w); }

// A high bit in every byte of `w` that equals `c`, and no false ones.
inline std::uint64_t bytesEqual(std::uint64_t w, unsigned char c) {
    const std::uint64_t x = w ^ (c * kEveryByte);
    return ~(((x & ~kHighBits) + ~kHighBits) | x | ~kHighBits);
}

// Copies `size` bytes without a library call: whole words, the last one
// overlapping the one before where needed; reads only within `from`.
inline void copy(char* to, const char* from, std::size_t size) {
    if (size >= 8) {
        for (std::size_t i = 0; i + 8 < size; i += 8) store(to + i, load(from + i));
        store(to + size - 8, load(from + size - 8));
    } else if (size >= 4) {
        std::uint32_t head, tail;
        std::memcpy(&head, from, 4);
        std::memcpy(&tail, from + size - 4, 4);
        std::memcpy(to, &head, 4);
        std::memcpy(to + size - 4, &tail, 4);
    } else if (size > 0) {
        to[0] = from[0];
        to[size / 2] = from[size / 2];
        to[size - 1] = from[size - 1];
    }
}

// Whether any of `size` bytes satisfies `test`, which takes a word and gives
// a high bit in each byte found; words overlap where `size` is not a
// multiple of eight, and a short text is gathered into one word (its bytes
// may repeat there, which cannot change the answer).
template <class Test>
bool any(const char* bytes, std::size_t size, Test test) {
    if (size >= 8) {
        for (std::size_t i = 0; i + 8 < size; i += 8) {
            if (test(load(bytes + i))) return true;
        }
        return test(load(bytes + size - 8)) != 0;
    }
    std::uint64_t w;
    if (size >= 4) {
        std::uint32_t head, tail;
        std::memcpy(&head, bytes, 4);
        std::memcpy(&tail, bytes + size - 4, 4);
        w = head | std::uint64_t(tail) << 32;
    } else if (size > 0) {
        const auto byte = [bytes](std::size_t i) {
            return std::uint64_t(static_cast<unsigned char>(bytes[i]));
        };
        const std::uint64_t three = byte(0) | byte(size / 2) << 8 | byte(size - 1) << 16;
        w = three | three << 24 | three << 48;
    } else {
        return false;
    }
    return test(w) != 0;
}

}  // namespace geocalc::words
