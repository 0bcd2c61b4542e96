#include "calc/traverse.h"

#include "calc/side.h"

namespace geocalc {

namespace {

// The coordinates of the side from point `start` to point `end`.
class TraverseSide final : public SideSource {
public:
    TraverseSide(TraversePoints& points, int end, int start)
        : points_(points), end_(end), start_(start) {}

    std::string_view fetch(Coordinate which) override {
        switch (which) {
            case Coordinate::XEnd:
                return points_.x(end_);
            case Coordinate::XStart:
                return points_.x(start_);
            case Coordinate::YEnd:
                return points_.y(end_);
            case Coordinate::YStart:
                return points_.y(start_);
        }
        return {};
    }

private:
    TraversePoints& points_;
    int end_;
    int start_;
};

}  // namespace

void computeTraverse(int count, TraversePoints& points,
                     const std::function<void(std::string)>& sideLine) {
    auto side = [&](int end, int start) {
        TraverseSide between(points, end, start);
        sideLine(computeSide(between));
    };
    for (int k = 1; k < count; ++k) side(k, k - 1);
    side(0, count - 1);
}

}  // namespace geocalc
