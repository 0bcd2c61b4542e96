// The dBASE table a point file makes: what the grid, the picks and every
// command then read as they read any survey table.
#pragma once

#include <ctime>
#include <functional>
#include <string_view>

#include "table/point_source.h"

namespace geocalc {

// Writes the table, dBASE III, handing its bytes to `write` a piece at a
// time: NAME C(n) (n the longest name, at least 10), X and Y N(w, d) (d the
// most decimals any coordinate has, w wide enough for every value, each
// stored as the decimal its text writes, padded with zeros), the further
// columns C, texts in Windows-1251, dated `today`. Fails where a coordinate
// needs more than the 20 characters a number field holds, and where the
// points read again are not the ones first read.
void writePointTable(const PointSource& points, const std::tm& today,
                     const std::function<void(std::string_view)>& write);

}  // namespace geocalc
