#include "calc/side.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

#include "core/error.h"
#include "numtext/decimal_reader.h"
#include "numtext/extended_rounding.h"
#include "numtext/format_settings.h"
#include "numtext/number_writer.h"
#include "numtext/x87_state.h"

namespace geocalc {

namespace {

// 180/pi to the nearest 64-bit significand (0x4004 E52EE0D31E0FBDC3).
constexpr long double kDegreesPerRadian = 57.29577951308232087665L;

// Turns the faults the x87 unit flagged since the last check into the
// failure the user sees. Every step below is checked as soon as its value is
// settled, so the first fault in the order of the steps is the one reported.
void checkFaults() {
    const std::uint16_t raised = x87::raisedFlags();
    if (raised & x87::kInvalid) throw Error("Invalid floating point operation");
    if (raised & x87::kZeroDivide) throw Error("Floating point division by zero");
    if (raised & x87::kOverflow) throw Error("Floating point overflow");
}

double difference(SideSource& source, Coordinate end, Coordinate start) {
    const long double e = readDecimal(source.fetch(end));
    const long double s = readDecimal(source.fetch(start));
    const double delta = x87::settled(static_cast<double>(e - s));
    checkFaults();
    return delta;
}

// The arctangent of a finite quotient and the turns that follow cannot fault.
double directionAngle(long double q, double dx, double dy) {
    double a = x87::settled(static_cast<double>(std::atan(q) * kDegreesPerRadian));
    if (!(dx >= 0)) a = x87::settled(static_cast<double>(180.0L + a));
    if (!(dy >= 0) && dx > 0) a = x87::settled(static_cast<double>(360.0L + a));
    return a;
}

// Whole degrees (0 to 359) and minutes (0 to 59) are whole numbers far below
// 10^15, whose general form is just their digits; they are kept as ints.
struct Angle {
    int degrees;
    int minutes;
    NumberText seconds;
};

// Minutes and seconds are derived from the angle independently; a seconds
// text rounded up to 60.0 is carried so that no 60 ever shows.
Angle splitAngle(long double a) {
    Angle angle;
    const double degrees = static_cast<double>(truncateToWhole(a));
    const long double minutes = (a - degrees) * 60.0L;
    const long double wholeMinutes = truncateToWhole(minutes);
    angle.degrees = static_cast<int>(degrees);
    // Whole and not negative: stored as it is, without the switch of the
    // x87 rounding mode a conversion to int would make.
    angle.minutes = static_cast<int>(wholeToUint64(wholeMinutes));
    angle.seconds = writeFixed(static_cast<double>((minutes - wholeMinutes) * 60.0L));
    const char sixty[] = {'6', '0', numberFormat().decimalSeparator, '0'};
    if (angle.seconds.view() == std::string_view(sixty, sizeof sixty)) {
        angle.seconds = writeFixed(0.0L);
        if (++angle.minutes == 60) {
            angle.minutes = 0;
            ++angle.degrees;
        }
    }
    if (angle.degrees >= 360) angle.degrees -= 360;
    return angle;
}

struct SideValues {
    Angle angle;
    double length;
};

// The length and the quotient dY / dX of a side, not yet checked for faults.
struct Measures {
    double length;
    long double quotient;
    bool alongY;
};

Measures measuresOf(double dx, double dy) {
    const long double squares =
        static_cast<long double>(dx) * dx + static_cast<long double>(dy) * dy;
    const double length = x87::settled(static_cast<double>(std::sqrt(squares)));
    // A side along the Y axis has no quotient but a plain direction; equal
    // points still divide 0 by 0 and fail, as a side of no length has none.
    const bool alongY = dx == 0 && dy != 0;
    const long double q = alongY ? 0.0L : x87::settled(static_cast<long double>(dy) / dx);
    return {length, q, alongY};
}

SideValues sideOf(const Measures& m, double dx, double dy) {
    const double direction =
        m.alongY ? (dy > 0 ? 90.0 : 270.0) : directionAngle(m.quotient, dx, dy);
    return {splitAngle(direction), m.length};
}

// The usual way: the four texts read and the side measured with one test of
// the fault flags. Any failure (a fetch or a text that fails, a fault) sends
// the side the checked way below, which reports the first one in order.
bool sideValuesAtOnce(SideSource& source, SideValues& values) {
    const char separator = numberFormat().decimalSeparator;
    long double c[4];
    try {
        for (const Coordinate which :
             {Coordinate::XEnd, Coordinate::XStart, Coordinate::YEnd, Coordinate::YStart}) {
            if (!readDecimalInScope(source.fetch(which), separator, c[int(which)])) return false;
        }
    } catch (const std::exception&) {
        return false;
    }
    const double dx = x87::settled(static_cast<double>(c[0] - c[1]));
    const double dy = x87::settled(static_cast<double>(c[2] - c[3]));
    const Measures m = measuresOf(dx, dy);
    if ((x87::raisedFlags() & x87::kFaults) != 0) {
        x87::clearFlags();
        return false;
    }
    values = sideOf(m, dx, dy);
    return true;
}

// The checked way: every step's faults tested as soon as it is settled.
// Runs under the caller's x87::Scope, which also covers the writing.
SideValues sideValues(SideSource& source) {
    SideValues values;
    if (sideValuesAtOnce(source, values)) return values;
    const double dx = difference(source, Coordinate::XEnd, Coordinate::XStart);
    const double dy = difference(source, Coordinate::YEnd, Coordinate::YStart);
    const Measures m = measuresOf(dx, dy);
    // One check serves the length and the quotient: the length overflows only
    // for a difference near the double range, where dX = 0 cannot also hold,
    // and 0/0 has the length 0. So the fault reported is the first one made.
    checkFaults();
    return sideOf(m, dx, dy);
}

// Writes D°M'S.s" at `out`; returns the end.
char* writeDirection(const Angle& angle, char* out) {
    out = std::to_chars(out, out + 8, angle.degrees).ptr;
    *out++ = kDegreeSign;
    out = std::to_chars(out, out + 8, angle.minutes).ptr;
    *out++ = '\'';
    out = std::copy(angle.seconds.view().begin(), angle.seconds.view().end(), out);
    *out++ = '"';
    return out;
}

class Texts final : public SideSource {
public:
    explicit Texts(std::array<std::string_view, 4> texts) : texts_(texts) {}
    std::string_view fetch(Coordinate which) override { return texts_[std::size_t(which)]; }

private:
    std::array<std::string_view, 4> texts_;
};

constexpr std::size_t kDirectionCapacity = NumberText::kCapacity + 24;

}  // namespace

static_assert(SideLineText::kCapacity >= kDirectionCapacity + NumberText::kCapacity + 1);

SideLineText sideLineText(SideSource& source) {
    x87::Scope scope;
    const SideValues side = sideValues(source);
    const NumberText lengthText = writeFixed(side.length);
    SideLineText line;
    char* end = writeDirection(side.angle, line.data());
    *end++ = ' ';
    end = std::copy(lengthText.view().begin(), lengthText.view().end(), end);
    line.resize(int(end - line.data()));
    return line;
}

SideLineText sideLineText(std::string_view xEnd, std::string_view xStart, std::string_view yEnd,
                          std::string_view yStart) {
    Texts texts({xEnd, xStart, yEnd, yStart});
    return sideLineText(texts);
}

std::string computeSide(SideSource& source) { return std::string(sideLineText(source).view()); }

SideMeasure measureSide(std::string_view xEnd, std::string_view xStart, std::string_view yEnd,
                        std::string_view yStart) {
    x87::Scope scope;
    Texts texts({xEnd, xStart, yEnd, yStart});
    const SideValues side = sideValues(texts);
    char direction[kDirectionCapacity];
    return {std::string(direction, writeDirection(side.angle, direction)), side.length};
}

std::string computeSide(std::string_view xEnd, std::string_view xStart, std::string_view yEnd,
                        std::string_view yStart) {
    return std::string(sideLineText(xEnd, xStart, yEnd, yStart).view());
}

}  // namespace geocalc
