// The traverse over 100,000 points and its results file, against writing the
// same bytes with one fwrite.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "output/results_file.h"
#include "points/lists_traverse.h"

namespace {

constexpr int kPoints = 100'000;

geocalc::PointLists pickedPoints() {
    geocalc::PointLists lists;
    std::mt19937_64 random(7);
    // Steps of at least half a metre, so that no side runs exactly along an axis.
    std::uniform_real_distribution<double> step(0.5, 50.0);
    std::bernoulli_distribution backwards(0.5);
    double x = 6123456.78, y = 2345678.91;
    char buffer[32];
    for (int i = 0; i < kPoints; ++i) {
        lists.names.append("P" + std::to_string(i));
        x += backwards(random) ? -step(random) : step(random);
        y += backwards(random) ? -step(random) : step(random);
        std::snprintf(buffer, sizeof buffer, "%.2f", x);
        lists.xs.append(buffer);
        std::snprintf(buffer, sizeof buffer, "%.2f", y);
        lists.ys.append(buffer);
    }
    return lists;
}

const geocalc::PointLists& calculatedPoints() {
    static const geocalc::PointLists lists = [] {
        geocalc::PointLists l = pickedPoints();
        geocalc::runTraverse(l);
        return l;
    }();
    return lists;
}

std::string resultsPath() {
    return (std::filesystem::temp_directory_path() /
            ("geocalc-bench-" + std::to_string(getpid()) + ".txt"))
        .string();
}

void BM_Traverse100k(benchmark::State& state) {
    const geocalc::PointLists picked = pickedPoints();
    for (auto _ : state) {
        state.PauseTiming();
        geocalc::PointLists lists = picked;
        state.ResumeTiming();
        geocalc::runTraverse(lists);
        benchmark::DoNotOptimize(lists.sides.count());
    }
}

void BM_SaveResults100k(benchmark::State& state) {
    const std::string path = resultsPath();
    for (auto _ : state) geocalc::writeResultsFile(path, calculatedPoints());
    std::filesystem::remove(path);
}

// The floor: the same bytes, already joined, written with one fwrite and synced.
void BM_SaveResults100k_fwrite(benchmark::State& state) {
    const geocalc::PointLists& lists = calculatedPoints();
    std::string bytes;
    for (int i = 0; i < lists.names.count(); ++i) {
        bytes += lists.names.at(i) + ' ' + lists.xs.at(i) + ' ' + lists.ys.at(i) + ' ' +
                 lists.sides.at(i) + "\r\n";
    }
    const std::string path = resultsPath();
    for (auto _ : state) {
        FILE* file = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fflush(file);
        fsync(fileno(file));
        std::fclose(file);
    }
    std::filesystem::remove(path);
}

}  // namespace

BENCHMARK(BM_Traverse100k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveResults100k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveResults100k_fwrite)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
