#include "calc/traverse.h"

#include "calc/side.h"

namespace geocalc {

namespace {

// The coordinates of the side from point `start` to point `end`, fetched from
// the lists by index only when the side computation asks for them.
class ListSide final : public SideSource {
public:
    ListSide(const PointLists& lists, int end, int start)
        : lists_(lists), end_(end), start_(start) {}

    std::string_view fetch(Coordinate which) override {
        switch (which) {
            case Coordinate::XEnd: return lists_.xs.at(end_);
            case Coordinate::XStart: return lists_.xs.at(start_);
            case Coordinate::YEnd: return lists_.ys.at(end_);
            case Coordinate::YStart: return lists_.ys.at(start_);
        }
        return {};
    }

private:
    const PointLists& lists_;
    int end_;
    int start_;
};

void appendSide(PointLists& lists, int end, int start) {
    ListSide side(lists, end, start);
    lists.sides.append(computeSide(side));
}

}  // namespace

void runTraverse(PointLists& lists) {
    lists.sides.clear();
    const int n = lists.names.count();
    for (int k = 1; k < n; ++k) appendSide(lists, k, k - 1);
    // With no points this fetches index 0 and then -1, as the closing side of
    // an empty traverse would.
    appendSide(lists, 0, n - 1);
    markSidesComputed(lists);
}

}  // namespace geocalc
