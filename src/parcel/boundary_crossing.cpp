#include "parcel/boundary_crossing.h"

#include <algorithm>
#include <boost/geometry.hpp>
#include <boost/geometry/index/rtree.hpp>

namespace geocalc {

namespace {

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;

using BoxPoint = bg::model::point<double, 2, bg::cs::cartesian>;
using Box = bg::model::box<BoxPoint>;
using Entry = std::pair<Box, std::size_t>;

int orientation(const PlanPoint& a, const PlanPoint& b, const PlanPoint& c) {
    const long double cross = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
    return (cross > 0) - (cross < 0);
}

// c, known to lie on the line through a and b, lies between them.
bool within(const PlanPoint& a, const PlanPoint& b, const PlanPoint& c) {
    return std::min(a.x, b.x) <= c.x && c.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= c.y &&
           c.y <= std::max(a.y, b.y);
}

bool segmentsMeet(const PlanPoint& p1, const PlanPoint& p2, const PlanPoint& q1, const PlanPoint& q2) {
    const int o1 = orientation(p1, p2, q1), o2 = orientation(p1, p2, q2);
    const int o3 = orientation(q1, q2, p1), o4 = orientation(q1, q2, p2);
    if (o1 * o2 < 0 && o3 * o4 < 0) return true;
    return (o1 == 0 && within(p1, p2, q1)) || (o2 == 0 && within(p1, p2, q2)) || (o3 == 0 && within(q1, q2, p1)) ||
           (o4 == 0 && within(q1, q2, p2));
}

// Sides a->shared and shared->c run back over each other.
bool turnsBack(const PlanPoint& a, const PlanPoint& shared, const PlanPoint& c) {
    const long double dot = (a.x - shared.x) * (c.x - shared.x) + (a.y - shared.y) * (c.y - shared.y);
    return orientation(a, shared, c) == 0 && dot > 0;
}

Box boxOf(const PlanPoint& a, const PlanPoint& b) {
    return Box(BoxPoint(double(std::min(a.x, b.x)), double(std::min(a.y, b.y))),
               BoxPoint(double(std::max(a.x, b.x)), double(std::max(a.y, b.y))));
}

}  // namespace

std::optional<std::pair<std::size_t, std::size_t>> firstCrossing(const std::vector<PlanPoint>& corners) {
    const std::size_t n = corners.size();
    if (n < 3) return std::nullopt;
    auto from = [&](std::size_t side) -> const PlanPoint& { return corners[side]; };
    auto to = [&](std::size_t side) -> const PlanPoint& { return corners[(side + 1) % n]; };

    std::vector<Entry> boxes;
    boxes.reserve(n);
    for (std::size_t side = 0; side < n; ++side) boxes.emplace_back(boxOf(from(side), to(side)), side);
    const bgi::rtree<Entry, bgi::rstar<16>> tree(boxes.begin(), boxes.end());  // packed at once

    std::vector<Entry> candidates;
    for (std::size_t i = 0; i < n; ++i) {
        candidates.clear();
        tree.query(bgi::intersects(boxes[i].first), std::back_inserter(candidates));
        std::optional<std::size_t> first;
        for (const Entry& candidate : candidates) {
            const std::size_t j = candidate.second;
            if (j <= i || (first && j >= *first)) continue;
            bool meet;
            if (j == i + 1) {
                meet = turnsBack(from(i), to(i), to(j));
            } else if (i == 0 && j == n - 1) {
                meet = turnsBack(from(j), to(j), to(i));
            } else {
                meet = segmentsMeet(from(i), to(i), from(j), to(j));
            }
            if (meet) first = j;
        }
        if (first) return std::make_pair(i, *first);
    }
    return std::nullopt;
}

}  // namespace geocalc
