#include "parcel/parcel.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "every_pair.h"
#include "test_support.h"

namespace geocalc {
namespace {

std::vector<BoundaryPoint> pointsOf(const std::vector<std::pair<std::string, std::string>>& xy) {
    std::vector<BoundaryPoint> points;
    for (const auto& [x, y] : xy) points.push_back({"P" + std::to_string(points.size() + 1), x, y});
    return points;
}

__extension__ using Int128 = __int128;  // exact sums of products of millimetres

// Twice the exact area, in mm², of decimal coordinates with at most three
// decimals: whole millimetres in 128-bit integers.
Int128 twiceAreaInSquareMillimetres(const std::vector<BoundaryPoint>& points) {
    auto millimetres = [](const std::string& text) {
        const std::size_t dot = text.find('.');
        std::string fraction = dot == std::string::npos ? "" : text.substr(dot + 1);
        fraction.resize(3, '0');
        long long whole = 0, part = 0;
        std::from_chars(text.data(), text.data() + std::min(dot, text.size()), whole);
        std::from_chars(fraction.data(), fraction.data() + 3, part);
        return Int128(whole) * 1000 + (text[0] == '-' ? -part : part);
    };
    Int128 twice = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const BoundaryPoint& a = points[i];
        const BoundaryPoint& b = points[(i + 1) % points.size()];
        twice += millimetres(a.y) * millimetres(b.x) - millimetres(b.y) * millimetres(a.x);
    }
    return twice < 0 ? -twice : twice;
}

// The exact area as a double: whole square metres and the rest, each exact.
double exactArea(const std::vector<BoundaryPoint>& points) {
    const Int128 twice = twiceAreaInSquareMillimetres(points);
    const Int128 perSquareMetre = 2'000'000;  // mm², halved
    return double(twice / perSquareMetre) + double(twice % perSquareMetre) / double(perSquareMetre);
}

TEST(ParcelTest, FiguresTheirAreaOrientationAndCrossing) {
    using Crossing = std::optional<std::pair<std::size_t, std::size_t>>;
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> xy;  // X (north), Y (east)
        double area, perimeter;
        Orientation orientation;
        Crossing crossing;
    };
    const std::vector<Case> cases = {
        {"square, east first",
         {{"0", "0"}, {"0", "100"}, {"100", "100"}, {"100", "0"}},
         10000,
         400,
         Orientation::CounterClockwise,
         std::nullopt},
        {"square, north first",
         {{"0", "0"}, {"100", "0"}, {"100", "100"}, {"0", "100"}},
         10000,
         400,
         Orientation::Clockwise,
         std::nullopt},
        {"concave L",
         {{"0", "0"}, {"0", "20"}, {"10", "20"}, {"10", "10"}, {"20", "10"}, {"20", "0"}},
         300,
         80,
         Orientation::CounterClockwise,
         std::nullopt},
        {"bow-tie",
         {{"0", "0"}, {"10", "10"}, {"0", "10"}, {"10", "0"}},
         0,
         20 + 2 * std::sqrt(200.0),
         Orientation::None,
         Crossing({0, 2})},
        {"three points on a line",
         {{"0", "0"}, {"10", "0"}, {"20", "0"}},
         0,
         40,
         Orientation::None,
         Crossing({0, 2})},
        {"two loops touching at a corner",
         {{"0", "0"},
          {"0", "10"},
          {"10", "10"},
          {"10", "20"},
          {"20", "20"},
          {"20", "10"},
          {"10", "10"},
          {"10", "0"}},
         200,
         80,
         Orientation::CounterClockwise,
         Crossing({1, 5})},
        {"a corner on another side",
         {{"0", "0"}, {"0", "20"}, {"10", "20"}, {"0", "10"}, {"10", "0"}},
         100,
         40 + 2 * std::sqrt(200.0),
         Orientation::CounterClockwise,
         Crossing({0, 2})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Parcel parcel = describeParcel(pointsOf(c.xy));
        EXPECT_NEAR(parcel.area, c.area, 1e-9);
        EXPECT_NEAR(parcel.perimeter, c.perimeter, 1e-9);
        EXPECT_EQ(parcel.orientation, c.orientation);
        EXPECT_EQ(parcel.crossing, c.crossing);
        EXPECT_EQ(parcel.sides.size(), c.xy.size());
    }
}

TEST(ParcelTest, CatalogueSidesAreTheSideLinesDirections) {
    const Parcel parcel =
        describeParcel(pointsOf({{"0", "0"}, {"0", "100"}, {"100", "100"}, {"100", "0"}}));
    const std::vector<std::string> directions = {
        "90\xB0"
        "0'0.0\"",
        "0\xB0"
        "0'0.0\"",
        "270\xB0"
        "0'0.0\"",
        "180\xB0"
        "0'0.0\""};
    for (std::size_t i = 0; i < directions.size(); ++i) {
        EXPECT_EQ(parcel.sides[i].direction, directions[i]);
        EXPECT_EQ(parcel.sides[i].length, 100.0);
    }
}

TEST(ParcelTest, SurveyCoordinatesGiveTheExactAreaOfTheirDecimals) {
    const std::vector<BoundaryPoint> sample = pointsOf({{"6171234.56", "2310456.78"},
                                                        {"6171398.12", "2310587.34"},
                                                        {"6171512.9", "2310810.05"},
                                                        {"6171455.31", "2311040.66"},
                                                        {"6171280.47", "2311122.19"},
                                                        {"6171102.88", "2311008.73"},
                                                        {"6171031.64", "2310790.12"},
                                                        {"6171089.25", "2310580.4"}});
    const Parcel parcel = describeParcel(sample);
    EXPECT_NEAR(parcel.area, exactArea(sample), 1e-4);
    EXPECT_NEAR(parcel.area, 215239.13265, 1e-4);  // exactly, from the decimals as fractions
    EXPECT_EQ(parcel.orientation, Orientation::Clockwise);
    EXPECT_FALSE(parcel.crossing);
}

// 100,000 corners near 10^7 m with three decimals, in the order of their
// angle round a centre: a simple, wavy figure of a few kilometres whose
// boundary wanders by a few centimetres, as measured ones do.
TEST(ParcelTest, AHundredThousandCornersNearTenMillionMetres) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> noise(-0.05, 0.05);
    constexpr int kCorners = 100'000;
    std::vector<BoundaryPoint> points;
    for (int i = 0; i < kCorners; ++i) {
        const double angle = 2 * std::numbers::pi * i / kCorners;
        const double r = 3000 + 1500 * std::sin(5 * angle) + noise(random);
        auto text = [](double v) {
            char buffer[32];
            const long long mm = std::llround(v * 1000);
            std::snprintf(buffer, sizeof buffer, "%lld.%03lld", mm / 1000, mm % 1000);
            return std::string(buffer);
        };
        points.push_back(
            {"p", text(9876543.21 + r * std::cos(angle)), text(5432109.876 + r * std::sin(angle))});
    }
    const Parcel parcel = describeParcel(points);
    EXPECT_NEAR(parcel.area, exactArea(points), 1e-4);
    EXPECT_FALSE(parcel.crossing);
    EXPECT_EQ(parcel.orientation, Orientation::Clockwise);  // +X towards +Y is clockwise on a plan
}

