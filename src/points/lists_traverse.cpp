#include "points/lists_traverse.h"

#include "calc/traverse.h"

namespace geocalc {

namespace {

class ListedPoints final : public TraversePoints {
public:
    explicit ListedPoints(const PointLists& lists) : lists_(lists) {}
    std::string_view x(int index) override { return lists_.xs.at(index); }
    std::string_view y(int index) override { return lists_.ys.at(index); }

private:
    const PointLists& lists_;
};

}  // namespace

void runTraverse(PointLists& lists) {
    lists.sides.clear();
    ListedPoints points(lists);
    computeTraverse(lists.names.count(), points,
                    [&lists](std::string line) { lists.sides.append(line); });
    markSidesComputed(lists);
}

}  // namespace geocalc
