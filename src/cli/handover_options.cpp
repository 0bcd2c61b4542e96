#include "cli/handover_options.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <ctime>

#include "charset/code_page.h"
#include "cli/cli_io.h"
#include "core/local_date.h"

namespace geocalc::cli {

namespace {

constexpr int kMostDecimals = 9;

// Texts go into every document as given: they must be text.
const std::string& wellFormed(std::string_view option, const std::string& utf8) {
    bool text = utf8.find_first_of("\r\n") == std::string::npos;
    for (std::size_t pos = 0; text && pos < utf8.size();) text = decodeUtf8(utf8, pos) != 0xFFFD;
    if (!text) throw UsageError{std::string(option) + " takes one line of UTF-8 text"};
    return utf8;
}

int decimalsOf(const std::string& text) {
    int decimals = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), decimals);
    if (error != std::errc() || end != text.data() + text.size() || decimals < 0 ||
        decimals > kMostDecimals) {
        throw UsageError{"--decimals takes a whole number from 0 to " +
                         std::to_string(kMostDecimals)};
    }
    return decimals;
}

// Metres, with "." or ",": a command line is typed in any locale.
double metresOf(std::string text) {
    std::replace(text.begin(), text.end(), ',', '.');
    double metres = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), metres);
    if (error != std::errc() || end != text.data() + text.size() || !(metres > 0) ||
        !std::isfinite(metres)) {
        throw UsageError{
            "--mt takes the points' mean square error in metres, a number above 0 (0.1)"};
    }
    return metres;
}

// YYYY-MM-DD, a day the calendar has.
const std::string& dateOf(const std::string& text) {
    int year = 0;
    unsigned month = 0, day = 0;
    const char* p = text.data();
    const char* end = p + text.size();
    auto number = [&](auto& value, std::size_t digits) {
        const char* start = p;
        const auto result = std::from_chars(p, end, value);
        p = result.ptr;
        return result.ec == std::errc() && std::size_t(p - start) == digits;
    };
    auto dash = [&] { return p != end && *p++ == '-'; };
    const bool read =
        number(year, 4) && dash() && number(month, 2) && dash() && number(day, 2) && p == end;
    if (!read || !std::chrono::year_month_day(std::chrono::year(year), std::chrono::month(month),
                                              std::chrono::day(day))
                      .ok()) {
        throw UsageError{"--date takes a day as YYYY-MM-DD (2026-12-10)"};
    }
    return text;
}

std::string today() {
    const std::tm local = localDate(std::time(nullptr));
    char text[16];
    return std::string(text, std::strftime(text, sizeof text, "%Y-%m-%d", &local));
}

// The decimals a number is written with ("0,10": 2); -1 where an exponent
// says more than its digits.
int writtenDecimals(const std::string& text) {
    if (text.find_first_of("eE") != std::string::npos) return -1;
    const std::size_t separator = text.find_first_of(".,");
    return separator == std::string::npos ? 0 : int(text.size() - separator - 1);
}

}  // namespace

void setHandoverOption(Handover& handover, std::string_view option, const std::string& value) {
    if (option == "--decimals") {
        handover.decimals = decimalsOf(value);
    } else if (option == "--mt") {
        handover.mt = metresOf(value);
        handover.mtDecimals = writtenDecimals(value);
    } else if (option == "--title") {
        handover.title.push_back(wellFormed(option, value));
    } else if (option == "--surveyor") {
        handover.surveyor = wellFormed(option, value);
    } else if (option == "--date") {
        handover.date = dateOf(value);
    } else if (option == "--crs") {
        handover.crs = wellFormed(option, value);
    }
}

void completeHandover(Handover& handover) {
    handover.language = userLanguage();
    if (handover.date.empty()) handover.date = today();
}

}  // namespace geocalc::cli
