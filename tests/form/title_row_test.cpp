// What a press on the title row takes hold of, and where drags end.
#include "form/title_row.h"

#include <gtest/gtest.h>

#include <vector>

namespace geocalc {
namespace {

// Three columns shown, from the second place on: 12..80, 80..150, 150..200.
const std::vector<ColumnSpan> kShown = {{1, 12, 80}, {2, 80, 150}, {3, 150, 200}};

TEST(TitleRowTest, BordersWithinTheirGripTitlesElsewhereNothingBeyond) {
    struct Case {
        int x;
        TitleHit::Kind kind;
        int position;
    };
    using Kind = TitleHit::Kind;
    const std::vector<Case> cases = {
        {12, Kind::Title, 1},   {40, Kind::Title, 1},  {76, Kind::Title, 1}, {77, Kind::Border, 1},
        {80, Kind::Border, 1},  {83, Kind::Border, 1}, {84, Kind::Title, 2}, {149, Kind::Border, 2},
        {203, Kind::Border, 3}, {204, Kind::None, -1}, {5, Kind::None, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        const TitleHit hit = titleHitAt(kShown, c.x);
        EXPECT_EQ(hit.kind, c.kind);
        EXPECT_EQ(hit.position, c.position);
    }
    EXPECT_EQ(titleHitAt({}, 40).kind, TitleHit::Kind::None);
}

TEST(TitleRowTest, DropsLandOnTheColumnUnderTheMouseOrTheNearestEnd) {
    EXPECT_EQ(dropPosition(kShown, 0), 1);
    EXPECT_EQ(dropPosition(kShown, 79), 1);
    EXPECT_EQ(dropPosition(kShown, 80), 2);
    EXPECT_EQ(dropPosition(kShown, 199), 3);
    EXPECT_EQ(dropPosition(kShown, 900), 3);
    EXPECT_EQ(dropPosition({}, 40), -1);
}

TEST(TitleRowTest, TheDropMarkerStandsOnTheEdgeTheHeldColumnWillTake) {
    EXPECT_EQ(dropMarkerAt(kShown, 3, 40), 12);  // before the first
    EXPECT_EQ(dropMarkerAt(kShown, 3, 0), 12);
    EXPECT_EQ(dropMarkerAt(kShown, 1, 100), 150);  // after the second
    EXPECT_EQ(dropMarkerAt(kShown, 1, 900), 200);
    EXPECT_EQ(dropMarkerAt(kShown, 0, 100), 150);           // held left of those shown: goes after
    EXPECT_EQ(dropMarkerAt(kShown, 2, 100), std::nullopt);  // stays where it is
    EXPECT_EQ(dropMarkerAt({}, 1, 100), std::nullopt);
}

TEST(TitleRowTest, ADraggedBorderSizesItsColumnButNeverBelowTheNarrowest) {
    EXPECT_EQ(draggedWidth(kShown[1], 230), 150);
    EXPECT_EQ(draggedWidth(kShown[1], 100), 20);
    EXPECT_EQ(draggedWidth(kShown[1], 10), kNarrowestColumn);
}

}  // namespace
}  // namespace geocalc
