// Where the main window's controls stand: the designed places at 96 dpi, in
// pixels of the client area, and the scaling rule that keeps them in
// proportion when the window font's text is taller or shorter than the one
// the window was designed with.
#pragma once

namespace geocalc::layout {

struct Place {
    int left, top, width, height;
};

inline constexpr Place kLabel1{128, 8, 91, 13};
inline constexpr Place kButton1{0, 0, 113, 25};
inline constexpr Place kDBGrid1{0, 28, 389, 301};
inline constexpr Place kListBox1{392, 28, 45, 169};
inline constexpr Place kButton3{396, 200, 75, 25};
inline constexpr Place kButton4{476, 200, 75, 25};
inline constexpr Place kButton5{420, 0, 75, 25};
inline constexpr Place kListBox2{440, 28, 93, 169};
inline constexpr Place kListBox3{536, 28, 93, 169};
inline constexpr Place kListBox4{392, 228, 237, 101};
inline constexpr Place kButton6{552, 0, 75, 25};
inline constexpr int kClientWidth = 630;   // the rightmost control edge is at 629
inline constexpr int kClientHeight = 330;  // the lowest at 329

// The designed outer size, frame and caption bar included, and the height
// of "0" in the window font at 96 dpi the places were designed for.
inline constexpr int kOuterWidth = 639;
inline constexpr int kOuterHeight = 358;
inline constexpr int kDesignTextHeight = 13;
inline constexpr int kDesignDpi = 96;

// The outer size for a screen of `dpi`: the designed one grown in
// proportion, as the controls grow with the window font, so that at 125,
// 150 and 200 % every control shows without scrolling.
constexpr int outerAtDpi(int designed, int dpi) {
    return (designed * dpi + kDesignDpi / 2) / kDesignDpi;
}

// A designed coordinate for a window font whose text is `textHeight` high,
// rounded to the nearest pixel.
constexpr int scaled(int designed, int textHeight) {
    return textHeight == kDesignTextHeight
               ? designed
               : (designed * textHeight + kDesignTextHeight / 2) / kDesignTextHeight;
}

// A designed place scaled as a whole: its edges scaled, so that controls
// side by side keep meeting where they met.
constexpr Place scaled(const Place& p, int textHeight) {
    const int left = scaled(p.left, textHeight), top = scaled(p.top, textHeight);
    return {left, top, scaled(p.left + p.width, textHeight) - left,
            scaled(p.top + p.height, textHeight) - top};
}

struct Size {
    int width, height;
};
struct ScrollBarsShown {
    bool horizontal, vertical;
};

// The scroll bars a window needs to reach controls of `extent` in a client
// area of `room` (without bars): each bar takes `bar` pixels from the other
// direction, so one may bring the other.
constexpr ScrollBarsShown scrollBarsFor(Size extent, Size room, Size bar) {
    bool horizontal = extent.width > room.width;
    bool vertical = extent.height > room.height - (horizontal ? bar.height : 0);
    horizontal = horizontal || extent.width > room.width - (vertical ? bar.width : 0);
    vertical = vertical || extent.height > room.height - (horizontal ? bar.height : 0);
    return {horizontal, vertical};
}

}  // namespace geocalc::layout
