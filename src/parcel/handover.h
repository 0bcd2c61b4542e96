// What the surveyor states beside the figures when handing the parcel over,
// and how its documents are written: the title block's lines, who surveyed
// it and when, the coordinate system, the accuracy of the points, the
// decimals of the catalogue and the reader's language.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/user_language.h"
#include "parcel/parcel.h"

namespace geocalc {

struct Handover {
    Language language = Language::English;
    int decimals = 2;          // of the catalogue's coordinates and lengths, and the perimeter
    std::optional<double> mt;  // m: the mean square error of the points' positions
    int mtDecimals = -1;       // Mt's decimals as the surveyor wrote it; -1: its shortest form
    std::vector<std::string> title;  // UTF-8 lines: parcel number, address, client
    std::string surveyor;            // UTF-8
    std::string date;                // YYYY-MM-DD
    std::string crs;                 // UTF-8: the coordinate system's name
};

// The decimals the area gets in m² (whole square metres at the default two
// decimals of the coordinates, one more for each decimal beyond) and in ha
// (four more).
int areaDecimals(const Handover& handover);
int hectareDecimals(const Handover& handover);

// The permitted error of the area, ΔP = 3.5 · Mt · √P (P in m², Mt in m),
// where Mt is stated.
std::optional<double> permittedAreaError(const Parcel& parcel, const Handover& handover);

}  // namespace geocalc
