#include "form/form_controls.h"

namespace geocalc {

TextList& listOf(PointLists& lists, ListRole role) {
    switch (role) {
        case ListRole::Names:
            return lists.names;
        case ListRole::Xs:
            return lists.xs;
        case ListRole::Ys:
            return lists.ys;
        default:
            return lists.sides;
    }
}

int windowFontPixels(int dpi) {
    constexpr int kDesignPoints = 8, kPointsPerInch = 72, kDesignPixels = 11;
    const int pixels = (kDesignPoints * dpi + kPointsPerInch / 2) / kPointsPerInch;
    if (dpi == layout::kDesignDpi || pixels == kDesignPixels) return pixels;
    return (kDesignPixels * dpi + layout::kDesignDpi / 2) / layout::kDesignDpi;
}

}  // namespace geocalc
