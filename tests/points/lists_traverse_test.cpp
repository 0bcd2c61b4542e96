#include "points/lists_traverse.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/side.h"
#include "test_support.h"

namespace geocalc {
namespace {

struct Point {
    const char *name, *x, *y;
};

PointLists listsOf(const std::vector<Point>& points) {
    PointLists lists;
    for (const Point& p : points) {
        lists.names.append(p.name);
        lists.xs.append(p.x);
        lists.ys.append(p.y);
    }
    return lists;
}

std::string line(const std::string& degrees, const std::string& length) {
    return degrees + kDegreeSign + "0'0.0\" " + length;
}

std::vector<std::string> sides(const PointLists& lists) {
    std::vector<std::string> result;
    for (int i = 0; i < lists.sides.count(); ++i) result.push_back(lists.sides.at(i));
    return result;
}

TEST(TraverseTest, OneSideLinePerSideClosingSideLast) {
    PointLists lists =
        listsOf({{"1", "0", "0"}, {"2", "100", "100"}, {"3", "200", "0"}, {"4", "100", "-100"}});
    runTraverse(lists);
    const std::vector<std::string> expected = {line("45", "141.4"), line("315", "141.4"),
                                               line("225", "141.4"), line("135", "141.4")};
    EXPECT_EQ(sides(lists), expected);

    EXPECT_TRUE(sidesMatchPoints(lists));
}

// Mended: a second run used to append below the first, so that side line i
// no longer left point i. Each run now replaces the lines.
TEST(TraverseTest, EachRunReplacesTheSideLinesOfTheRunBefore) {
    PointLists lists = listsOf({{"1", "0", "0"}, {"2", "100", "100"}, {"3", "200", "0"}});
    runTraverse(lists);
    EXPECT_EQ(lists.sides.count(), 3);
    lists.names.append("4");
    lists.xs.append("100");
    lists.ys.append("-100");
    EXPECT_FALSE(sidesMatchPoints(lists));
    runTraverse(lists);
    EXPECT_EQ(sides(lists), (std::vector<std::string>{line("45", "141.4"), line("315", "141.4"),
                                                      line("225", "141.4"), line("135", "141.4")}));
    EXPECT_TRUE(sidesMatchPoints(lists));

    // A run that fails part way keeps the lines made before the failure, and
    // they are not taken for the points' results.
    lists.xs.deleteAt(3);
    lists.xs.append("200");
    lists.ys.deleteAt(3);
    lists.ys.append("0");
    EXPECT_ERROR(runTraverse(lists), "Invalid floating point operation");
    EXPECT_EQ(sides(lists), (std::vector<std::string>{line("45", "141.4"), line("315", "141.4")}));
    EXPECT_FALSE(sidesMatchPoints(lists));
}

TEST(TraverseTest, TwoPointsGiveTheSideAndItsReverse) {
    PointLists lists = listsOf({{"A", "0", "0"}, {"B", "100", "100"}});
    runTraverse(lists);
    EXPECT_EQ(sides(lists), (std::vector<std::string>{line("45", "141.4"), line("225", "141.4")}));
}

TEST(TraverseTest, SidesAlongTheYAxisHaveTheirDirection) {
    PointLists lists =
        listsOf({{"1", "0", "0"}, {"2", "100", "0"}, {"3", "100", "100"}, {"4", "0", "100"}});
    runTraverse(lists);
    EXPECT_EQ(sides(lists), (std::vector<std::string>{line("0", "100.0"), line("90", "100.0"),
                                                      line("180", "100.0"), line("270", "100.0")}));
}

TEST(TraverseTest, FailuresEndTheRunKeepingWhatWasAppended) {
    struct Case {
        const char* what;
        PointLists lists;
        std::string message;
        int linesKept;
    };
    PointLists leftovers;  // no points, but X and Y texts left by uneven deletes
    leftovers.xs.append("1");
    leftovers.ys.append("2");
    PointLists shortY = listsOf({{"1", "0", "0"}, {"2", "100", "100"}, {"3", "200", "0"}});
    shortY.ys.deleteAt(2);
    PointLists badXBeforeShortY = listsOf({{"1", "0", "0"}, {"2", "x", "100"}});
    badXBeforeShortY.ys.deleteAt(1);

    std::vector<Case> cases;
    cases.push_back({"no points", PointLists{}, "List index out of bounds (0)", 0});
    cases.push_back(
        {"no points, X left over", std::move(leftovers), "List index out of bounds (-1)", 0});
    cases.push_back(
        {"one point", listsOf({{"1", "5", "5"}}), "Invalid floating point operation", 0});
    cases.push_back(
        {"third side repeats a point",
         listsOf({{"1", "0", "0"}, {"2", "100", "0"}, {"3", "200", "50"}, {"4", "200", "50"}}),
         "Invalid floating point operation", 2});
    cases.push_back({"Y list one short", std::move(shortY), "List index out of bounds (2)", 1});
    cases.push_back({"bad X reported before the missing Y", std::move(badXBeforeShortY),
                     "'x' is not a valid floating point value", 0});
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_ERROR(runTraverse(c.lists), c.message);
        EXPECT_EQ(c.lists.sides.count(), c.linesKept);
    }
}

TEST(TraverseTest, OnlyTheNamesCountThePoints) {
    PointLists lists = listsOf({{"1", "0", "0"}, {"2", "100", "0"}});
    lists.xs.append("999");
    lists.ys.append("999");
    runTraverse(lists);
    EXPECT_EQ(sides(lists), (std::vector<std::string>{line("0", "100.0"), line("180", "100.0")}));
}

}  // namespace
}  // namespace geocalc
