#include "points/type_ahead.h"

#include <gtest/gtest.h>

namespace geocalc {
namespace {

class TypeAheadTest : public ::testing::Test {
protected:
    void SetUp() override {
        // "Pk10", "pk2", "Репер 1", "репер 2", "Ёлка"
        for (const char* t : {"Pk10", "pk2", "\xD0\xE5\xEF\xE5\xF0 1", "\xF0\xE5\xEF\xE5\xF0 2",
                              "\xA8\xEB\xEA\xE0"}) {
            list.append(t);
        }
    }
    TextList list;
    TypeAhead typeAhead;
};

TEST_F(TypeAheadTest, SelectsTheFirstEntryBeginningWithThePrefixIgnoringCase) {
    EXPECT_EQ(typeAhead.type(list, 'P', 1000), 0);
    EXPECT_EQ(typeAhead.type(list, 'K', 1100), 0);
    EXPECT_EQ(typeAhead.type(list, '2', 1200), 1);
    EXPECT_EQ(typeAhead.type(list, 'x', 1300), -1);  // no entry: the selection stays
    EXPECT_EQ(typeAhead.prefix(), "PK2x");
}

TEST_F(TypeAheadTest, CyrillicCaseIsIgnoredToo) {
    EXPECT_EQ(typeAhead.type(list, '\xF0', 1000), 2);  // "р" finds "Репер 1"
    EXPECT_EQ(typeAhead.type(list, '\xC5', 1100), 2);  // "Е"
    EXPECT_EQ(typeAhead.type(list, '\xB8', 5000), 4);  // after a pause "ё" finds "Ёлка"
}

TEST_F(TypeAheadTest, PauseStartsANewPrefixAndBackspaceShortensIt) {
    typeAhead.type(list, 'p', 1000);
    typeAhead.type(list, 'k', 1499);
    EXPECT_EQ(typeAhead.type(list, '\xD0', 1999), 2);  // 500 ms: a new prefix "Р"
    EXPECT_EQ(typeAhead.prefix(), "\xD0");
    EXPECT_EQ(typeAhead.type(list, '\xE5', 2100), 2);
    EXPECT_EQ(typeAhead.backspace(list, 2200), 2);
    EXPECT_EQ(typeAhead.backspace(list, 2300), 0);  // the prefix is empty: the first entry
    EXPECT_EQ(typeAhead.prefix(), "");
    EXPECT_EQ(typeAhead.backspace(TextList{}, 2400), -1);
}

}  // namespace
}  // namespace geocalc
