#include "form/title_row.h"

#include <algorithm>
#include <cstdlib>

namespace geocalc {

// Borders first: a border's grip reaches into the next column's title.
TitleHit titleHitAt(std::span<const ColumnSpan> shown, int x) {
    for (const ColumnSpan& column : shown) {
        if (std::abs(x - column.right) <= kBorderGrip)
            return {TitleHit::Kind::Border, column.position};
    }
    for (const ColumnSpan& column : shown) {
        if (x >= column.left && x < column.right) return {TitleHit::Kind::Title, column.position};
    }
    return {};
}

int dropPosition(std::span<const ColumnSpan> shown, int x) {
    if (shown.empty()) return -1;
    if (x < shown.front().left) return shown.front().position;
    for (const ColumnSpan& column : shown) {
        if (x < column.right) return column.position;
    }
    return shown.back().position;
}

std::optional<int> dropMarkerAt(std::span<const ColumnSpan> shown, int heldPosition, int x) {
    const int to = dropPosition(shown, x);
    if (to < 0 || to == heldPosition) return std::nullopt;
    for (const ColumnSpan& column : shown) {
        if (column.position == to) return to < heldPosition ? column.left : column.right;
    }
    return std::nullopt;
}

int draggedWidth(const ColumnSpan& column, int x) {
    return std::max(x - column.left, kNarrowestColumn);
}

}  // namespace geocalc
