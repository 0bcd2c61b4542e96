#include "parcel/label_placer.h"

#include <algorithm>
#include <cmath>

namespace geocalc {

namespace {

constexpr double kCell = 5;  // mm

// Whether the segment from a to b passes through the box (Liang–Barsky clipping).
bool segmentMeetsBox(PagePoint a, PagePoint b, const Box& box) {
    double enter = 0, leave = 1;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {a.x - box.left, box.right - a.x, a.y - box.top, box.bottom - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            enter = std::max(enter, t);
        } else {
            leave = std::min(leave, t);
        }
        if (enter > leave) return false;
    }
    return true;
}

Box boundsOf(PagePoint a, PagePoint b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

}  // namespace

template <class Visit>
void LabelPlacer::forEachCell(const Box& box, Visit&& visit) const {
    // Cells outside the area hold nothing a label can meet: the box is cut to it.
    const auto cell = [](double v) { return static_cast<long long>(std::floor(v / kCell)); };
    const long long left = cell(std::max(box.left, area_.left)),
                    right = cell(std::min(box.right, area_.right));
    const long long top = cell(std::max(box.top, area_.top)),
                    bottom = cell(std::min(box.bottom, area_.bottom));
    for (long long row = top; row <= bottom; ++row) {
        for (long long column = left; column <= right; ++column) visit(row * 1'000'003 + column);
    }
}

LabelPlacer::LabelPlacer(Box area, std::vector<std::pair<PagePoint, PagePoint>> lines)
    : area_(area), lines_(std::move(lines)) {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        forEachCell(boundsOf(lines_[i].first, lines_[i].second),
                    [&](long long key) { linesByCell_[key].push_back(i); });
    }
}

void LabelPlacer::take(const Box& box) {
    forEachCell(box, [&](long long key) { boxesByCell_[key].push_back(taken_.size()); });
    taken_.push_back(box);
}

bool LabelPlacer::clear(const Box& box) const {
    if (!area_.holds(box)) return false;
    bool clear = true;
    forEachCell(box, [&](long long key) {
        const auto found = boxesByCell_.find(key);
        if (!clear || found == boxesByCell_.end()) return;
        for (const std::size_t i : found->second) clear = clear && !taken_[i].overlaps(box);
    });
    return clear;
}

bool LabelPlacer::crossesALine(const Box& box) const {
    bool crosses = false;
    forEachCell(box, [&](long long key) {
        const auto found = linesByCell_.find(key);
        if (crosses || found == linesByCell_.end()) return;
        for (const std::size_t i : found->second) {
            crosses = crosses || segmentMeetsBox(lines_[i].first, lines_[i].second, box);
        }
    });
    return crosses;
}

std::optional<Box> LabelPlacer::place(std::span<const Box> candidates) {
    const Box* chosen = nullptr;
    for (const Box& box : candidates) {
        if (!clear(box)) continue;
        if (!crossesALine(box)) {
            chosen = &box;
            break;
        }
        if (!chosen) chosen = &box;
    }
    if (!chosen) return std::nullopt;
    take(*chosen);
    return *chosen;
}

}  // namespace geocalc
