// Points read from a file that is no dBASE table (a point text file, an
// instrument's records) for the table they make, in two readings: the first
// learns the table's shape, the second hands over the points.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "table/text_lines.h"

namespace geocalc {

// What a table of the points must know before its first record.
struct PointShape {
    std::vector<std::string> columns;  // NAME, X, Y, then the further columns
    // Each column's longest text; X and Y as stored, with `decimals` decimals.
    std::vector<std::size_t> widths;
    std::size_t decimals = 0;  // the most any coordinate has
    std::size_t points = 0;
};

// A point's texts in the columns' order, in Windows-1251, valid while the
// point is handed over; X and Y the decimals as the file writes them
// ([+-]digits[mark digits], "." or "," as the mark).
using PointRow = std::vector<std::string_view>;

// A coordinate's decimal in its parts.
struct PointNumber {
    bool negative = false;
    std::string_view whole, fraction;
    static PointNumber of(std::string_view decimal);
    // Its characters as stored with `decimals` decimals.
    std::size_t storedWidth(std::size_t decimals) const {
        return (negative ? 1 : 0) + whole.size() + (decimals > 0 ? decimals + 1 : 0);
    }
};

// The most points a table holds.
inline constexpr std::size_t kMostPoints = 2147483646;
// The longest name, and any further text, a point may have (a dBASE text
// field's).
inline constexpr std::size_t kLongestPointName = 254;

class PointSource {
public:
    virtual ~PointSource() = default;
    const PointShape& shape() const { return shape_; }
    // Reads the file again, handing over each point in turn.
    virtual void forEachPoint(const std::function<void(const PointRow&)>& take) const = 0;

protected:
    // Counts a point of the first reading into the shape; the line's number
    // for a file with too many.
    void tally(const PointRow& row, std::size_t line);
    // The coordinates' widths, once every point is counted. Fails when there
    // are none.
    void finishShape(const char* noPoints);
    PointShape shape_;

private:
    std::size_t integerWidths_[2] = {};  // X's and Y's, with their signs
};

// GSI records where the file's first line is one, else a point text (see
// PointText and GsiPoints), read once for its shape. Fails naming the first
// line that does not fit.
std::unique_ptr<PointSource> readPoints(TextChunks chunks);

}  // namespace geocalc
