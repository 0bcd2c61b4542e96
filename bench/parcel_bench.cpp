// The boundary check on 100,000 corners: a wavy measured boundary and a star
// of long spikes, against sorting the sides' 200,000 end points, the floor
// of any sweep. And on 20,003 corners winding to and fro, every side's box
// over every other's: crossing at the end (the sweep, then the search for
// the first pair) beside the same figure without the crossing (the sweep
// alone).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "../tests/parcel/winding_boundary.h"
#include "parcel/boundary_crossing.h"

namespace {

constexpr int kCorners = 100'000;

// In millimetres, the grid of coordinates with three decimals.
std::vector<geocalc::SmallGridPoint> figure(bool spikes) {
    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> jump(1000, 5000), noise(-0.05, 0.05);
    std::vector<geocalc::SmallGridPoint> corners;
    for (int i = 0; i < kCorners; ++i) {
        const double angle = 2 * M_PI * i / kCorners;
        const double r = spikes ? jump(random) : 3000 + 1500 * std::sin(5 * angle) + noise(random);
        corners.push_back(
            {std::llround(r * std::cos(angle) * 1000), std::llround(r * std::sin(angle) * 1000)});
    }
    return corners;
}

void BM_FirstCrossing_Wavy(benchmark::State& state) {
    const auto corners = figure(false);
    for (auto _ : state) benchmark::DoNotOptimize(geocalc::firstCrossing(corners));
}

void BM_FirstCrossing_Spikes(benchmark::State& state) {
    const auto corners = figure(true);
    for (auto _ : state) benchmark::DoNotOptimize(geocalc::firstCrossing(corners));
}

constexpr int kTurns = 10'000;

void BM_FirstCrossing_SerpentineCrossing(benchmark::State& state) {
    const auto corners = geocalc::windingBoundary(kTurns, true);
    for (auto _ : state) benchmark::DoNotOptimize(geocalc::firstCrossing(corners));
}

void BM_Baseline_SerpentineSweepAlone(benchmark::State& state) {
    const auto corners = geocalc::windingBoundary(kTurns, false);
    for (auto _ : state) benchmark::DoNotOptimize(geocalc::firstCrossing(corners));
}

void BM_Baseline_SortEndPoints(benchmark::State& state) {
    const auto corners = figure(false);
    for (auto _ : state) {
        std::vector<geocalc::SmallGridPoint> points(corners);
        points.insert(points.end(), corners.begin(), corners.end());
        std::sort(points.begin(), points.end(), [](const auto& a, const auto& b) {
            return a.x < b.x || (a.x == b.x && a.y < b.y);
        });
        benchmark::DoNotOptimize(points.data());
    }
}

}  // namespace

BENCHMARK(BM_FirstCrossing_Wavy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstCrossing_Spikes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_SortEndPoints)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstCrossing_SerpentineCrossing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_SerpentineSweepAlone)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
