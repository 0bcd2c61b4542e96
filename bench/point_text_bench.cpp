// Opening a point text file of a million points (the working copy written,
// the grid's first screen of records read), against reading the text and
// writing as many bytes as the table has with plain calls.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "table/survey_table.h"
#include "table/table_dataset.h"

namespace {

constexpr int kPoints = 1'000'000;
constexpr int kFirstScreen = 30;  // records a grid shows at once, and more

std::string temporary(const std::string& name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

// "P<i>;6171234,567;2310456,789;12,35;fence" a line, as a spreadsheet
// writes them: made once and kept in the temporary folder.
const std::string& millionPointText() {
    static const std::string path = [] {
        const std::string p = temporary("geocalc-bench-points.csv");
        if (std::filesystem::exists(p)) return p;
        std::ofstream out(p, std::ios::binary);
        out << "name;x;y;h;code\r\n";
        for (long long i = 0; i < kPoints; ++i) {
            const long long x = 6'171'234'567LL + i * 137 % 99'999'999;
            const long long y = 2'310'456'789LL + i * 211 % 99'999'999;
            auto decimal = [](long long v) {
                std::string text = std::to_string(v);
                return text.insert(text.size() - 3, ",");
            };
            out << 'P' << i << ';' << decimal(x) << ';' << decimal(y) << ';' << i % 100 << ",35;"
                << (i % 3 == 0 ? "fence" : "corner") << "\r\n";
        }
        return p;
    }();
    return path;
}

long peakResidentKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void BM_OpenPointText_1M(benchmark::State& state) {
    const std::string& text = millionPointText();
    const long before = peakResidentKb();
    for (auto _ : state) {
        geocalc::TableDataset table;
        geocalc::openSurveyTable(text, table);
        for (int row = 0; row < kFirstScreen; ++row) {
            for (int f = 0; f < table.fieldCount(); ++f)
                benchmark::DoNotOptimize(table.fieldTextAt(row, f));
        }
    }
    state.counters["peak_memory_growth_MB"] = double(peakResidentKb() - before) / 1024;
    state.counters["text_MB"] = double(std::filesystem::file_size(text)) / (1 << 20);
}

// The baseline: the text read and the table's bytes written, a megabyte a
// call, and the table synced as the working copy is.
void BM_Baseline_ReadTextWriteTable_1M(benchmark::State& state) {
    const std::string& text = millionPointText();
    const std::string table = temporary("geocalc-bench-points.dbf");  // the working copy's name
    const std::uintmax_t tableSize = std::filesystem::file_size(table);
    const std::string copy = temporary("geocalc-bench-baseline.dbf");
    std::string buffer(1 << 20, '\0');
    for (auto _ : state) {
        const int in = ::open(text.c_str(), O_RDONLY);
        while (::read(in, buffer.data(), buffer.size()) > 0) {
        }
        ::close(in);
        const int out = ::open(copy.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        for (std::uintmax_t left = tableSize; left > 0;) {
            const std::size_t n = std::size_t(std::min<std::uintmax_t>(left, buffer.size()));
            if (::write(out, buffer.data(), n) != ssize_t(n)) state.SkipWithError("write failed");
            left -= n;
        }
        ::fsync(out);
        ::close(out);
    }
    std::filesystem::remove(copy);
}

}  // namespace

BENCHMARK(BM_OpenPointText_1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_ReadTextWriteTable_1M)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
