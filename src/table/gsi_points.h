// Total stations' GSI records (GSI-8, and GSI-16 where a block starts with
// "*"): a block a line, of words "WWAAAA+DDDDDDDD" (GSI-16: sixteen data
// characters) each followed by a blank, WW the word index, AAAA further
// information whose last character is the unit, then the sign and the data.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "table/point_source.h"
#include "table/text_lines.h"

namespace geocalc {

// Whether the line starts with a GSI word.
bool startsWithGsiWord(std::string_view line);

// The points of the blocks that hold coordinates: word 11 the point number
// (leading zeros left off), 82 the northing (X), 81 the easting (Y), 83 the
// height (H, a column only where some block has one). Coordinates in metres
// with the unit their word gives: 0 millimetres, 6 tenths and 8 hundredths of
// a millimetre. Blocks without coordinates (measurements, codes) are passed
// over. Fails naming the line for a word that is not one, a coordinate in
// feet or with no length unit, a block with one coordinate but not the
// other, or no point number; and when no block holds coordinates.
class GsiPoints : public PointSource {
public:
    explicit GsiPoints(TextLines lines);
    void forEachPoint(const std::function<void(const PointRow&)>& take) const override;

private:
    // The block's point, or false for a block without coordinates; the
    // row's coordinates are views of `metres`.
    bool pointOf(std::size_t number, std::string_view line, std::array<std::string, 3>& metres,
                 PointRow& row) const;

    TextLines lines_;
};

}  // namespace geocalc
