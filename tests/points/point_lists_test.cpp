#include "points/point_lists.h"

#include <gtest/gtest.h>

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

TEST(PointListsTest, DeleteTakesEachListsOwnSelection) {
    struct Case {
        const char* what;
        int namesSelected, xsSelected, ysSelected;
        Texts names, xs, ys;
    };
    const std::vector<Case> cases = {
        {"nothing selected", -1, -1, -1, {"10", "9", "A"}, {"1.5", "3", "5"}, {"2.5", "4", "6"}},
        {"a whole point", 1, 1, 1, {"10", "A"}, {"1.5", "5"}, {"2.5", "6"}},
        {"different entries", 2, 0, -1, {"10", "9"}, {"3", "5"}, {"2.5", "4", "6"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PointLists lists = threePoints();
        lists.sides.append("side");
        lists.names.select(c.namesSelected);
        lists.xs.select(c.xsSelected);
        lists.ys.select(c.ysSelected);
        deleteSelectedPoints(lists);
        EXPECT_EQ(entries(lists.names), c.names);
        EXPECT_EQ(entries(lists.xs), c.xs);
        EXPECT_EQ(entries(lists.ys), c.ys);
        EXPECT_EQ(lists.sides.count(), 1);
        EXPECT_EQ(lists.names.selectedIndex(), -1);

        deleteSelectedPoints(lists);  // a second press finds no selection
        EXPECT_EQ(entries(lists.names), c.names);
    }
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
