// The dBASE table a point text file makes: what the grid, the picks and
// every command then read as they read any survey table.
#pragma once

#include <ctime>
#include <string>

#include "table/point_text.h"

namespace geocalc {

// The table's bytes, dBASE III: NAME C(n) (n the longest name, at least 10),
// X and Y N(w, d) (d the most decimals any coordinate has, w wide enough for
// every value, each stored as the decimal its text writes, padded with
// zeros), the further columns C, texts in Windows-1251, dated `today`.
// Fails where a coordinate needs more than the 20 characters a number field
// holds.
std::string pointTableBytes(const PointTextTable& table, const std::tm& today);

}  // namespace geocalc
