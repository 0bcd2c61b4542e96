// Opening and scanning a table of a million records, against a plain read of
// the file and against independent readers (pgdbf, shapelib's dbfdump).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../tests/table/dbf_builder.h"
#include "cli/parcel_command.h"
#include "cli/table_commands.h"
#include "table/byte_masks.h"
#include "table/record_scan.h"
#include "table/table_dataset.h"

namespace {

constexpr int kRecords = 1'000'000;

std::string fixed(std::string text, std::size_t width, bool right) {
    if (text.size() > width) text.resize(width);
    const std::string pad(width - text.size(), ' ');
    return right ? pad + text : text + pad;
}

// NAME C(10), X N(12,3), Y N(12,3), CODE C(20): 55 bytes a record; record i
// is named "P<i>". Made once and kept in the temporary folder.
std::string benchmarkTable(int records) {
    const std::string p = (std::filesystem::temp_directory_path() /
                           ("geocalc-bench-" + std::to_string(records) + ".dbf"))
                              .string();
    const std::uintmax_t expected = 32 + 4 * 32 + 1 + std::uintmax_t(records) * 55 + 1;
    std::error_code error;
    if (std::filesystem::file_size(p, error) == expected) return p;
    std::string header = DbfBuilder()
                             .field("NAME", 'C', 10)
                             .field("X", 'N', 12, 3)
                             .field("Y", 'N', 12, 3)
                             .field("CODE", 'C', 20)
                             .bytes();
    header.pop_back();  // the end marker follows the records
    DbfBuilder::put32(header, 4, std::uint32_t(records));
    std::ofstream out(p, std::ios::binary);
    out << header;
    std::string record;
    for (int i = 0; i < records; ++i) {
        const long long x = 6'000'000'000LL + i * 137LL % 999'999'999LL;
        const long long y = 2'000'000'000LL + i * 211LL % 999'999'999LL;
        auto millis = [](long long v) {
            const std::string fraction = std::to_string(v % 1000);
            return std::to_string(v / 1000) + "." + std::string(3 - fraction.size(), '0') +
                   fraction;
        };
        record = " " + fixed("P" + std::to_string(i), 10, false) + fixed(millis(x), 12, true) +
                 fixed(millis(y), 12, true) + fixed("benchmark point", 20, false);
        out << record;
    }
    out << '\x1A';
    return p;
}

const std::string& millionRecordTable() {
    static const std::string path = benchmarkTable(kRecords);
    return path;
}

void BM_OpenToFirstRecordTexts(benchmark::State& state) {
    const std::string& path = millionRecordTable();
    for (auto _ : state) {
        geocalc::TableDataset table;
        table.setTableName(path);
        table.open();
        for (int f = 0; f < 4; ++f) benchmark::DoNotOptimize(table.fieldText(f));
    }
}

void BM_ScanAllFieldTexts(benchmark::State& state) {
    const std::string& path = millionRecordTable();
    std::size_t heap = 0;
    for (auto _ : state) {
        const std::size_t before = mallinfo2().uordblks;
        geocalc::TableDataset table;
        table.setTableName(path);
        table.open();
        for (geocalc::RowScan scan = table.scanRows();
             const geocalc::RowTexts* texts = scan.next();) {
            benchmark::DoNotOptimize(texts->all().data());
        }
        heap = mallinfo2().uordblks - before;
    }
    state.counters["open_table_heap_MB"] = double(heap) / (1 << 20);
}

// The records alone, in the same one pass but without their texts: what
// reading costs beyond the floor.
void BM_ScanRecordsOnly(benchmark::State& state) {
    const std::string& path = millionRecordTable();
    for (auto _ : state) {
        const auto table = geocalc::DbfTable::open(path, geocalc::DbfTable::Access::ReadOnly);
        geocalc::RecordScan scan(*table);
        std::size_t firstBytes = 0;
        for (std::string_view record; scan.next(record);)
            firstBytes += static_cast<unsigned char>(record[1]);
        benchmark::DoNotOptimize(firstBytes);
    }
}

#if GEOCALC_BYTE_MASKS
// The least any reader of field texts does: every field's text found (the
// record's bytes with the trailing blanks cut), nothing judged or turned.
void BM_ScanFieldEndsOnly(benchmark::State& state) {
    using geocalc::ByteMasks;
    const std::string& path = millionRecordTable();
    for (auto _ : state) {
        const auto table = geocalc::DbfTable::open(path, geocalc::DbfTable::Access::ReadOnly);
        const std::vector<geocalc::DbfField>& fields = table->fields();
        std::vector<std::string_view> texts(fields.size());
        geocalc::RecordScan scan(*table);
        for (std::string_view record; scan.next(record);) {
            for (std::size_t f = 0; f < fields.size(); ++f) {
                const std::string_view stored =
                    record.substr(std::size_t(fields[f].offset), std::size_t(fields[f].length));
                const ByteMasks bytes(record, stored);
                const std::uint32_t shown = ~bytes.blank & ByteMasks::span(bytes.first, bytes.end);
                const int end = shown == 0 ? bytes.first : ByteMasks::lastBit(shown) + 1;
                texts[f] =
                    std::string_view(bytes.origin + bytes.first, std::size_t(end - bytes.first));
            }
            benchmark::DoNotOptimize(texts.data());
        }
    }
}
BENCHMARK(BM_ScanFieldEndsOnly)->Unit(benchmark::kMillisecond);
#endif

// The floor: every byte of the file read once.
void BM_ScanFloor_ReadFile(benchmark::State& state) {
    const std::string& path = millionRecordTable();
    std::string buffer(1 << 20, '\0');
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        while (::read(fd, buffer.data(), buffer.size()) > 0) {
        }
        ::close(fd);
    }
}

