#include "parcel/handover.h"

#include <algorithm>
#include <cmath>

namespace geocalc {

namespace {

constexpr int kCoordinateDecimalsForWholeMetres = 2;
constexpr int kHectareDecimalsBeyond = 4;
constexpr double kAreaErrorFactor = 3.5;

}  // namespace

int areaDecimals(const Handover& handover) {
    return std::max(handover.decimals - kCoordinateDecimalsForWholeMetres, 0);
}

int hectareDecimals(const Handover& handover) {
    return areaDecimals(handover) + kHectareDecimalsBeyond;
}

std::optional<double> permittedAreaError(const Parcel& parcel, const Handover& handover) {
    if (!handover.mt) return std::nullopt;
    return kAreaErrorFactor * *handover.mt * std::sqrt(parcel.area);
}

}  // namespace geocalc
