#include "table/point_source.h"

#include <algorithm>
#include <optional>

#include "core/error.h"
#include "table/gsi_points.h"
#include "table/point_text.h"

namespace geocalc {

PointNumber PointNumber::of(std::string_view decimal) {
    PointNumber number;
    if (decimal.starts_with('-') || decimal.starts_with('+')) {
        number.negative = decimal.front() == '-';
        decimal.remove_prefix(1);
    }
    std::size_t mark = 0;
    while (mark < decimal.size() && decimal[mark] != '.' && decimal[mark] != ',') ++mark;
    number.whole = decimal.substr(0, mark);
    if (mark < decimal.size()) number.fraction = decimal.substr(mark + 1);
    return number;
}

void PointSource::tally(const PointRow& row, std::size_t line) {
    if (shape_.points == kMostPoints) {
        throw Error(std::string("Line ")
                        .append(std::to_string(line))
                        .append(": more than ")
                        .append(std::to_string(kMostPoints))
                        .append(" points"));
    }
    if (shape_.widths.size() < row.size()) shape_.widths.resize(row.size());
    for (std::size_t c = 0; c < row.size(); ++c) {
        if (c == 1 || c == 2) {
            const PointNumber number = PointNumber::of(row[c]);
            integerWidths_[c - 1] = std::max(integerWidths_[c - 1], number.storedWidth(0));
            shape_.decimals = std::max(shape_.decimals, number.fraction.size());
        } else {
            shape_.widths[c] = std::max(shape_.widths[c], row[c].size());
        }
    }
    ++shape_.points;
}

void PointSource::finishShape(const char* noPoints) {
    if (shape_.points == 0) throw Error(noPoints);
    const std::size_t fraction = shape_.decimals > 0 ? shape_.decimals + 1 : 0;
    shape_.widths[1] = integerWidths_[0] + fraction;
    shape_.widths[2] = integerWidths_[1] + fraction;
}

std::unique_ptr<PointSource> readPoints(TextChunks chunks) {
    std::optional<std::string> first;
    SeparatorTally separators;
    TextLines lines(std::move(chunks), [&](std::string_view line) {
        if (!first) first = line;
        return separators.look(line);
    });
    if (first && startsWithGsiWord(*first)) return std::make_unique<GsiPoints>(std::move(lines));
    return std::make_unique<PointText>(std::move(lines), separators.separator());
}

}  // namespace geocalc
