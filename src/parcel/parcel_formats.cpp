#include "parcel/parcel_formats.h"

#include <algorithm>

#include "charset/code_page.h"
#include "numtext/format_settings.h"
#include "parcel/document_words.h"
#include "parcel/parcel_numbers.h"

namespace geocalc {

std::optional<ParcelFormat> parcelFormatNamed(std::string_view name) {
    if (name == "text") return ParcelFormat::Text;
    if (name == "json") return ParcelFormat::Json;
    if (name == "csv") return ParcelFormat::Csv;
    if (name == "svg") return ParcelFormat::Svg;
    if (name == "dxf") return ParcelFormat::Dxf;
    return std::nullopt;
}

std::string formatParcel(const Parcel& parcel, ParcelFormat format, const Handover& handover) {
    switch (format) {
        case ParcelFormat::Text:
            return parcelText(parcel, handover);
        case ParcelFormat::Json:
            return parcelJson(parcel, handover);
        case ParcelFormat::Csv:
            return parcelCsv(parcel, handover);
        case ParcelFormat::Svg:
            return parcelSvg(parcel, handover);
        case ParcelFormat::Dxf:
            return parcelDxf(parcel, handover);
    }
    return {};
}

std::string crossingWarning(const Parcel& parcel, Language language) {
    if (!parcel.crossing) return {};
    const std::size_t n = parcel.points.size();
    const std::string side = ansiFromUtf8(word<"side">(language));
    auto named = [&](std::size_t i) {
        return side + " " + std::to_string(i + 1) + " (" + parcel.points[i].name + " - " +
               parcel.points[(i + 1) % n].name + ")";
    };
    return ansiFromUtf8(word<"Warning">(language)) + ": " + named(parcel.crossing->first) + " " +
           ansiFromUtf8(word<"and">(language)) + " " + named(parcel.crossing->second) + " " +
           ansiFromUtf8(
               word<"cross or touch: the point order is wrong and the area means nothing.">(
                   language));
}

std::vector<CatalogueRow> catalogueRows(const Parcel& parcel, const Handover& handover) {
    const Language language = handover.language;
    std::vector<CatalogueRow> rows = {{"№", std::string(word<"Name">(language)), "X", "Y",
                                       std::string(word<"Direction">(language)),
                                       std::string(word<"Length">(language))}};
    for (std::size_t i = 0; i < parcel.points.size(); ++i) {
        const BoundaryPoint& p = parcel.points[i];
        rows.push_back({std::to_string(i + 1), utf8FromAnsi(p.name),
                        utf8FromAnsi(coordinateText(p.x, handover.decimals)),
                        utf8FromAnsi(coordinateText(p.y, handover.decimals)),
                        utf8FromAnsi(parcel.sides[i].direction),
                        utf8FromAnsi(decimalsText(parcel.sides[i].length, handover.decimals))});
    }
    return rows;
}

std::string perimeterLine(const Parcel& parcel, const Handover& handover) {
    return std::string(word<"Perimeter">(handover.language)) + ": " +
           utf8FromAnsi(groupedThousands(decimalsText(parcel.perimeter, handover.decimals))) + " " +
           std::string(word<"m">(handover.language));
}

std::string areaLine(const Parcel& parcel, const Handover& handover) {
    const Language language = handover.language;
    std::string line =
        std::string(word<"Area">(language)) + ": " +
        utf8FromAnsi(groupedThousands(areaText(parcel.exactArea, areaDecimals(handover))));
    if (const auto error = permittedAreaError(parcel, handover)) {
        line +=
            " ± " + utf8FromAnsi(groupedThousands(decimalsText(*error, areaDecimals(handover))));
    }
    return line + " " + std::string(word<"m²">(language)) + " (" +
           utf8FromAnsi(areaText(parcel.exactArea.hectares(), hectareDecimals(handover))) + " " +
           std::string(word<"ha">(language)) + ")";
}

std::string documentDate(const Handover& handover) {
    constexpr std::size_t kYear = 0, kMonth = 5, kDay = 8;  // in YYYY-MM-DD
    const std::string& iso = handover.date;
    if (handover.language != Language::Russian || iso.size() != 10) return iso;
    return iso.substr(kDay, 2) + "." + iso.substr(kMonth, 2) + "." + iso.substr(kYear, 4);
}

std::string mtLine(const Handover& handover) {
    if (!handover.mt) return {};
    std::string mt;  // as stated ("0.10" stays so), with the run's separator
    if (handover.mtDecimals >= 0) {
        mt = decimalsText(*handover.mt, handover.mtDecimals);
    } else {
        mt = machineNumber(*handover.mt);
        std::replace(mt.begin(), mt.end(), '.', numberFormat().decimalSeparator);
    }
    return "Mt = " + utf8FromAnsi(mt) + " " + std::string(word<"m">(handover.language));
}

}  // namespace geocalc
