// The window's four lists: the picked points (name, X, Y) and the side lines.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "points/text_list.h"

namespace geocalc {

// Point i is entry i of names, xs and ys; nothing but the index links them,
// so a failed pick leaves them of different lengths.
struct PointLists {
    TextList names;  // ListBox1
    TextList xs;     // ListBox2
    TextList ys;     // ListBox3
    TextList sides;  // ListBox4: the side lines of the last calculation

    // The point lists' change counts when the side lines were last computed
    // whole for them; the side lines belong to the points only while the
    // counts are the same.
    std::array<std::uint64_t, 3> sidesComputedFor{~std::uint64_t(0), ~std::uint64_t(0),
                                                  ~std::uint64_t(0)};
};

// Field k of the current record as text, for k = 0, 1, 2.
using FieldReader = std::function<std::string(int field)>;

// Reads field 0 and appends it to the names, then field 1 to the X texts, then
// field 2 to the Y texts. A failing read ends it there: what was appended stays.
void appendPoint(PointLists& lists, const FieldReader& readField);

// The three point lists share one selection: selecting point i in any of
// them selects entry i in each (none in a list too short to have it).
void selectPoint(PointLists& lists, int index);
// The selected point's index, or -1.
int selectedPoint(const PointLists& lists);

// Removes the selected point from each of the three point lists, so that the
// points after it move up whole; nothing without a selection. The side lines
// are not touched (they no longer belong to the points).
void deleteSelectedPoint(PointLists& lists);

// Empties all four lists.
void clearLists(PointLists& lists);

// Records that the side lines were just computed whole for the points as
// they stand.
void markSidesComputed(PointLists& lists);
// Whether side line i is the side leaving point i for every point: the side
// lines were computed whole for the points as they now stand, or there are
// neither points nor side lines.
bool sidesMatchPoints(const PointLists& lists);
// Fails unless they do, asking for the calculation to be run again.
void requireSidesMatchPoints(const PointLists& lists);

}  // namespace geocalc
