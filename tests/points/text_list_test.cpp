#include "points/text_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace geocalc {
namespace {

TextList listOf(std::initializer_list<const char*> texts) {
    TextList list;
    for (const char* t : texts) list.append(t);
    return list;
}

TEST(TextListTest, FetchOutsideTheListNamesTheIndex) {
    TextList list;
    EXPECT_ERROR(list.at(0), "List index out of bounds (0)");
    list = listOf({"a", "", "c"});
    EXPECT_EQ(list.at(1), "");
    EXPECT_ERROR(list.at(3), "List index out of bounds (3)");
    EXPECT_ERROR(list.at(-1), "List index out of bounds (-1)");
}

TEST(TextListTest, EntriesKeepTheirTextUpToTheFirstNul) {
    TextList list;
    list.append(std::string("P1\0tail", 7));
    list.append(" 10 ");
    EXPECT_EQ(list.at(0), "P1");
    EXPECT_EQ(list.at(1), " 10 ");
}

TEST(TextListTest, SelectionFollowsAppendsAndDeletes) {
    TextList list = listOf({"a", "b", "c", "d"});
    list.select(2);
    list.append("e");
    EXPECT_EQ(list.selectedIndex(), 2);

    list.deleteAt(0);  // above the selection: the same entry stays selected
    EXPECT_EQ(list.selectedIndex(), 1);
    EXPECT_EQ(list.at(1), "c");

    list.deleteAt(1);  // the selected entry: none is selected
    EXPECT_EQ(list.selectedIndex(), -1);
    EXPECT_EQ(list.count(), 3);

    for (int outside : {-1, 3, 100}) list.deleteAt(outside);
    EXPECT_EQ(list.count(), 3);

    list.select(7);
    EXPECT_EQ(list.selectedIndex(), -1);
    list.select(0);
    list.clear();
    EXPECT_EQ(list.selectedIndex(), -1);
    EXPECT_EQ(list.count(), 0);
}

TEST(TextListTest, FullListRefusesAnotherEntry) {
    TextList list(2);
    list.append("a");
    list.append("b");
    EXPECT_ERROR(list.append("c"), "Unable to insert a line");
    EXPECT_EQ(list.count(), 2);
}

TEST(TextListTest, ObserverHearsEveryChangeBeforeAndAfter) {
    TextList list(2);
    std::vector<std::string> heard;
    auto record = [&heard, &list](const char* when) {
        return [&heard, &list, when](const TextList::Change& c) {
            heard.push_back(std::string(when) + std::to_string(int(c.kind)) + ":" +
                            std::to_string(c.index) + "/" + std::to_string(list.count()));
        };
    };
    list.setObserver({record("before"), record("after")});
    list.append("a");
    list.deleteAt(5);  // nothing happens, nothing is heard
    list.deleteAt(0);
    list.append("x");
    list.append("y");
    EXPECT_ERROR(list.append("z"), "Unable to insert a line");  // refused before anyone is told
    list.clear();
    EXPECT_EQ(heard,
              (std::vector<std::string>{"before0:0/0", "after0:0/1", "before1:0/1", "after1:0/0",
                                        "before0:0/0", "after0:0/1", "before0:1/1", "after0:1/2",
                                        "before2:-1/2", "after2:-1/0"}));
}

}  // namespace
}  // namespace geocalc
