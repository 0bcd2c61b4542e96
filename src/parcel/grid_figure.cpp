#include "parcel/grid_figure.h"

#include <algorithm>

#include "numtext/exact_decimal.h"
#include "parcel/parcel.h"

namespace geocalc {

namespace {

using boost::multiprecision::cpp_int;
__extension__ typedef __int128 Int128;
__extension__ typedef unsigned __int128 UInt128;

constexpr std::int64_t kSmallLimit = 1'000'000'000'000'000'000;  // 10^18: any 18-digit integer

cpp_int bigOf(const ExactDecimal& d, int scale) {
    const cpp_int value =
        cpp_int(d.digits.empty() ? std::string("0") : d.digits) * powerOfTen(d.exponent + scale);
    return d.negative ? cpp_int(-value) : value;
}

// mantissa * 10^zeros where that has at most 18 digits.
bool smallOf(const SmallDecimal& d, int scale, std::int64_t& value) {
    value = d.mantissa;
    const std::int64_t limit = kSmallLimit / 10;
    for (int i = 0; i < d.exponent + scale; ++i) {
        if (value >= limit || value <= -limit) return false;
        value *= 10;
    }
    return true;
}

// The texts read once into mantissas and exponents; false where one has more
// digits than 64 bits hold.
bool smallDecimals(const std::vector<BoundaryPoint>& points, char separator,
                   std::vector<SmallDecimal>& values, int& scale) {
    values.reserve(2 * points.size());
    for (const BoundaryPoint& p : points) {
        for (const std::string* text : {&p.x, &p.y}) {
            const std::optional<SmallDecimal> value = smallDecimalOf(*text, separator);
            if (!value) return false;
            values.push_back(*value);
            scale = std::max(scale, -value->exponent);
        }
    }
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
        return c.x > -kSmallGridLimit && c.x < kSmallGridLimit && c.y > -kSmallGridLimit &&
               c.y < kSmallGridLimit;
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

// The coordinate texts are numbers (the sides were measured from them).
GridFigure gridFigure(const std::vector<BoundaryPoint>& points, char separator) {
    GridFigure figure;
    std::vector<SmallDecimal> values;
    if (smallDecimals(points, separator, values, figure.scale)) {
        figure.small.resize(points.size());
        bool small = true;
        for (std::size_t i = 0; i < points.size() && small; ++i) {
            small = smallOf(values[2 * i], figure.scale, figure.small[i].x) &&
                    smallOf(values[2 * i + 1], figure.scale, figure.small[i].y);
        }
        if (small) {
            reduceToFirst(figure.small);
            if (fitsSmall(figure.small)) return figure;
        }
    }
    // Digits beyond 64 bits, or corners far apart on a fine grid.
    figure = {};
    std::vector<ExactDecimal> exact;
    for (const BoundaryPoint& p : points) {
        for (const std::string* text : {&p.x, &p.y}) {
            exact.push_back(readExactDecimal(*text, separator));
            figure.scale = std::max(figure.scale, -exact.back().exponent);
        }
    }
    figure.big.reserve(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        figure.big.push_back(
            {bigOf(exact[2 * i], figure.scale), bigOf(exact[2 * i + 1], figure.scale)});
    }
    reduceToFirst(figure.big);
    return figure;
}

GridArea gridArea(const GridFigure& figure) {
    const cpp_int twice =
        figure.isSmall() ? twiceSignedArea(figure.small) : twiceSignedArea(figure.big);
    // |twice| / 2 grid units², each 10^-2scale m²: 5 |twice| 10^-(2 scale + 1) m².
    return {{5 * abs(twice), 2 * figure.scale + 1}, (twice > 0) - (twice < 0)};
}

}  // namespace geocalc
