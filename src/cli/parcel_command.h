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
    bool allowCrossing = false;  // a boundary crossing itself still gets its documents
    Handover handover;           // the language and the date are the run's unless given
};

// geocalc-cli parcel TABLE ID...: picks the records as traverse does (at
// least three) and describes the closed figure they bound, as its
// catalogue prints it (see describePrintedParcel): catalogue, perimeter,
// area, orientation, in the chosen format. To FILE whole or not at all, else
// to `out`. Reads the table read-only.
//
// A boundary that crosses or touches itself has no area to hand over: its
// warning goes to `err`, nothing is written and the exit code is 1, unless
// allowCrossing asks for the documents, each then marked with the warning.
int runParcelCommand(const std::vector<std::string>& args, const ParcelOptions& options,
                     std::ostream& out, std::ostream& err);

}  // namespace geocalc::cli
