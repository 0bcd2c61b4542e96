// Labels on a drawing, placed one by one where they overlap nothing placed
// before, stay inside their area and, where they can, cross no line of the
// figure. Boxes and lines are kept in a grid of cells, so that a figure of
// many thousand points is labelled in time proportional to its size.
#pragma once

#include <optional>
#include <span>
#include <unordered_map>
#include <vector>

#include "parcel/drawing_geometry.h"

namespace geocalc {

class LabelPlacer {
public:
    // `area`: where labels may lie; `lines`: the figure's sides, as pairs of ends.
    LabelPlacer(Box area, std::vector<std::pair<PagePoint, PagePoint>> lines);

    // Space already taken (point marks, the north arrow, the scale bar).
    void take(const Box& box);

    // The first of the candidate boxes that lies in the area, clear of
    // everything taken and of the lines; else the first clear of everything
    // taken; nothing when none is. The box chosen is taken.
    std::optional<Box> place(std::span<const Box> candidates);

    const Box& area() const { return area_; }

private:
    // The cells a box covers, as keys of the maps below.
    template <class Visit>
    void forEachCell(const Box& box, Visit&& visit) const;
    bool clear(const Box& box) const;
    bool crossesALine(const Box& box) const;

    Box area_;
    std::vector<std::pair<PagePoint, PagePoint>> lines_;
    std::vector<Box> taken_;
    std::unordered_map<long long, std::vector<std::size_t>> boxesByCell_, linesByCell_;
};

}  // namespace geocalc
