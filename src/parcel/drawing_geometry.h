// Places on a drawing's page, in millimetres from its top left corner.
#pragma once

namespace geocalc {

struct PagePoint {
    double x = 0, y = 0;
};

struct Box {
    double left = 0, top = 0, right = 0, bottom = 0;

    static Box around(PagePoint centre, double width, double height) {
        return {centre.x - width / 2, centre.y - height / 2, centre.x + width / 2,
                centre.y + height / 2};
    }
    double width() const { return right - left; }
    double height() const { return bottom - top; }
    bool overlaps(const Box& other) const {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
    bool holds(const Box& other) const {
        return other.left >= left && other.right <= right && other.top >= top &&
               other.bottom <= bottom;
    }
};

}  // namespace geocalc
