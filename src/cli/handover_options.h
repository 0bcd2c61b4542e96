// The parcel command's options for the handover: --decimals, --mt, --title
// (repeatable), --surveyor, --date and --crs.
#pragma once

#include <string>
#include <string_view>

#include "parcel/handover.h"

namespace geocalc::cli {

// Takes one option's value (UTF-8); a value it cannot take is a UsageError
// naming what it wants.
void setHandoverOption(Handover& handover, std::string_view option, const std::string& value);

// What the run decides where the options said nothing: the user's language,
// and today's date in the local time zone.
void completeHandover(Handover& handover);

}  // namespace geocalc::cli
