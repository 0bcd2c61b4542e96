// The window's controls as both windows make them: order, captions, places,
// lists, and the font rule.
#include "form/form_controls.h"

#include <gtest/gtest.h>

#include <vector>

namespace geocalc {
namespace {

TEST(FormControlsTest, TheControlsInTabOrderWithTheirCaptionsAndLists) {
    std::vector<std::string_view> captions;
    for (std::size_t i = 0; i < kFormControls.size(); ++i) {
        EXPECT_EQ(int(kFormControls[i].id), int(i));  // indexed by id
        if (kFormControls[i].kind == ControlKind::Button)
            captions.push_back(kFormControls[i].caption);
    }
    EXPECT_EQ(captions, (std::vector<std::string_view>{"Открыть таблицу", "Очистить", "Удалить",
                                                       "Рассчет", "Сохранить"}));
    EXPECT_EQ(kFormControls[0].caption, "Откройте таблицу");
    EXPECT_FALSE(kFormControls[0].tabStop());
    EXPECT_EQ(kFormCaption, "расчет геоданных");
    EXPECT_EQ(kFormControls[std::size_t(ControlId::Button5)].place.left, 420);

    PointLists lists;
    const std::vector<std::pair<ControlId, TextList*>> shown = {
        {ControlId::ListBox1, &lists.names},
        {ControlId::ListBox2, &lists.xs},
        {ControlId::ListBox3, &lists.ys},
        {ControlId::ListBox4, &lists.sides}};
    for (const auto& [id, list] : shown) {
        const ListRole role = kFormControls[std::size_t(id)].list;
        EXPECT_EQ(&listOf(lists, role), list);
        EXPECT_EQ(sharesPointSelection(role), id != ControlId::ListBox4);
    }
}

TEST(FormControlsTest, TheFontIsEightPointsOrElevenPixelsScaled) {
    // 8 points are 10.67 pixels at 96 dpi (11); elsewhere 11 pixels scaled,
    // 16.5 at 144 dpi (17).
    const std::vector<std::pair<int, int>> cases = {
        {96, 11}, {120, 14}, {144, 17}, {192, 22}, {72, 8}};
    for (const auto& [dpi, pixels] : cases) EXPECT_EQ(windowFontPixels(dpi), pixels) << dpi;
}

}  // namespace
}  // namespace geocalc
