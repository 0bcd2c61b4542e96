#include "points/point_lists.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "test_support.h"

namespace geocalc {
namespace {

std::vector<std::string> entries(const TextList& list) {
    std::vector<std::string> result;
    for (int i = 0; i < list.count(); ++i) result.push_back(list.at(i));
    return result;
}

using Texts = std::vector<std::string>;

// Reads from a record of the given fields, failing as a table does for a
// field it lacks.
FieldReader recordOf(Texts fields) {
    return [fields](int k) {
        if (k >= int(fields.size())) throwListIndexError(k);
        return fields[std::size_t(k)];
    };
}

PointLists threePoints() {
    PointLists lists;
    appendPoint(lists, recordOf({"10", "1.5", "2.5"}));
    appendPoint(lists, recordOf({"9", "3", "4"}));
    appendPoint(lists, recordOf({"A", "5", "6"}));
    return lists;
}

TEST(PointListsTest, PointsStayInPickingOrder) {
    PointLists lists = threePoints();
    appendPoint(lists, recordOf({"9", "3", "4"}));  // the same record twice: two points
    EXPECT_EQ(entries(lists.names), (Texts{"10", "9", "A", "9"}));
    EXPECT_EQ(entries(lists.xs), (Texts{"1.5", "3", "5", "3"}));
    EXPECT_EQ(entries(lists.ys), (Texts{"2.5", "4", "6", "4"}));
}

TEST(PointListsTest, FailedPickLeavesTheListsUneven) {
    PointLists lists;
    EXPECT_ERROR(appendPoint(lists, recordOf({"P1", "100"})), "List index out of bounds (2)");
    EXPECT_ERROR(appendPoint(lists, recordOf({"P2"})), "List index out of bounds (1)");
    EXPECT_ERROR(appendPoint(lists, recordOf({})), "List index out of bounds (0)");
    EXPECT_EQ(entries(lists.names), (Texts{"P1", "P2"}));
    EXPECT_EQ(entries(lists.xs), (Texts{"100"}));
    EXPECT_EQ(lists.ys.count(), 0);
}

// Mended: each list used to delete at its own selection, so a delete could
// take the name of one point and the X of another. The three lists now share
// one selection and a delete removes one whole point.
TEST(PointListsTest, SelectingInOneListSelectsThePointInAll) {
    PointLists lists = threePoints();
    for (TextList* list : {&lists.names, &lists.xs, &lists.ys}) {
        selectPoint(lists, -1);
        list->select(0);  // what a view reports is then shared through selectPoint
        selectPoint(lists, list->selectedIndex());
        EXPECT_EQ(lists.names.selectedIndex(), 0);
        EXPECT_EQ(lists.xs.selectedIndex(), 0);
        EXPECT_EQ(lists.ys.selectedIndex(), 0);
    }
    selectPoint(lists, 7);  // outside the lists: nothing selected
    EXPECT_EQ(selectedPoint(lists), -1);
    EXPECT_EQ(lists.sides.selectedIndex(), -1);
}

TEST(PointListsTest, DeleteRemovesTheSelectedPointWhole) {
    struct Case {
        const char* what;
        int selected;
        Texts names, xs, ys;
    };
    const std::vector<Case> cases = {
        {"nothing selected", -1, {"10", "9", "A"}, {"1.5", "3", "5"}, {"2.5", "4", "6"}},
        {"the first point", 0, {"9", "A"}, {"3", "5"}, {"4", "6"}},
        {"a middle point", 1, {"10", "A"}, {"1.5", "5"}, {"2.5", "6"}},
        {"the last point", 2, {"10", "9"}, {"1.5", "3"}, {"2.5", "4"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PointLists lists = threePoints();
        lists.sides.append("side");
        selectPoint(lists, c.selected);
        deleteSelectedPoint(lists);
        EXPECT_EQ(entries(lists.names), c.names);
        EXPECT_EQ(entries(lists.xs), c.xs);
        EXPECT_EQ(entries(lists.ys), c.ys);
        EXPECT_EQ(lists.sides.count(), 1);
        EXPECT_EQ(selectedPoint(lists), -1);

        deleteSelectedPoint(lists);  // a second press finds no selection
        EXPECT_EQ(entries(lists.names), c.names);
    }
}

TEST(PointListsTest, DeleteAfterAFailedPickTakesTheIndexFromEachListThatHasIt) {
    PointLists lists = threePoints();
    EXPECT_ERROR(appendPoint(lists, recordOf({"B", "7"})), "List index out of bounds (2)");
    selectPoint(lists, 3);
    EXPECT_EQ(lists.ys.selectedIndex(), -1);
    deleteSelectedPoint(lists);
    EXPECT_EQ(entries(lists.names), (Texts{"10", "9", "A"}));
    EXPECT_EQ(entries(lists.xs), (Texts{"1.5", "3", "5"}));
    EXPECT_EQ(entries(lists.ys), (Texts{"2.5", "4", "6"}));
}

TEST(PointListsTest, SideLinesMatchThePointsOnlyUntilThePointsChange) {
    PointLists empty;
    EXPECT_TRUE(sidesMatchPoints(empty));  // nothing to pair wrongly: an empty file

    struct Case {
        const char* what;
        std::function<void(PointLists&)> change;
    };
    const std::vector<Case> cases = {
        {"a point picked",
         [](PointLists& l) {
             appendPoint(l, recordOf({"B", "7", "8"}));
         }},
        {"a point deleted",
         [](PointLists& l) {
             selectPoint(l, 1);
             deleteSelectedPoint(l);
         }},
        {"a failed pick",
         [](PointLists& l) {
             EXPECT_ERROR(appendPoint(l, recordOf({"B"})), "List index out of bounds (1)");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PointLists lists = threePoints();
        EXPECT_FALSE(sidesMatchPoints(lists));  // never calculated
        for (int i = 0; i < 3; ++i) lists.sides.append("side");
        markSidesComputed(lists);
        EXPECT_TRUE(sidesMatchPoints(lists));
        requireSidesMatchPoints(lists);
        c.change(lists);
        EXPECT_FALSE(sidesMatchPoints(lists));
        EXPECT_ERROR(requireSidesMatchPoints(lists),
                     "The results do not belong to the points as they now stand; press "
                     "\"\xD0\xE0\xF1\xF1\xF7\xE5\xF2\" again");
    }
    PointLists cleared = threePoints();
    clearLists(cleared);
    EXPECT_TRUE(sidesMatchPoints(cleared));
}

TEST(PointListsTest, ClearEmptiesAllFourLists) {
    PointLists lists = threePoints();
    lists.sides.append("side");
    clearLists(lists);
    for (const TextList* list : {&lists.names, &lists.xs, &lists.ys, &lists.sides}) {
        EXPECT_EQ(list->count(), 0);
    }
    clearLists(lists);  // on empty lists: nothing happens
    EXPECT_EQ(lists.names.count(), 0);
}

}  // namespace
}  // namespace geocalc
