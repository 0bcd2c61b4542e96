// The traverse calculation behind "Рассчет".
#pragma once

#include "points/point_lists.h"

namespace geocalc {

// Replaces lists.sides with one side line per side of the closed traverse:
// from point k-1 to point k for k = 1 .. n-1, then the closing side from point
// n-1 back to point 0 (also for n = 1 and 2), where n is the count of the
// names. Side line i is then the side leaving point i, and the lists are
// marked as matching (see sidesMatchPoints).
//
// Texts are fetched and read one by one (X of the end point, X of the start
// point, Y of the end, Y of the start), so the first missing entry or bad text
// in that order is the failure reported; lines appended before it stay, and
// the lists are not marked as matching.
// Returning normally means the calculation completed.
void runTraverse(PointLists& lists);

}  // namespace geocalc
