// The main window's layout rules: the outer size at a resolution, the
// controls scaled by the window font, and the scroll bars that keep them
// reachable in a window smaller than they are.
#include "form/form_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace geocalc::layout {
namespace {

TEST(FormLayoutTest, TheOuterSizeGrowsWithTheResolution) {
    EXPECT_EQ(outerAtDpi(kOuterWidth, 96), 639);
    EXPECT_EQ(outerAtDpi(kOuterWidth, 120), 799);
    EXPECT_EQ(outerAtDpi(kOuterHeight, 144), 537);
    EXPECT_EQ(outerAtDpi(kOuterWidth, 192), 1278);
}

TEST(FormLayoutTest, ScaledControlsSideBySideStillMeet) {
    for (const int textHeight : {12, 13, 16, 17, 26}) {
        SCOPED_TRACE(textHeight);
        const Place grid = scaled(kDBGrid1, textHeight), names = scaled(kListBox1, textHeight);
        EXPECT_EQ(scaled(kDBGrid1.left + kDBGrid1.width, textHeight), grid.left + grid.width);
        EXPECT_LE(grid.left + grid.width, names.left);
        const Place results = scaled(kListBox4, textHeight);
        EXPECT_EQ(results.left + results.width, scaled(kClientWidth - 1, textHeight));
    }
    EXPECT_EQ(scaled(kListBox2, kDesignTextHeight).left, kListBox2.left);
}

// A bar only where the controls do not fit; a bar taking the room the
// other direction needed brings the other bar too.
TEST(FormLayoutTest, ScrollBarsShowOnlyWhereTheControlsDoNotFit) {
    struct Case {
        Size room;
        bool horizontal, vertical;
    };
    const Size extent{775, 406}, bar{16, 16};
    const std::vector<Case> cases = {
        {{791, 416}, false, false},  // fits, though not with both bars showing
        {{775, 406}, false, false},  // exactly
        {{774, 500}, true, false},   // too narrow, with height to spare for the bar
        {{900, 405}, false, true},   // too low, with width to spare for the bar
        {{774, 422}, true, false},   // the bar below leaves just the height needed
        {{774, 421}, true, true},    // ... one pixel less: the bar brings the other
        {{791, 405}, false, true},   // the bar beside leaves just the width needed
        {{790, 405}, true, true},    // ... one pixel less
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.room.width << "x" << c.room.height);
        const ScrollBarsShown shown = scrollBarsFor(extent, c.room, bar);
        EXPECT_EQ(shown.horizontal, c.horizontal);
        EXPECT_EQ(shown.vertical, c.vertical);
    }
}

}  // namespace
}  // namespace geocalc::layout
