#include "table/gsi_points.h"

#include <algorithm>
#include <optional>

#include "core/error.h"

namespace geocalc {

namespace {

constexpr std::size_t kHeadLength = 7;  // word index, further information, sign
constexpr std::size_t kGsi8Data = 8, kGsi16Data = 16;
enum WordIndex { kPointNumber = 11, kEasting = 81, kNorthing = 82, kHeight = 83 };

bool isDigit(char c) { return c >= '0' && c <= '9'; }

struct Word {
    int index;
    char unit;
    bool negative;
    std::string_view data;
};

// The word at `at`, or nothing where the text there is no word.
std::optional<Word> wordAt(std::string_view line, std::size_t at, std::size_t dataLength) {
    const std::size_t end = at + kHeadLength + dataLength;
    if (end > line.size() || (end < line.size() && line[end] != ' ')) return std::nullopt;
    const std::string_view word = line.substr(at, end - at);
    const std::string_view info = word.substr(2, 4);
    if (!isDigit(word[0]) || !isDigit(word[1]) || (word[6] != '+' && word[6] != '-') ||
        !std::all_of(info.begin(), info.end(), [](char c) { return isDigit(c) || c == '.'; }))
        return std::nullopt;
    return Word{(word[0] - '0') * 10 + (word[1] - '0'), info[3], word[6] == '-',
                word.substr(kHeadLength)};
}

// Where a block's words begin and how long their data are.
std::pair<std::size_t, std::size_t> blockLayout(std::string_view line) {
    return line.starts_with('*') ? std::pair{std::size_t(1), kGsi16Data}
                                 : std::pair{std::size_t(0), kGsi8Data};
}

std::string_view withoutLeadingZeros(std::string_view digits) {
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string_view::npos ? digits.substr(digits.size() - 1)
                                           : digits.substr(first);
}

std::string wordName(int index) { return std::string("word ").append(std::to_string(index)); }

// A coordinate word's value in metres, as a decimal.
std::string metresOf(std::size_t number, const Word& word) {
    std::size_t decimals = 0;
    switch (word.unit) {
        case '0':
            decimals = 3;
            break;
        case '6':
            decimals = 4;
            break;
        case '8':
            decimals = 5;
            break;
        case '1':
        case '7':
            failAtLine(number,
                       wordName(word.index).append(" is in feet; coordinates are read in metres"));
        default:
            failAtLine(number, wordName(word.index)
                                   .append(" gives no length unit ('")
                                   .append(1, word.unit)
                                   .append("')"));
    }
    if (!std::all_of(word.data.begin(), word.data.end(), isDigit)) {
        failAtLine(number, wordName(word.index)
                               .append("'s value '")
                               .append(word.data)
                               .append("' is not a number"));
    }
    const std::string_view whole =
        withoutLeadingZeros(word.data.substr(0, word.data.size() - decimals));
    const std::string_view fraction = word.data.substr(word.data.size() - decimals);
    const bool zero = word.data.find_first_not_of('0') == std::string_view::npos;
    std::string metres = word.negative && !zero ? "-" : "";
    return metres.append(whole).append(".").append(fraction);
}

}  // namespace

bool startsWithGsiWord(std::string_view line) {
    const auto [start, dataLength] = blockLayout(line);
    return wordAt(line, start, dataLength).has_value();
}

GsiPoints::GsiPoints(TextLines lines) : lines_(std::move(lines)) {
    std::array<std::string, 3> metres;
    PointRow row;
    lines_.forEach([&](std::size_t number, std::string_view line) {
        if (pointOf(number, line, metres, row)) tally(row, number);
    });
    finishShape("The file holds no coordinates (GSI words 81 and 82)");
    shape_.columns = {"NAME", "X", "Y"};
    if (shape_.widths[3] > 0) shape_.columns.push_back("H");
    shape_.widths.resize(shape_.columns.size());
}

bool GsiPoints::pointOf(std::size_t number, std::string_view line,
                        std::array<std::string, 3>& metres, PointRow& row) const {
    const auto [start, dataLength] = blockLayout(line);
    std::optional<Word> name, easting, northing, height;
    for (std::size_t at = start; at < line.size(); at += kHeadLength + dataLength + 1) {
        const std::optional<Word> word = wordAt(line, at, dataLength);
        if (!word) {
            failAtLine(number,
                       std::string("no GSI word at character ").append(std::to_string(at + 1)));
        }
        if (word->index == kPointNumber) name = word;
        if (word->index == kEasting) easting = word;
        if (word->index == kNorthing) northing = word;
        if (word->index == kHeight) height = word;
    }
    if (!easting && !northing) return false;
    if (!easting || !northing)
        failAtLine(number, easting ? "the northing (word 82) is missing"
                                   : "the easting (word 81) is missing");
    if (!name) failAtLine(number, "the point number (word 11) is missing");
    metres[1] = metresOf(number, *easting);
    metres[0] = metresOf(number, *northing);
    metres[2] = height ? metresOf(number, *height) : std::string();
    row = {withoutLeadingZeros(name->data), metres[0], metres[1], metres[2]};
    return true;
}

void GsiPoints::forEachPoint(const std::function<void(const PointRow&)>& take) const {
    std::array<std::string, 3> metres;
    PointRow row;
    lines_.forEach([&](std::size_t number, std::string_view line) {
        if (!pointOf(number, line, metres, row)) return;
        row.resize(shape_.columns.size());
        take(row);
    });
}

}  // namespace geocalc