void runCommand(benchmark::State& state, const std::string& command) {
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError(("failed: " + command).c_str());
    }
}

void BM_Scan_pgdbf(benchmark::State& state) {
    runCommand(state, "pgdbf -s cp1251 " + millionRecordTable() + " > /dev/null 2>&1");
}

void BM_Scan_dbfdump(benchmark::State& state) {
    runCommand(state, "dbfdump " + millionRecordTable() + " > /dev/null 2>&1");
}

// geocalc-cli traverse --names: 2,000 names picked from 200,000 records,
// against a show of the same table.
constexpr int kPickRecords = 200'000;
constexpr int kPickedNames = 2'000;

void BM_CliShow_200k(benchmark::State& state) {
    const std::string path = benchmarkTable(kPickRecords);
    for (auto _ : state) {
        std::ostringstream out;
        geocalc::cli::runShow({path}, out);
        benchmark::DoNotOptimize(out.str().size());
    }
}

void BM_CliTraverseByNames_2000of200k(benchmark::State& state) {
    std::vector<std::string> args = {benchmarkTable(kPickRecords)};
    for (int i = 0; i < kPickedNames; ++i)
        args.push_back("P" + std::to_string(i * (kPickRecords / kPickedNames) + 7));
    geocalc::cli::TraverseOptions options;
    options.byName = true;
    for (auto _ : state) {
        std::ostringstream out;
        geocalc::cli::runTraverseCommand(args, options, out);
        benchmark::DoNotOptimize(out.str().size());
    }
}

// geocalc-cli parcel on 100,000 boundary points from a table, each format,
// against traverse on the same points.
constexpr int kBoundaryPoints = 100'000;

// NAME C(10), X N(12,3), Y N(12,3): a wavy boundary of a few kilometres.
std::string boundaryTable() {
    const std::string p =
        (std::filesystem::temp_directory_path() / "geocalc-bench-boundary.dbf").string();
    std::string header =
        DbfBuilder().field("NAME", 'C', 10).field("X", 'N', 12, 3).field("Y", 'N', 12, 3).bytes();
    header.pop_back();
    DbfBuilder::put32(header, 4, kBoundaryPoints);
    std::ofstream out(p, std::ios::binary);
    out << header;
    for (int i = 0; i < kBoundaryPoints; ++i) {
        const double angle = 2 * M_PI * i / kBoundaryPoints, r = 3000 + 1500 * std::sin(5 * angle);
        char record[64];
        std::snprintf(record, sizeof record, " %-10s%12.3f%12.3f",
                      ("B" + std::to_string(i)).c_str(), 6000000 + r * std::cos(angle),
                      500000 + r * std::sin(angle));
        out << record;
    }
    out << '\x1A';
    return p;
}

std::vector<std::string> boundaryArgs() {
    static const std::string table = boundaryTable();
    std::vector<std::string> args = {table};
    for (int i = 1; i <= kBoundaryPoints; ++i) args.push_back(std::to_string(i));
    return args;
}

void BM_CliTraverse_100k(benchmark::State& state) {
    const std::vector<std::string> args = boundaryArgs();
    for (auto _ : state) {
        std::ostringstream out;
        geocalc::cli::runTraverseCommand(args, {}, out);
        benchmark::DoNotOptimize(out.str().size());
    }
}

void BM_CliParcel_100k(benchmark::State& state) {
    const std::vector<std::string> args = boundaryArgs();
    geocalc::cli::ParcelOptions options;
    options.format = geocalc::ParcelFormat(state.range(0));
    for (auto _ : state) {
        std::ostringstream out;
        geocalc::cli::runParcelCommand(args, options, out, out);
        benchmark::DoNotOptimize(out.str().size());
    }
    static const char* const kNames[] = {"text", "json", "csv", "svg", "dxf"};
    state.SetLabel(kNames[state.range(0)]);
}

}  // namespace

BENCHMARK(BM_CliTraverse_100k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CliParcel_100k)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CliShow_200k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CliTraverseByNames_2000of200k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenToFirstRecordTexts)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScanAllFieldTexts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanRecordsOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanFloor_ReadFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Scan_pgdbf)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Scan_dbfdump)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
