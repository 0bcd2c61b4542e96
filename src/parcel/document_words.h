// The words of the parcel's documents in the reader's language. The Russian
// ones come from po/ru.po, compiled in at build time; a text the catalogue
// lacks does not compile: word<"Area">(language).
#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

#include "core/user_language.h"

namespace geocalc {

struct Translation {
    std::string_view english, russian;  // UTF-8
};

inline constexpr Translation kRussianWords[] = {
#include "parcel/russian_words.inc"
};

// An English text as a template argument.
template <std::size_t N>
struct EnglishText {
    char text[N];
    consteval EnglishText(const char (&english)[N]) { std::copy_n(english, N, text); }
    consteval std::string_view view() const { return {text, N - 1}; }
};

consteval std::size_t translationOf(std::string_view english) {
    for (std::size_t i = 0; i < std::size(kRussianWords); ++i) {
        if (kRussianWords[i].english == english) return i;
    }
    throw "po/ru.po has no translation of this text";  // not a constant: the build stops here
}

template <EnglishText english>
std::string_view word(Language language) {
    constexpr std::size_t index = translationOf(english.view());
    return language == Language::Russian ? kRussianWords[index].russian
                                         : kRussianWords[index].english;
}

}  // namespace geocalc
