#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "parcel/parcel_formats.h"

namespace geocalc::cli {

struct ParcelOptions {
    bool byName = false;     // IDs are names (field 0) rather than record numbers
    std::string outputPath;  // empty: standard output
    ParcelFormat format = ParcelFormat::Text;
    Handover handover;  // the language and the date are the run's unless given
};

// geocalc-cli parcel TABLE ID...: picks the records as traverse does (at
// least three) and describes the closed figure they bound: catalogue,
// perimeter, area, orientation and any crossing, in the chosen format.
// To FILE whole or not at all, else to `out`; a crossing's warning also goes
// to `err`, whatever the format. Reads the table read-only.
int runParcelCommand(const std::vector<std::string>& args, const ParcelOptions& options,
                     std::ostream& out, std::ostream& err);

}  // namespace geocalc::cli
