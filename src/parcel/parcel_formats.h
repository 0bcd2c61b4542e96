// A parcel written for its readers: people, programs, spreadsheets, print
// and CAD. Every format but DXF is UTF-8; DXF is in Windows-1251, which it
// declares, as CAD programs read it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "parcel/parcel.h"

namespace geocalc {

enum class ParcelFormat { Text, Json, Csv, Svg, Dxf };

// "text", "json", "csv", "svg", "dxf"; nothing for another name.
std::optional<ParcelFormat> parcelFormatNamed(std::string_view name);

std::string formatParcel(const Parcel& parcel, ParcelFormat format);

// The catalogue as an aligned table, then the perimeter, the area, the
// orientation and any warning; numbers with the run's decimal separator.
std::string parcelText(const Parcel& parcel);
// {"points": [{"name", "x", "y", "direction", "length"}...], "perimeter",
// "area", "orientation", "crossing"}: the table's texts as strings, the
// measures as numbers unrounded, sides counted from 0.
std::string parcelJson(const Parcel& parcel);
// The catalogue for spreadsheets: a byte-order mark, a header row, ";"
// between fields where the decimal separator is ",", else ",".
std::string parcelCsv(const Parcel& parcel);
// A drawing on an A4 page at the largest standard scale that fits.
std::string parcelSvg(const Parcel& parcel);
// ASCII DXF R12: the boundary, the points and their names, in metres with
// CAD x = Y (east) and CAD y = X (north).
std::string parcelDxf(const Parcel& parcel);

// The warning a crossing boundary gets, in the core's code page: in the text
// and the drawings, as "crossing" in JSON.
std::string crossingWarning(const Parcel& parcel);

}  // namespace geocalc
