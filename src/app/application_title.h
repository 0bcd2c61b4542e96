#pragma once

#include <string>
#include <string_view>

namespace geocalc::app {

// The application title from the executable's path: the part after the last
// "/", cut at its first ".", every character after the first lower-cased
// (SURVEY -> "Survey", Geo.Calc -> "Geo", geocalc -> "geocalc").
std::string applicationTitle(std::string_view executablePath);

}  // namespace geocalc::app
