// Picking records of a table by number or by name, as traverse and parcel do.
#pragma once

#include <string>
#include <vector>

#include "table/table_dataset.h"

namespace geocalc::cli {

// The rows of the IDs, in their order: 1-based record numbers, where "N-M"
// stands for the records N to M in order (backwards where M < N), or with
// `byName` names (UTF-8), each the first record whose first field is the
// name. Names are found in one pass over the table. Fails for a record that
// does not exist or a name no record has; an ID that is no number or range
// without `byName` is a usage error.
std::vector<int> pickRows(TableDataset& table, const std::vector<std::string>& ids, bool byName);

}  // namespace geocalc::cli
