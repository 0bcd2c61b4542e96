// The parcel for people: its title, an aligned catalogue, then its totals.
#include <algorithm>
#include <array>
#include <vector>

#include "charset/code_page.h"
#include "parcel/document_words.h"
#include "parcel/parcel_formats.h"

namespace geocalc {

namespace {

// Characters of well-formed UTF-8: the bytes that are no continuation bytes.
std::size_t characters(const std::string& utf8) {
    return std::size_t(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string_view orientationName(Orientation orientation, Language language) {
    switch (orientation) {
        case Orientation::Clockwise:
            return word<"clockwise">(language);
        case Orientation::CounterClockwise:
            return word<"counter-clockwise">(language);
        case Orientation::None:
            return word<"none (the figure has no area)">(language);
    }
    return {};
}

}  // namespace

std::string parcelText(const Parcel& parcel, const Handover& handover) {
    const Language language = handover.language;
    std::string out;
    for (const std::string& line : handover.title) out += line + "\n";
    if (!handover.crs.empty())
        out += std::string(word<"Coordinate system">(language)) + ": " + handover.crs + "\n";
    if (!out.empty()) out += "\n";
    const auto rows = catalogueRows(parcel, handover);
    std::array<std::size_t, kCatalogueColumns> widths{};
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < kCatalogueColumns; ++c)
            widths[c] = std::max(widths[c], characters(row[c]));
    }
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < kCatalogueColumns; ++c) {
            const std::size_t pad = widths[c] - characters(row[c]);
            if (c > 0) out += "  ";
            if (kCatalogueRightAligned[c]) out.append(pad, ' ');
            out += row[c];
            if (!kCatalogueRightAligned[c] && c + 1 < kCatalogueColumns) out.append(pad, ' ');
        }
        out += '\n';
    }
    out += '\n';
    out += perimeterLine(parcel, handover);
    out += '\n';
    out += areaLine(parcel, handover);
    out += '\n';
    if (handover.mt) out += mtLine(handover) + "\n";
    out += std::string(word<"Orientation">(language)) + ": " +
           std::string(orientationName(parcel.orientation, language)) + "\n";
    if (parcel.crossing) out += utf8FromAnsi(crossingWarning(parcel, language)) + "\n";
    return out;
}

}  // namespace geocalc
