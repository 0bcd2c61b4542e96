// The engine's messages name the file they are about.
#pragma once

#include <string>

namespace geocalc {

// The engine's message for a failure on a table file or a file beside it:
// the text, CR LF, and "File: " with the path.
std::string engineMessage(const std::string& text, const std::string& path);

}  // namespace geocalc