// The exact area as text with `digits` decimals (at most 6), rounded half
// away from zero, from the 128-bit sum in mm²: an answer of the test's own.
std::string exactAreaText(const std::vector<BoundaryPoint>& points, int digits) {
    const Int128 twice = twiceAreaInSquareMillimetres(points);
    // twice / 2 mm² = twice * 5 * 10^-7 m².
    Int128 scaled = twice * 5, divisor = 1;
    for (int i = digits; i < 7; ++i) divisor *= 10;
    scaled = scaled / divisor + (scaled % divisor * 2 >= divisor ? 1 : 0);
    std::string text;
    for (Int128 rest = scaled; rest > 0 || int(text.size()) <= digits; rest /= 10)
        text.insert(text.begin(), char('0' + int(rest % 10)));
    text.insert(text.size() - std::size_t(digits), 1, '.');
    return text;
}

// The figures of ordinary survey coordinates where the binary reading of the
// decimals used to decide wrong: spikes, corners exactly on another side,
// points in a line.
TEST(ParcelTest, DecimalCoordinatesAreDecidedExactly) {
    using Crossing = std::optional<std::pair<std::size_t, std::size_t>>;
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> xy;
        Crossing crossing;
        Orientation orientation;
        const char* area;
    };
    const std::vector<Case> cases = {
        {"a spike out and back along itself",
         {{"6171234.12", "2310456.31"},
          {"6171234.13", "2310456.30"},
          {"6171234.10", "2310456.33"},
          {"6171224.10", "2310446.33"}},
         Crossing{{0, 1}},
         Orientation::Clockwise,
         nullptr},
        {"three points in a line",
         {{"6171234.10", "2310456.10"}, {"6171234.20", "2310456.20"}, {"6171234.30", "2310456.30"}},
         Crossing{{0, 2}},
         Orientation::None,
         "0.00"},
        {"points in a line written in powers of ten",
         {{"1e-25", "1e-25"},
          {"2.0000000000000000000000000e-25", "2e-25"},
          {"0.0000000000000000000000003", "3e-25"}},
         Crossing{{0, 2}},
         Orientation::None,
         "0.00"},
        {"corners beyond 64 bits (the slower exact path)",
         {{"0", "0"}, {"1e20", "0"}, {"0", "100000000000000000000.000"}},
         std::nullopt,
         Orientation::Clockwise,
         "5000000000000000000000000000000000000000.00"},
        {"a corner exactly on a side 10 km long",
         {{"6171234.12", "2310456.31"},
          {"6181234.12", "2320456.33"},
          {"6181234.12", "2310456.31"},
          {"6176234.12", "2315456.32"}},
         Crossing{{0, 2}},
         Orientation::CounterClockwise,
         nullptr},
        {"the same corner a millimetre off the side",
         {{"6171234.12", "2310456.31"},
          {"6181234.12", "2320456.33"},
          {"6181234.12", "2310456.31"},
          {"6176234.121", "2315456.32"}},
         std::nullopt,
         Orientation::CounterClockwise,
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<BoundaryPoint> points = pointsOf(c.xy);
        const Parcel parcel = describeParcel(points);
        EXPECT_EQ(parcel.crossing, c.crossing);
        EXPECT_EQ(parcel.orientation, c.orientation);
        EXPECT_EQ(parcel.exactArea.fixed(2, '.'), c.area ? c.area : exactAreaText(points, 2));
    }
}

