// The two writers the system uses most take a shorter way; on every value
// they must write what the general writer writes at their settings. Values
// crowd round the ties of both (a half in the last kept digit, a few units
// in the last place either side), the carries (999.95), and spread over the
// whole range. GEOCALC_WRITER_VALUES sets how many are drawn (default ten
// million, some 26 million values with the neighbours of the ties; a
// twentieth under the sanitizers, which run far slower).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "numtext/number_writer.h"

namespace geocalc {
namespace {

long long valuesDrawn() {
    if (const char* given = std::getenv("GEOCALC_WRITER_VALUES")) return std::atoll(given);
#if defined(__SANITIZE_ADDRESS__)
    return 500'000;
#else
    return 10'000'000;
#endif
}

// Counts the values on which the fast writers and the general one disagree,
// and reports the first few.
class Comparison {
public:
    void check(double v) {
        const NumberText fixed = writeFixed(v);
        const NumberText fixedWay =
            writeNumber(v, NumberForm::Fixed, kFixedPrecision, kFixedDecimals);
        const NumberText general = writeGeneral(v);
        const NumberText generalWay = writeNumber(v, NumberForm::General, kGeneralPrecision, 0);
        if (fixed.view() != fixedWay.view()) report(v, fixed, fixedWay);
        if (general.view() != generalWay.view()) report(v, general, generalWay);
        ++checked_;
    }
    void checkNear(double v) {  // v and two units in the last place either side
        double below = v, above = v;
        check(v);
        for (int i = 0; i < 2; ++i) {
            below = std::nextafter(below, -INFINITY);
            above = std::nextafter(above, INFINITY);
            check(below);
            check(above);
        }
    }
    long long checked() const { return checked_; }
    int differences() const { return differences_; }

private:
    void report(double v, const NumberText& fast, const NumberText& general) {
        if (++differences_ <= 10) {
            ADD_FAILURE() << "value " << std::hexfloat << v << ": fast '" << fast.str()
                          << "', general '" << general.str() << "'";
        }
    }
    long long checked_ = 0;
    int differences_ = 0;
};

TEST(FastWritersTest, WriteWhatTheGeneralWriterWrites) {
    const long long count = valuesDrawn();
    std::mt19937_64 random(20261210);
    Comparison comparison;
    // Ties of the fixed writer: k + 0.5 tenths, from small to ten integer digits.
    std::uniform_int_distribution<int> digitsOf(0, 10);
    for (long long i = 0; i < count / 5; ++i) {
        const double k = std::floor(std::ldexp(double(random() >> 11), -53) *
                                    std::pow(10.0, digitsOf(random) + 1));
        comparison.checkNear((k + 0.5) / 10);
    }
    // Ties of the general writer: a half in the fifteenth digit, any exponent.
    std::uniform_int_distribution<std::int64_t> fifteen(100'000'000'000'000, 999'999'999'999'999);
    std::uniform_int_distribution<int> exponent(-30, 30);
    for (long long i = 0; i < count / 5; ++i) {
        comparison.checkNear((double(fifteen(random)) + 0.5) * std::pow(10.0, exponent(random)));
    }
    // Carries: nines up to the kept digits and just round them.
    for (int digits = 1; digits <= 17; ++digits) {
        const double nines = std::pow(10.0, digits) - 1;
        for (const double scale : {1.0, 10.0, 0.1, 0.01, 1e-5, 1e5})
            comparison.checkNear((nines + 0.95) * scale);
    }
    // Whole numbers (degrees, minutes, integer fields) and survey coordinates.
    for (long long i = 0; i < count / 5; ++i)
        comparison.check(double(i % 1'000'000) * (i % 2 ? 1 : -1));
    std::uniform_real_distribution<double> coordinate(-9'999'999.0, 9'999'999.0);
    for (long long i = 0; i < count / 5; ++i) {
        comparison.check(std::round(coordinate(random) * 1000) / 1000);
    }
    // Any double at all: random bit patterns, every exponent.
    for (long long i = 0; i < count / 5; ++i) {
        const std::uint64_t bits = random();
        double v = 0;
        std::memcpy(&v, &bits, sizeof v);
        comparison.check(v);
    }
    EXPECT_EQ(comparison.differences(), 0) << "of " << comparison.checked() << " values";
    EXPECT_GE(comparison.checked(), count);
}

}  // namespace
}  // namespace geocalc
