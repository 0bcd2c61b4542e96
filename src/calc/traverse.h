// The traverse calculation behind "Рассчет": the side lines of a closed
// traverse from its points' coordinate texts.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace geocalc {

// The points' coordinate texts by index, fetched only when a side's
// computation asks for them; an index that names no point fails.
class TraversePoints {
public:
    virtual std::string_view x(int index) = 0;
    virtual std::string_view y(int index) = 0;

protected:
    ~TraversePoints() = default;
};

// Gives `sideLine` one side line per side of the closed traverse over
// `count` points, in order: from point k-1 to point k for k = 1 .. count-1,
// then the closing side from point count-1 back to point 0 (also for a count
// of 1 and 2; with none it fetches index 0 and then -1). Side line i is thus
// the side leaving point i.
//
// Texts are fetched and read one by one (X of the end point, X of the start
// point, Y of the end, Y of the start), so the first missing point or bad text
// in that order is the failure reported, after the lines before it were given.
void computeTraverse(int count, TraversePoints& points,
                     const std::function<void(std::string)>& sideLine);

}  // namespace geocalc
