#include "points/point_lists.h"

namespace geocalc {

void appendPoint(PointLists& lists, const FieldReader& readField) {
    lists.names.append(readField(0));
    lists.xs.append(readField(1));
    lists.ys.append(readField(2));
}

void deleteSelectedPoints(PointLists& lists) {
    for (TextList* list : {&lists.names, &lists.xs, &lists.ys}) list->deleteAt(list->selectedIndex());
}

void clearLists(PointLists& lists) {
    for (TextList* list : {&lists.names, &lists.xs, &lists.ys, &lists.sides}) list->clear();
}

}  // namespace geocalc
