#include "numtext/power_of_ten.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace geocalc {
namespace {

// An exact power of ten as a little-endian array of 32-bit words.
class BigPowerOfTen {
public:
    explicit BigPowerOfTen(int n) {
        for (int i = 0; i < n; ++i) {
            std::uint64_t carry = 0;
            for (auto& word : words_) {
                const std::uint64_t product = std::uint64_t{word} * 10 + carry;
                word = std::uint32_t(product);
                carry = product >> 32;
            }
            if (carry != 0) words_.push_back(std::uint32_t(carry));
        }
    }
    int bitLength() const {
        return int(words_.size() - 1) * 32 + (32 - __builtin_clz(words_.back()));
    }
    bool bit(int i) const { return i >= 0 && (words_[std::size_t(i / 32)] >> (i % 32)) & 1; }
    bool anyBitBelow(int i) const {
        for (int b = 0; b < i; ++b) {
            if (bit(b)) return true;
        }
        return false;
    }

private:
    std::vector<std::uint32_t> words_{1};
};

struct Extended {
    std::uint64_t significand;
    int exponent;  // of the leading bit
    bool operator==(const Extended&) const = default;
};

Extended nearestExtended(const BigPowerOfTen& p) {
    const int length = p.bitLength();
    std::uint64_t significand = 0;
    for (int i = 0; i < 64; ++i) significand = (significand << 1) | p.bit(length - 1 - i);
    const int cut = length - 64;  // bits below the significand
    Extended e{significand, length - 1};
    const bool roundBit = p.bit(cut - 1);
    const bool sticky = p.anyBitBelow(cut - 1);
    if (roundBit && (sticky || (significand & 1))) {
        if (++e.significand == 0) {
            e.significand = std::uint64_t{1} << 63;
            ++e.exponent;
        }
    }
    return e;
}

Extended bitsOf(long double v) {
    std::uint64_t significand;
    std::uint16_t exponentField;
    std::memcpy(&significand, &v, 8);
    std::memcpy(&exponentField, reinterpret_cast<const char*>(&v) + 8, 2);
    return {significand, (exponentField & 0x7FFF) - 16383};
}

TEST(PowerOfTenTest, EveryTableEntryIsTheNearestExtendedValue) {
    auto check = [](long double entry, int power) {
        SCOPED_TRACE("10^" + std::to_string(power));
        EXPECT_EQ(bitsOf(entry), nearestExtended(BigPowerOfTen(power)));
    };
    for (int i = 0; i < 32; ++i) check(kPowersOfTen[std::size_t(i)], i);
    for (int j = 1; j < 16; ++j) check(kPowersOfTen32[std::size_t(j)], 32 * j);
    for (int m = 1; m < 10; ++m) check(kPowersOfTen512[std::size_t(m)], 512 * m);
}

TEST(PowerOfTenTest, ScalingMultipliesByUpToThreeEntriesInTurn) {
    const long double x = 1.2345L;
    EXPECT_EQ(scaleByPowerOfTen(x, 0), x);
    EXPECT_EQ(scaleByPowerOfTen(x, 7), x * 1e7L);
    EXPECT_EQ(scaleByPowerOfTen(x, -7), x / 1e7L);
    // 545 = 1 + 32 * 1 + 512 * 1
    EXPECT_EQ(scaleByPowerOfTen(x, 545), x * 1e1L * 1e32L * 1e512L);
    EXPECT_EQ(scaleByPowerOfTen(x, -545), x / 1e1L / 1e32L / 1e512L);
    // 1024 = 512 * 2: the middle table's index is 0 and is skipped
    EXPECT_EQ(scaleByPowerOfTen(x, 1024), x * 1e1024L);
    EXPECT_EQ(scaleByPowerOfTen(x, -5120), 0.0L);
}

}  // namespace
}  // namespace geocalc
