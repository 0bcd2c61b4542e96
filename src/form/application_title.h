// The application's title, as the window's caption bar, task bar button and
// error box show it.
#pragma once

#include <string>
#include <string_view>

namespace geocalc {

// The title from the executable's path (UTF-8): the part after the last path
// separator, cut at its first ".", every letter after the first in lower
// case (SURVEY -> "Survey", Geo.Calc -> "Geo", geocalc -> "geocalc",
// ГЕОКАЛЬК.exe -> "Геокальк"). Letters of the Latin, Greek and Cyrillic
// alphabets are lowered; others are kept as they are.
std::string applicationTitle(std::string_view executablePath);

}  // namespace geocalc
