// The IDs of the points to pick, where a command line cannot hold them all.
#pragma once

#include <istream>
#include <string>
#include <vector>

namespace geocalc::cli {

// Appends the IDs of a file, one a line (a CR before the line end and blank
// lines are ignored): `path`, or `standardInput` for "-". Fails with
// "Cannot read the ID file '<path>'" where the file cannot be read.
void appendIdsFrom(const std::string& path, std::istream& standardInput,
                   std::vector<std::string>& ids);

}  // namespace geocalc::cli
