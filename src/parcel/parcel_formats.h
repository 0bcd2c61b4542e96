// A parcel written for its readers: people, programs, spreadsheets, print
// and CAD. Every format but DXF is UTF-8; DXF is in Windows-1251, which it
// declares, as CAD programs read it.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "parcel/handover.h"
#include "parcel/parcel.h"

namespace geocalc {

enum class ParcelFormat { Text, Json, Csv, Svg, Dxf };

// "text", "json", "csv", "svg", "dxf"; nothing for another name.
std::optional<ParcelFormat> parcelFormatNamed(std::string_view name);

// The documents for people (text, CSV headings, the drawing, DXF texts) are
// in the handover's language; JSON is the same in every language and locale.
std::string formatParcel(const Parcel& parcel, ParcelFormat format, const Handover& handover);

// The title lines and the coordinate system, the catalogue as an aligned
// table, then the perimeter, the area (± its permitted error), Mt, the
// orientation and any warning; numbers with the run's decimal separator.
std::string parcelText(const Parcel& parcel, const Handover& handover);
// {"points": [{"name", "x", "y", "direction", "length"}...], "perimeter",
// "area", "area_error", "orientation", "crossing", "title", "crs"}: the
// table's texts as strings, the measures as numbers unrounded, sides counted
// from 0; every key always there, null where it has nothing.
std::string parcelJson(const Parcel& parcel, const Handover& handover);
// The catalogue for spreadsheets: a byte-order mark, a header row, ";"
// between fields where the decimal separator is ",", else ","; then the
// perimeter, the area and its permitted error as rows of a label and a number.
std::string parcelCsv(const Parcel& parcel, const Handover& handover);
// A drawing on an A4 page (A3 where A4 cannot hold it) at the largest
// standard scale that fits, with its catalogue and title block.
std::string parcelSvg(const Parcel& parcel, const Handover& handover);
// ASCII DXF R12: the boundary, the points and their names, the catalogue and
// the totals, in metres with CAD x = Y (east) and CAD y = X (north).
std::string parcelDxf(const Parcel& parcel, const Handover& handover);

// The warning a crossing boundary gets, in the core's code page: in the text
// and the drawings in the reader's language, on standard error in English,
// as "crossing" in JSON.
std::string crossingWarning(const Parcel& parcel, Language language = Language::English);

// The catalogue's rows as people read them (UTF-8): the heading, then a row a
// point: its number, name, X and Y with the handover's decimals, the
// direction and length of the side leaving it. Numbers stand right-aligned.
inline constexpr std::size_t kCatalogueColumns = 6;
using CatalogueRow = std::array<std::string, kCatalogueColumns>;
inline constexpr std::array<bool, kCatalogueColumns> kCatalogueRightAligned = {true, false, true,
                                                                               true, false, true};
std::vector<CatalogueRow> catalogueRows(const Parcel& parcel, const Handover& handover);
// "Area: 10 050 ± 35 m² (1.0050 ha)" and the like, in UTF-8: the totals'
// lines as text, the drawing and DXF show them.
std::string perimeterLine(const Parcel& parcel, const Handover& handover);
std::string areaLine(const Parcel& parcel, const Handover& handover);
// "Mt = 0.10 m", where Mt is stated.
std::string mtLine(const Handover& handover);
// The handover's date as the document's language writes it: 10.12.2026 in
// Russian, 2026-12-10 (as given) in English.
std::string documentDate(const Handover& handover);

}  // namespace geocalc
