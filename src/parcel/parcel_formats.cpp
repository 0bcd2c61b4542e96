#include "parcel/parcel_formats.h"

namespace geocalc {

std::optional<ParcelFormat> parcelFormatNamed(std::string_view name) {
    if (name == "text") return ParcelFormat::Text;
    if (name == "json") return ParcelFormat::Json;
    if (name == "csv") return ParcelFormat::Csv;
    if (name == "svg") return ParcelFormat::Svg;
    if (name == "dxf") return ParcelFormat::Dxf;
    return std::nullopt;
}

std::string formatParcel(const Parcel& parcel, ParcelFormat format) {
    switch (format) {
        case ParcelFormat::Text:
            return parcelText(parcel);
        case ParcelFormat::Json:
            return parcelJson(parcel);
        case ParcelFormat::Csv:
            return parcelCsv(parcel);
        case ParcelFormat::Svg:
            return parcelSvg(parcel);
        case ParcelFormat::Dxf:
            return parcelDxf(parcel);
    }
    return {};
}

std::string crossingWarning(const Parcel& parcel) {
    if (!parcel.crossing) return {};
    const std::size_t n = parcel.points.size();
    auto side = [&](std::size_t i) {
        return "side " + std::to_string(i + 1) + " (" + parcel.points[i].name + " - " +
               parcel.points[(i + 1) % n].name + ")";
    };
    return "Warning: " + side(parcel.crossing->first) + " and " + side(parcel.crossing->second) +
           " cross or touch: the point order is wrong and the area means nothing.";
}

}  // namespace geocalc
