#include "points/point_lists.h"

#include "core/error.h"

namespace geocalc {

namespace {

std::array<std::uint64_t, 3> pointChangeCounts(const PointLists& lists) {
    return {lists.names.changeCount(), lists.xs.changeCount(), lists.ys.changeCount()};
}

}  // namespace

void appendPoint(PointLists& lists, const FieldReader& readField) {
    lists.names.append(readField(0));
    lists.xs.append(readField(1));
    lists.ys.append(readField(2));
}

void selectPoint(PointLists& lists, int index) {
    for (TextList* list : {&lists.names, &lists.xs, &lists.ys}) {
        if (list->selectedIndex() != index) list->select(index);
    }
}

int selectedPoint(const PointLists& lists) {
    for (const TextList* list : {&lists.names, &lists.xs, &lists.ys}) {
        if (list->selectedIndex() >= 0) return list->selectedIndex();
    }
    return -1;
}

void deleteSelectedPoint(PointLists& lists) {
    const int point = selectedPoint(lists);
    for (TextList* list : {&lists.names, &lists.xs, &lists.ys}) list->deleteAt(point);
}

void clearLists(PointLists& lists) {
    for (TextList* list : {&lists.names, &lists.xs, &lists.ys, &lists.sides}) list->clear();
}

void markSidesComputed(PointLists& lists) { lists.sidesComputedFor = pointChangeCounts(lists); }

bool sidesMatchPoints(const PointLists& lists) {
    if (lists.names.count() == 0 && lists.sides.count() == 0) return true;
    return lists.sidesComputedFor == pointChangeCounts(lists) &&
           lists.sides.count() == lists.names.count();
}

void requireSidesMatchPoints(const PointLists& lists) {
    // "Рассчет" in Windows-1251, as the button says it.
    if (!sidesMatchPoints(lists)) {
        throw Error(
            "The results do not belong to the points as they now stand; press "
            "\"\xD0\xE0\xF1\xF1\xF7\xE5\xF2\" again");
    }
}

}  // namespace geocalc
