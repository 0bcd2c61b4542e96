#include "cli/parcel_command.h"

#include <ostream>

#include "cli/cli_io.h"
#include "cli/record_picking.h"
#include "output/replacing_file.h"
#include "parcel/parcel.h"
#include "parcel/parcel_formats.h"
#include "table/table_dataset.h"

namespace geocalc::cli {

int runParcelCommand(const std::vector<std::string>& args, const ParcelOptions& options,
                     std::ostream& out, std::ostream& err) {
    if (args.size() < 2) throw UsageError{"parcel takes a table and the points to pick"};
    TableDataset table;
    openReadOnly(table, args[0]);
    std::vector<int> rows = pickRows(table, std::vector<std::string>(args.begin() + 1, args.end()), options.byName);
    // Listing the first point again at the end, a common way to say the
    // figure closes, says nothing more: the figure always closes.
    if (rows.size() > 1 && rows.back() == rows.front()) rows.pop_back();
    std::vector<BoundaryPoint> points;
    points.reserve(rows.size());
    for (const int row : rows) {
        table.moveTo(row);
        points.push_back({table.fieldText(0), table.fieldText(1), table.fieldText(2), row + 1});
    }
    const Parcel parcel = describeParcel(std::move(points));
    const std::string text = formatParcel(parcel, options.format, options.handover);
    if (options.outputPath.empty()) {
        out.write(text.data(), std::streamsize(text.size()));
    } else {
        ReplacingFile file(options.outputPath);
        file.write(text);
        file.commit();
    }
    if (parcel.crossing) printMessage(err, crossingWarning(parcel));
    return 0;
}

}  // namespace geocalc::cli
