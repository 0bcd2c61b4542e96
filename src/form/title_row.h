// The grid's title row under the mouse: a press near a column's right border
// takes hold of the border and sizes the column; a press elsewhere on a title
// takes hold of the column and drops it at another place in the order.
#pragma once

#include <optional>
#include <span>

namespace geocalc {

// A column shown: its place in the order on screen and its edges in pixels.
struct ColumnSpan {
    int position, left, right;
};

struct TitleHit {
    enum class Kind { None, Border, Title };
    Kind kind = Kind::None;
    int position = -1;
};

// Pixels either side of a border that still take hold of it.
inline constexpr int kBorderGrip = 3;
// A column is never sized narrower than this.
inline constexpr int kNarrowestColumn = 8;

// `shown`: the columns shown, left to right.
TitleHit titleHitAt(std::span<const ColumnSpan> shown, int x);
// Where a column dragged to `x` lands: the place of the column under it, or
// of the first or last one shown beyond the ends.
int dropPosition(std::span<const ColumnSpan> shown, int x);
// Where the marker of that landing stands while the title is held: the left
// edge of the column it will go before, or the right edge of the one it will
// go after; nothing where the column would stay where it is.
std::optional<int> dropMarkerAt(std::span<const ColumnSpan> shown, int heldPosition, int x);
// The width a border dragged to `x` gives its column.
int draggedWidth(const ColumnSpan& column, int x);

}  // namespace geocalc
