#include "cli/parcel_command.h"

#include <ostream>
#include <tuple>

#include "cli/cli_io.h"
#include "cli/input_table.h"
#include "cli/record_picking.h"
#include "core/error.h"
#include "output/replacing_file.h"
#include "parcel/parcel.h"
#include "parcel/parcel_formats.h"
#include "table/table_dataset.h"

namespace geocalc::cli {

namespace {

// The current record's corner. A number field whose characters are no
// number has the text "": the failure quotes the characters.
BoundaryPoint cornerOf(TableDataset& table, int row, std::size_t index) {
    BoundaryPoint corner{table.fieldText(0), table.fieldText(1), table.fieldText(2), row + 1};
    for (const auto& [field, text, axis] :
         {std::tuple{1, &corner.x, "X"}, std::tuple{2, &corner.y, "Y"}}) {
        if (!text->empty()) continue;
        const std::string stored = table.storedText(field);
        if (!stored.empty()) {
            throw Error(pointReference(corner, index) + ", " + axis + ": '" + stored +
                        "' is not a valid floating point value");
        }
    }
    return corner;
}

}  // namespace

int runParcelCommand(const std::vector<std::string>& args, const ParcelOptions& options,
                     std::ostream& out, std::ostream& err) {
    if (args.size() < 2) throw UsageError{"parcel takes a table and the points to pick"};
    InputTable input(args[0]);
    TableDataset& table = input.table();
    std::vector<int> rows =
        pickRows(table, std::vector<std::string>(args.begin() + 1, args.end()), options.byName);
    // Listing the first point again at the end, a common way to say the
    // figure closes, says nothing more: the figure always closes.
    if (rows.size() > 1 && rows.back() == rows.front()) rows.pop_back();
    std::vector<BoundaryPoint> points;
    points.reserve(rows.size());
    for (const int row : rows) {
        table.moveTo(row);
        points.push_back(cornerOf(table, row, points.size()));
    }
    const Parcel parcel = describePrintedParcel(std::move(points), options.handover.decimals);
    if (parcel.crossing) {
        printMessage(err, crossingWarning(parcel));
        if (!options.allowCrossing) {
            printMessage(err,
                         "Nothing written: the area of such a boundary means nothing "
                         "(--allow-crossing writes the documents, marked, to look for the fault)");
            return kExitFailure;
        }
    }
    const std::string text = formatParcel(parcel, options.format, options.handover);
    if (options.outputPath.empty()) {
        out.write(text.data(), std::streamsize(text.size()));
    } else {
        writeNamedFile(options.outputPath, [&](ReplacingFile& file) { file.write(text); });
    }
    return 0;
}

}  // namespace geocalc::cli
