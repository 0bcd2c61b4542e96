// The main window's controls as the form declares them, in the order both
// windows make them (the tab order): what each is, its caption (UTF-8), its
// designed place and, for a list, which of the form's lists it shows.
#pragma once

#include <array>
#include <string_view>

#include "form/form_layout.h"
#include "points/point_lists.h"

namespace geocalc {

inline constexpr std::string_view kFormCaption = "расчет геоданных";

enum class ControlKind { Label, Button, Grid, List };
enum class ControlId {
    Label1,
    Button1,
    DBGrid1,
    ListBox1,
    Button3,
    Button4,
    Button5,
    ListBox2,
    ListBox3,
    ListBox4,
    Button6
};
// The three point lists share one selection (see selectPoint); the side
// lines' list has its own.
enum class ListRole { None, Names, Xs, Ys, Sides };

struct FormControl {
    ControlId id;
    ControlKind kind;
    std::string_view caption;
    layout::Place place;
    ListRole list = ListRole::None;
    // The label is no tab stop, and is as wide as its text.
    bool tabStop() const { return kind != ControlKind::Label; }
};

inline constexpr std::array<FormControl, 11> kFormControls = {{
    {ControlId::Label1, ControlKind::Label, "Откройте таблицу", layout::kLabel1},
    {ControlId::Button1, ControlKind::Button, "Открыть таблицу", layout::kButton1},
    {ControlId::DBGrid1, ControlKind::Grid, "", layout::kDBGrid1},
    {ControlId::ListBox1, ControlKind::List, "", layout::kListBox1, ListRole::Names},
    {ControlId::Button3, ControlKind::Button, "Очистить", layout::kButton3},
    {ControlId::Button4, ControlKind::Button, "Удалить", layout::kButton4},
    {ControlId::Button5, ControlKind::Button, "Рассчет", layout::kButton5},
    {ControlId::ListBox2, ControlKind::List, "", layout::kListBox2, ListRole::Xs},
    {ControlId::ListBox3, ControlKind::List, "", layout::kListBox3, ListRole::Ys},
    {ControlId::ListBox4, ControlKind::List, "", layout::kListBox4, ListRole::Sides},
    {ControlId::Button6, ControlKind::Button, "Сохранить", layout::kButton6},
}};

// The list of the form's lists a list control shows.
TextList& listOf(PointLists& lists, ListRole role);
// Whether a list is one of the three that share the point selection.
inline bool sharesPointSelection(ListRole role) {
    return role == ListRole::Names || role == ListRole::Xs || role == ListRole::Ys;
}

// The window font: "MS Sans Serif" 8 points, or where the screen's
// resolution is not the designed one and 8 points are not 11 pixels there,
// 11 pixels scaled by the resolution. Where the face is missing, the closest
// narrow sans-serif face of this list, so that the captions fit.
inline constexpr std::array<std::string_view, 4> kFontFaces = {
    "MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans Narrow", "DejaVu Sans Condensed"};
int windowFontPixels(int dpi);

}  // namespace geocalc
