// Decimal text conversion against the C and C++ libraries, side by side.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "calc/side.h"
#include "numtext/decimal_reader.h"
#include "numtext/number_writer.h"

namespace {

constexpr std::size_t kCount = 1'000'000;

// Survey coordinates: seven integer digits and two or three decimals.
const std::vector<std::string>& coordinateTexts() {
    static const std::vector<std::string> texts = [] {
        std::mt19937_64 random(42);
        std::uniform_real_distribution<double> value(100000.0, 9999999.0);
        std::vector<std::string> result;
        result.reserve(kCount);
        char buffer[32];
        for (std::size_t i = 0; i < kCount; ++i) {
            std::snprintf(buffer, sizeof buffer, i % 2 ? "%.2f" : "%.3f", value(random));
            result.emplace_back(buffer);
        }
        return result;
    }();
    return texts;
}

const std::vector<double>& coordinateValues() {
    static const std::vector<double> values = [] {
        std::vector<double> result;
        for (const std::string& t : coordinateTexts())
            result.push_back(std::strtod(t.c_str(), nullptr));
        return result;
    }();
    return values;
}

template <class Body>
void overTexts(benchmark::State& state, Body body) {
    const auto& texts = coordinateTexts();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(body(texts[i]));
        if (++i == texts.size()) i = 0;
    }
}

template <class Body>
void overValues(benchmark::State& state, Body body) {
    const auto& values = coordinateValues();
    std::size_t i = 0;
    for (auto _ : state) {
        body(values[i]);
        if (++i == values.size()) i = 0;
    }
}

void BM_Read_geocalc(benchmark::State& state) {
    overTexts(state, [](const std::string& t) { return geocalc::readDecimal(t); });
}
void BM_Read_strtold(benchmark::State& state) {
    overTexts(state, [](const std::string& t) { return std::strtold(t.c_str(), nullptr); });
}
void BM_Read_from_chars_double(benchmark::State& state) {
    overTexts(state, [](const std::string& t) {
        double v;
        std::from_chars(t.data(), t.data() + t.size(), v);
        return v;
    });
}

void BM_WriteGeneral_geocalc(benchmark::State& state) {
    overValues(state, [](double v) { benchmark::DoNotOptimize(geocalc::writeGeneral(v)); });
}
void BM_WriteGeneral_snprintf(benchmark::State& state) {
    overValues(state, [](double v) {
        char buffer[48];
        benchmark::DoNotOptimize(std::snprintf(buffer, sizeof buffer, "%.15Lg", (long double)v));
    });
}
void BM_WriteGeneral_to_chars_double(benchmark::State& state) {
    overValues(state, [](double v) {
        char buffer[48];
        benchmark::DoNotOptimize(
            std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, 15));
    });
}

void BM_WriteFixed_geocalc(benchmark::State& state) {
    overValues(state, [](double v) { benchmark::DoNotOptimize(geocalc::writeFixed(v)); });
}
void BM_WriteFixed_snprintf(benchmark::State& state) {
    overValues(state, [](double v) {
        char buffer[48];
        benchmark::DoNotOptimize(std::snprintf(buffer, sizeof buffer, "%.1Lf", (long double)v));
    });
}
void BM_WriteFixed_to_chars_double(benchmark::State& state) {
    overValues(state, [](double v) {
        char buffer[48];
        benchmark::DoNotOptimize(
            std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 1));
    });
}

void BM_SideLine(benchmark::State& state) {
    const auto& texts = coordinateTexts();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            geocalc::sideLineText(texts[i], texts[i + 1], texts[i + 2], texts[i + 3]));
        i += 4;
        if (i + 4 > texts.size()) i = 0;
    }
}

}  // namespace

BENCHMARK(BM_Read_geocalc);
BENCHMARK(BM_Read_strtold);
BENCHMARK(BM_Read_from_chars_double);
BENCHMARK(BM_WriteGeneral_geocalc);
BENCHMARK(BM_WriteGeneral_snprintf);
BENCHMARK(BM_WriteGeneral_to_chars_double);
BENCHMARK(BM_WriteFixed_geocalc);
BENCHMARK(BM_WriteFixed_snprintf);
BENCHMARK(BM_WriteFixed_to_chars_double);
BENCHMARK(BM_SideLine);

BENCHMARK_MAIN();
