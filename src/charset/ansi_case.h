// Letter case in the ANSI code page, Windows-1251.
#pragma once

#include <string_view>

namespace geocalc {

// The lower-case letter for an upper-case Latin or Cyrillic letter of
// Windows-1251; every other byte unchanged.
char ansiToLower(char c);

// Whether text begins with prefix, letter case ignored.
bool startsWithIgnoringCase(std::string_view text, std::string_view prefix);

}  // namespace geocalc
