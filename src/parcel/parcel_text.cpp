// The parcel for people: an aligned catalogue, then its totals.
#include <algorithm>
#include <array>
#include <vector>

#include "charset/code_page.h"
#include "numtext/format_settings.h"
#include "parcel/parcel_formats.h"
#include "parcel/parcel_numbers.h"

namespace geocalc {

namespace {

constexpr std::size_t kColumns = 6;
constexpr std::array<bool, kColumns> kRightAligned = {true, false, true, true, false, true};

// Characters of well-formed UTF-8: the bytes that are no continuation bytes.
std::size_t characters(const std::string& utf8) {
    return std::size_t(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

const char* orientationName(Orientation orientation) {
    switch (orientation) {
        case Orientation::Clockwise:
            return "clockwise";
        case Orientation::CounterClockwise:
            return "counter-clockwise";
        case Orientation::None:
            return "none (the figure has no area)";
    }
    return "";
}

}  // namespace

std::string parcelText(const Parcel& parcel) {
    using Row = std::array<std::string, kColumns>;
    std::vector<Row> rows = {{"№", "Name", "X", "Y", "Direction", "Length"}};
    for (std::size_t i = 0; i < parcel.points.size(); ++i) {
        const BoundaryPoint& p = parcel.points[i];
        rows.push_back({std::to_string(i + 1), utf8FromAnsi(p.name), utf8FromAnsi(p.x),
                        utf8FromAnsi(p.y), utf8FromAnsi(parcel.sides[i].direction),
                        decimalsText(parcel.sides[i].length, 2)});
    }
    std::array<std::size_t, kColumns> widths{};
    for (const Row& row : rows) {
        for (std::size_t c = 0; c < kColumns; ++c)
            widths[c] = std::max(widths[c], characters(row[c]));
    }
    std::string out;
    for (const Row& row : rows) {
        for (std::size_t c = 0; c < kColumns; ++c) {
            const std::size_t pad = widths[c] - characters(row[c]);
            if (c > 0) out += "  ";
            if (kRightAligned[c]) out.append(pad, ' ');
            out += row[c];
            if (!kRightAligned[c] && c + 1 < kColumns) out.append(pad, ' ');
        }
        out += '\n';
    }
    out += "\nPerimeter: " + decimalsText(parcel.perimeter, 2) + " m\n";
    const char separator = numberFormat().decimalSeparator;
    out += "Area: " + parcel.exactArea.fixed(2, separator) + " m² (" +
           parcel.exactArea.hectares().fixed(4, separator) + " ha)\n";
    out += std::string("Orientation: ") + orientationName(parcel.orientation) + "\n";
    if (parcel.crossing) out += utf8FromAnsi(crossingWarning(parcel)) + "\n";
    return out;
}

}  // namespace geocalc
