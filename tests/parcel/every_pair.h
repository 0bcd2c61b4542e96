// An independent answer to whether and where a closed boundary meets itself,
// for the tests: every pair of sides compared, in rational terms.
#pragma once

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "parcel/boundary_crossing.h"

namespace geocalc::every_pair {

using Pair = std::optional<std::pair<std::size_t, std::size_t>>;

// An independent answer: sides as sets of points with rational parameters,
// every pair compared. Sides i and j (not neighbours) meet when the systems
// p + s (q - p) = r + t (u - r), 0 <= s, t <= 1 have a solution; neighbours
// meet when they share more than their common corner.
struct Side {
    long long px, py, qx, qy;
};

__extension__ typedef __int128 Wide;

inline Wide cross(Wide ax, Wide ay, Wide bx, Wide by) { return ax * by - ay * bx; }

// Whether point (x, y) lies on the closed side.
inline bool onSide(const Side& s, long long x, long long y) {
    if (cross(s.qx - s.px, s.qy - s.py, x - s.px, y - s.py) != 0) return false;
    return std::min(s.px, s.qx) <= x && x <= std::max(s.px, s.qx) && std::min(s.py, s.qy) <= y &&
           y <= std::max(s.py, s.qy);
}

inline bool closedSidesMeet(const Side& a, const Side& b) {
    const Wide d = cross(a.qx - a.px, a.qy - a.py, b.qx - b.px, b.qy - b.py);
    if (d != 0) {  // one point where the lines cross: s = sn / d, t = tn / d
        const Wide sn = cross(b.px - a.px, b.py - a.py, b.qx - b.px, b.qy - b.py);
        const Wide tn = cross(b.px - a.px, b.py - a.py, a.qx - a.px, a.qy - a.py);
        auto inUnit = [d](Wide n) { return d > 0 ? 0 <= n && n <= d : d <= n && n <= 0; };
        return inUnit(sn) && inUnit(tn);
    }
    return onSide(a, b.px, b.py) || onSide(a, b.qx, b.qy) || onSide(b, a.px, a.py) ||
           onSide(b, a.qx, a.qy);
}

// Neighbours a = (p -> shared), b = (shared -> q) share more than the shared
// corner when they run back along one line.
inline bool neighboursOverlap(const Side& a, const Side& b) {
    const Wide ax = a.px - a.qx, ay = a.py - a.qy, bx = b.qx - b.px, by = b.qy - b.py;
    return cross(ax, ay, bx, by) == 0 && ax * bx + ay * by > 0;
}

inline Pair firstByEveryPair(const std::vector<SmallGridPoint>& corners) {
    const std::size_t n = corners.size();
    auto side = [&](std::size_t i) {
        const SmallGridPoint& p = corners[i];
        const SmallGridPoint& q = corners[(i + 1) % n];
        return Side{p.x, p.y, q.x, q.y};
    };
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = i + 1; j < n; ++j) {
            const bool meet = j == i + 1               ? neighboursOverlap(side(i), side(j))
                              : (i == 0 && j == n - 1) ? neighboursOverlap(side(j), side(i))
                                                       : closedSidesMeet(side(i), side(j));
            if (meet) return std::make_pair(i, j);
        }
    }
    return std::nullopt;
}

}  // namespace geocalc::every_pair