// Figures spanning 10^7 m, and a comb of 99,998 teeth millimetres apart:
// the area to the last digit, and the double nearest it.
TEST(ParcelTest, LargeFiguresHaveTheirExactAreaToTheLastDigit) {
    std::vector<BoundaryPoint> comb;
    comb.push_back({"a", "0.001", "0"});
    for (int i = 0; i < 49'999; ++i) {
        const std::string y = std::to_string(2 * i + 1) + ".00" + std::to_string(1 + i % 9);
        comb.push_back({"t", "10000000.003", y});
        comb.push_back(
            {"b", "0.00" + std::to_string(1 + i % 9), std::to_string(2 * i + 2) + ".005"});
    }
    const std::vector<std::vector<BoundaryPoint>> figures = {
        pointsOf({{"0.001", "0.003"},
                  {"10000000.007", "0.001"},
                  {"9999999.999", "9999999.998"},
                  {"0.002", "10000000.009"}}),
        pointsOf({{"-5000000.123", "-5000000.456"},
                  {"5000000.789", "-4999999.111"},
                  {"4999999.321", "5000000.654"}}),
        comb,
    };
    for (const auto& points : figures) {
        const Parcel parcel = describeParcel(points);
        const std::string exact6 = exactAreaText(points, 6);
        EXPECT_EQ(parcel.exactArea.fixed(2, '.'), exactAreaText(points, 2));
        EXPECT_EQ(parcel.exactArea.fixed(6, '.'), exact6);
        double nearest = 0;
        std::from_chars(exact6.data(), exact6.data() + exact6.size(),
                        nearest);  // exact6 has every digit there is
        EXPECT_EQ(parcel.area, nearest);
    }
}

