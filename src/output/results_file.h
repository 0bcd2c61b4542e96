// The results file behind "Сохранить".
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "output/file_ops.h"
#include "points/point_lists.h"

namespace geocalc {

// Writes one line per point, for i below the count of the names:
// name, " ", X, " ", Y, " ", side line i, CR LF, every byte as the lists hold
// it (Windows-1251, the degree sign 0xB0). No points give an empty file.
//
// Fails with "List index out of bounds (i)" from the first of the X, Y and
// side lists that lacks index i, and with the file error messages. The file
// is replaced only when every line was written: on any failure the existing
// file stays as it was and no partial file is left.
void writeResultsFile(const std::string& path, const PointLists& lists,
                      FileOps& ops = FileOps::system());

// The same lines, each CR LF included, handed one by one to `sink`.
void forEachResultsLine(const PointLists& lists, const std::function<void(std::string_view)>& sink);

}  // namespace geocalc
