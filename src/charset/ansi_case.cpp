#include "charset/ansi_case.h"

#include <array>

namespace geocalc {

namespace {

// Upper-case letters of Windows-1251 outside A-Z and А-Я, with their lower case.
constexpr unsigned char kOtherPairs[][2] = {
    {0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8D, 0x9D},
    {0x8E, 0x9E}, {0x8F, 0x9F}, {0xA1, 0xA2}, {0xA3, 0xBC}, {0xA5, 0xB4},
    {0xA8, 0xB8}, {0xAA, 0xBA}, {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE},
};

constexpr std::array<char, 256> makeLowerTable() {
    std::array<char, 256> table{};
    for (int b = 0; b < 256; ++b) table[std::size_t(b)] = char(b);
    for (int b = 'A'; b <= 'Z'; ++b) table[std::size_t(b)] = char(b + 32);
    for (int b = 0xC0; b <= 0xDF; ++b) table[std::size_t(b)] = char(b + 32);
    for (const auto& pair : kOtherPairs) table[pair[0]] = char(pair[1]);
    return table;
}

constexpr std::array<char, 256> kLower = makeLowerTable();

}  // namespace

char ansiToLower(char c) { return kLower[static_cast<unsigned char>(c)]; }

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (prefix.size() > text.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (ansiToLower(text[i]) != ansiToLower(prefix[i])) return false;
    }
    return true;
}

}  // namespace geocalc
