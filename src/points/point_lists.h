// The window's four lists: the picked points (name, X, Y) and the side lines.
#pragma once

#include <functional>
#include <string>

#include "points/text_list.h"

namespace geocalc {

// Point i is entry i of names, xs and ys; nothing but the index links them,
// so a failed pick or uneven deletes leave them of different lengths.
struct PointLists {
    TextList names;  // ListBox1
    TextList xs;     // ListBox2
    TextList ys;     // ListBox3
    TextList sides;  // ListBox4: the side lines, not kept parallel to the points
};

// Field k of the current record as text, for k = 0, 1, 2.
using FieldReader = std::function<std::string(int field)>;

// Reads field 0 and appends it to the names, then field 1 to the X texts, then
// field 2 to the Y texts. A failing read ends it there: what was appended stays.
void appendPoint(PointLists& lists, const FieldReader& readField);

// Each point list loses the entry at its own selection (none when it has no
// selection); the side lines are not touched.
void deleteSelectedPoints(PointLists& lists);

// Empties all four lists.
void clearLists(PointLists& lists);

}  // namespace geocalc
