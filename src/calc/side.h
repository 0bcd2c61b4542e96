// The inverse problem on plane rectangular coordinates: the direction angle
// and length of one side, written as the side line.
#pragma once

#include <string>
#include <string_view>

#include "core/fixed_text.h"

namespace geocalc {

// The degree sign in the ANSI code page (Windows-1251).
inline constexpr char kDegreeSign = '\xB0';

// The four coordinate texts of a side, in the order they are fetched and read.
enum class Coordinate { XEnd, XStart, YEnd, YStart };

// Supplies a side's texts on demand, so that a failing fetch or read is
// reported in that order: X end, X start, then dX; Y end, Y start, then dY.
class SideSource {
public:
    virtual std::string_view fetch(Coordinate which) = 0;

protected:
    ~SideSource() = default;
};

// The side line from (X start, Y start) to (X end, Y end).
//
// The line is D°M'S" L: whole degrees and minutes in the general form,
// seconds and length in the fixed form with one decimal, e.g. 315°0'0.0" 141.4
// for dX = 100, dY = -100. The angle runs from +X towards +Y, 0 to 360.
// Seconds that would be written as 60.0 carry into the minutes, 60 minutes
// into the degrees, and 360 degrees are written as 0.
//
// A side along the Y axis (equal X, different Y) runs at exactly 90 or 270
// degrees.
//
// Fails with the reader's message for a text that is no number, then with
// "Floating point overflow" (a difference or the length beyond the double
// range) or "Invalid floating point operation" (equal points).
std::string computeSide(SideSource& source);
std::string computeSide(std::string_view xEnd, std::string_view xStart, std::string_view yEnd,
                        std::string_view yStart);

// The same line kept on the stack, for batches of sides: nothing allocated.
using SideLineText = FixedText<128>;
SideLineText sideLineText(SideSource& source);
SideLineText sideLineText(std::string_view xEnd, std::string_view xStart, std::string_view yEnd,
                          std::string_view yStart);

// The same side as its direction angle, written as the side line writes it
// (D°M'S.s"), and its length as computed, not rounded; same failures.
struct SideMeasure {
    std::string direction;
    double length;
};
SideMeasure measureSide(std::string_view xEnd, std::string_view xStart, std::string_view yEnd,
                        std::string_view yStart);

}  // namespace geocalc