// Random figures of survey coordinates with two decimals near 6171234.12 /
// 2310456.31, where corners are put exactly on other sides and spikes run
// out and back: the crossing named is the first that every pair of sides,
// compared in whole centimetres, finds; the orientation is the sign of the
// exact area.
TEST(ParcelTest, RandomDecimalFiguresAreDecidedAsEveryPairDecidesThem) {
    std::mt19937 random(19);
    std::uniform_int_distribution<int> step(-300, 300), count(4, 8), choice(0, 3);
    const long long baseX = 617123412, baseY = 231045631;  // in cm
    auto text = [](long long cm) {
        return std::to_string(cm / 100) + "." + (cm % 100 < 10 ? "0" : "") +
               std::to_string(cm % 100);
    };
    int touching = 0;
    for (int figure = 0; figure < 3000; ++figure) {
        std::vector<SmallGridPoint> cm;
        const int n = count(random);
        while (int(cm.size()) < n) {
            SmallGridPoint p{baseX + step(random), baseY + step(random)};
            if (cm.size() >= 2 && choice(random) == 0) {  // on a side already drawn, exactly
                const SmallGridPoint& a = cm[cm.size() - 2];
                const SmallGridPoint& b = cm[cm.size() - 1];
                if ((a.x + b.x) % 2 == 0 && (a.y + b.y) % 2 == 0)
                    p = {(a.x + b.x) / 2, (a.y + b.y) / 2};
            }
            if (cm.size() >= 2 && choice(random) == 1)
                p = cm[cm.size() - 2];  // back along the last side: a spike
            if (!cm.empty() && cm.back().x == p.x && cm.back().y == p.y) continue;
            cm.push_back(p);
        }
        if (cm.back().x == cm[0].x && cm.back().y == cm[0].y) continue;
        std::vector<BoundaryPoint> points;
        for (const SmallGridPoint& p : cm) points.push_back({"p", text(p.x), text(p.y)});
        Int128 twice = 0;
        for (std::size_t i = 0; i < cm.size(); ++i) {
            const SmallGridPoint& a = cm[i];
            const SmallGridPoint& b = cm[(i + 1) % cm.size()];
            twice += Int128(a.y - baseY) * (b.x - baseX) - Int128(b.y - baseY) * (a.x - baseX);
        }
        const Parcel parcel = describeParcel(points);
        const every_pair::Pair expected = every_pair::firstByEveryPair(cm);
        ASSERT_EQ(parcel.crossing, expected) << "figure " << figure;
        ASSERT_EQ(parcel.orientation, twice > 0   ? Orientation::CounterClockwise
                                      : twice < 0 ? Orientation::Clockwise
                                                  : Orientation::None)
            << "figure " << figure;
        touching += expected.has_value();
    }
    EXPECT_GT(touching, 500);
}

TEST(ParcelTest, Failures) {
    EXPECT_ERROR(describeParcel(pointsOf({{"0", "0"}, {"1", "1"}})),
                 "A parcel needs at least three points, got 2");
    EXPECT_ERROR(describeParcel(pointsOf({{"0", "0"}, {"1", "x"}, {"2", "2"}})),
                 "Point 2 (P2), Y: 'x' is not a valid floating point value");
    EXPECT_ERROR(describeParcel(pointsOf({{"0", "0"}, {"5", "5"}, {"5", "5"}, {"9", "0"}})),
                 "Points 2 (P2) and 3 (P3) are one point: the side between them has no direction");
    EXPECT_ERROR(describeParcel(pointsOf({{"0", "0"}, {"1e300", "0"}, {"0", "1e300"}})),
                 "The area is larger than any number the outputs can carry");
    EXPECT_ERROR(describeParcel(pointsOf({{"0", "0"}, {"1e400", "0"}, {"0", "1"}})),
                 "The side from point 1 (P1) to point 2 (P2): Floating point overflow");
}

}  // namespace
}  // namespace geocalc
