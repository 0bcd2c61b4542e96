// The files kept beside a table: its memo file and its code page file.
#pragma once

#include <initializer_list>
#include <string>

#include "table/file_handle.h"

namespace geocalc {

// The first file that the table's name with one of `extensions` names,
// opened read-only; an empty handle when there is none. Anything but a
// regular file fails at once with the engine's message ("Not a memo file:
// it is a folder."), `what` naming it.
FileHandle openFileBeside(const std::string& tablePath,
                          std::initializer_list<const char*> extensions, const char* what);

}  // namespace geocalc
