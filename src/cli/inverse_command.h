#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace geocalc::cli {

// geocalc-cli inverse [XS YS XE YE]: the side line from the start point to the
// end point; with no coordinates, one side per line of `in`, a failing line
// printing its message in its place. Returns the exit code.
int runInverse(const std::vector<std::string>& coordinates, std::istream& in, std::ostream& out,
               std::ostream& err);

}  // namespace geocalc::cli
