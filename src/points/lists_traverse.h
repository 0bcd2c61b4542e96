// "Рассчет" on the window's lists.
#pragma once

#include "points/point_lists.h"

namespace geocalc {

// Replaces lists.sides with the side lines of the closed traverse over the
// points as the lists hold them (see computeTraverse; the count is that of
// the names) and marks the lists as matching (see sidesMatchPoints). On a
// failure the lines before it stay and the lists are not marked.
// Returning normally means the calculation completed.
void runTraverse(PointLists& lists);

}  // namespace geocalc
