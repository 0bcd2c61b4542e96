// Fuzz target: `geocalc-cli traverse` and `parcel` over the records of a
// fuzzed table (texts that are no numbers, equal points, crossings), with
// every format written into memory: each run gives its whole document or one
// of the project's errors with a message, never a crash or a hang.
//
// The input is the steps, "\nGCFUZZ-TABLE\n" and the table (see
// fuzzed_table.h); without the mark it is all table. The steps' first byte
// chooses the decimal separator (bit 0), the documents' language (bit 1)
// and their decimals (the rest, modulo 10); each further byte picks a
// record, by its number modulo the records. Without steps the first eight
// records are picked in order.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/parcel_command.h"
#include "cli/table_commands.h"
#include "fuzzed_table.h"
#include "numtext/format_settings.h"
#include "table/table_dataset.h"

namespace {

constexpr std::size_t kMostPicks = 40;
constexpr int kDefaultPicks = 8;

int recordCount(const std::string& path) {
    try {
        geocalc::TableDataset table;
        table.setReadOnly(true);
        table.setTableName(path);
        table.open();
        return table.rowCount();
    } catch (const geocalc::Error&) {
        return 0;  // the commands say why themselves
    }
}

std::vector<std::string> pickedIds(std::string_view steps, int records) {
    std::vector<std::string> ids;
    const int count = std::max(records, 1);
    if (steps.size() < 2) {
        for (int n = 1; n <= std::min(count, kDefaultPicks); ++n) ids.push_back(std::to_string(n));
        return ids;
    }
    for (std::size_t i = 1; i < steps.size() && ids.size() < kMostPicks; ++i) {
        ids.push_back(std::to_string(static_cast<unsigned char>(steps[i]) % count + 1));
    }
    return ids;
}

bool endsWith(const std::string& text, std::string_view end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

void traverse(const std::vector<std::string>& args, std::size_t picks, bool utf8) {
    geocalc::cli::TraverseOptions options;
    options.utf8 = utf8;
    std::ostringstream out;
    try {
        geocalc::cli::runTraverseCommand(args, options, out);
    } catch (const geocalc::Error& e) {
        return geocalc::fuzz::checkMessage(e);
    }
    // A line a point, each ended by CR LF (names may hold line breaks of their own).
    const std::string written = out.str();
    std::size_t lineEnds = 0;
    for (std::size_t at = written.find("\r\n"); at != std::string::npos;
         at = written.find("\r\n", at + 2))
        ++lineEnds;
    if (lineEnds < picks || !endsWith(written, "\r\n")) __builtin_trap();
}

// Each format's document is whole: JSON parses, the drawing and the DXF end
// as their formats end.
void checkDocument(geocalc::ParcelFormat format, const std::string& document) {
    using geocalc::ParcelFormat;
    if (document.empty()) __builtin_trap();
    if (format == ParcelFormat::Json && !nlohmann::json::accept(document)) __builtin_trap();
    if (format == ParcelFormat::Svg && !endsWith(document, "</svg>\n")) __builtin_trap();
    if (format == ParcelFormat::Dxf && !endsWith(document, "EOF\n") &&
        !endsWith(document, "EOF\r\n"))
        __builtin_trap();
}

// A boundary crossing itself is refused with its warning and nothing
// written, unless its documents are asked for.
void parcel(const std::vector<std::string>& args, geocalc::ParcelFormat format,
            const geocalc::Handover& handover, bool allowCrossing) {
    geocalc::cli::ParcelOptions options;
    options.format = format;
    options.handover = handover;
    options.allowCrossing = allowCrossing;
    std::ostringstream out, err;
    int code = 0;
    try {
        code = geocalc::cli::runParcelCommand(args, options, out, err);
    } catch (const geocalc::Error& e) {
        return geocalc::fuzz::checkMessage(e);
    }
    if (code != 0) {
        if (allowCrossing || !out.str().empty() || err.str().empty()) __builtin_trap();
        return;
    }
    checkDocument(format, out.str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view steps;
    const std::string path = geocalc::fuzz::writeFuzzedTable(
        std::string_view(reinterpret_cast<const char*>(data), size), steps);
    const unsigned char choice = steps.empty() ? 0 : static_cast<unsigned char>(steps[0]);
    geocalc::setDecimalSeparator((choice & 1) ? ',' : '.');
    geocalc::Handover handover;
    handover.language = (choice & 2) ? geocalc::Language::Russian : geocalc::Language::English;
    handover.decimals = (choice >> 2) % 10;
    handover.date = "2026-12-11";
    handover.title = {"Fuzzed parcel"};

    std::vector<std::string> args{path};
    const std::vector<std::string> ids = pickedIds(steps, recordCount(path));
    args.insert(args.end(), ids.begin(), ids.end());
    traverse(args, ids.size(), false);
    traverse(args, ids.size(), true);
    using geocalc::ParcelFormat;
    for (const ParcelFormat format : {ParcelFormat::Text, ParcelFormat::Json, ParcelFormat::Csv,
                                      ParcelFormat::Svg, ParcelFormat::Dxf}) {
        parcel(args, format, handover, (choice & 0x80) != 0);
    }
    return 0;
}
