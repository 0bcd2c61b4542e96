#include "parcel/grid_figure.h"

#include <algorithm>

#include "numtext/exact_decimal.h"
#include "parcel/parcel.h"

namespace geocalc {

namespace {

using boost::multiprecision::cpp_int;
__extension__ typedef __int128 Int128;
__extension__ typedef unsigned __int128 UInt128;

constexpr int kInt64Digits = 18;  // any 18-digit integer fits

cpp_int bigOf(const ExactDecimal& d, int scale) {
    cpp_int value(d.digits.empty() ? std::string("0") : d.digits);
    for (int i = 0; i < d.exponent + scale; ++i) value *= 10;
    return d.negative ? cpp_int(-value) : value;
}

// The value in grid units where it has at most 18 digits there.
bool smallOf(const ExactDecimal& d, int scale, std::int64_t& value) {
    const int zeros = d.exponent + scale;
    if (int(d.digits.size()) + zeros > kInt64Digits) return false;
    value = 0;
    for (const char c : d.digits) value = value * 10 + (c - '0');
    for (int i = 0; i < zeros; ++i) value *= 10;
    if (d.negative) value = -value;
    return true;
}

template <class Int>
void reduceToFirst(std::vector<GridPoint<Int>>& corners) {
    const GridPoint<Int> first = corners.front();
    for (GridPoint<Int>& c : corners) {
        c.x -= first.x;
        c.y -= first.y;
    }
}

bool fitsSmall(const std::vector<SmallGridPoint>& corners) {
    return std::all_of(corners.begin(), corners.end(), [](const SmallGridPoint& c) {
        return c.x > -kSmallGridLimit && c.x < kSmallGridLimit && c.y > -kSmallGridLimit && c.y < kSmallGridLimit;
    });
}

cpp_int bigOf(Int128 v) {
    const bool negative = v < 0;
    const UInt128 magnitude = negative ? -static_cast<UInt128>(v) : static_cast<UInt128>(v);
    cpp_int result = std::uint64_t(magnitude >> 64);
    result <<= 64;
    result += std::uint64_t(magnitude);
    return negative ? cpp_int(-result) : result;
}

// Twice the area on the plan (Y across, X up), counter-clockwise positive:
// the shoelace sum on the corners from the first one.
cpp_int twiceSignedArea(const std::vector<SmallGridPoint>& corners) {
    // Each term is below 2^81 and there are fewer than 2^32: the sum fits.
    Int128 sum = 0;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const SmallGridPoint& a = corners[i];
        const SmallGridPoint& b = corners[(i + 1) % corners.size()];
        sum += Int128(a.y) * b.x - Int128(b.y) * a.x;
    }
    return bigOf(sum);
}

cpp_int twiceSignedArea(const std::vector<BigGridPoint>& corners) {
    cpp_int sum = 0;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const BigGridPoint& a = corners[i];
        const BigGridPoint& b = corners[(i + 1) % corners.size()];
        sum += a.y * b.x - b.y * a.x;
    }
    return sum;
}

}  // namespace

// The texts are read twice, for the finest decimal place and then for the
// values, rather than kept: a figure of a million corners stays small.
GridFigure gridFigure(const std::vector<BoundaryPoint>& points, char separator) {
    GridFigure figure;
    for (const BoundaryPoint& p : points) {
        figure.scale = std::max({figure.scale, -readExactDecimal(p.x, separator).exponent,
                                 -readExactDecimal(p.y, separator).exponent});
    }
    figure.small.reserve(points.size());
    for (const BoundaryPoint& p : points) {
        SmallGridPoint c;
        if (!smallOf(readExactDecimal(p.x, separator), figure.scale, c.x) ||
            !smallOf(readExactDecimal(p.y, separator), figure.scale, c.y)) {
            break;
        }
        figure.small.push_back(c);
    }
    if (figure.small.size() == points.size()) {
        reduceToFirst(figure.small);
        if (fitsSmall(figure.small)) return figure;
    }
    figure.small = {};
    figure.big.reserve(points.size());
    for (const BoundaryPoint& p : points) {
        figure.big.push_back({bigOf(readExactDecimal(p.x, separator), figure.scale),
                              bigOf(readExactDecimal(p.y, separator), figure.scale)});
    }
    reduceToFirst(figure.big);
    return figure;
}

GridArea gridArea(const GridFigure& figure) {
    const cpp_int twice = figure.isSmall() ? twiceSignedArea(figure.small) : twiceSignedArea(figure.big);
    // |twice| / 2 grid units², each 10^-2scale m²: 5 |twice| 10^-(2 scale + 1) m².
    return {{5 * abs(twice), 2 * figure.scale + 1}, (twice > 0) - (twice < 0)};
}

}  // namespace geocalc
