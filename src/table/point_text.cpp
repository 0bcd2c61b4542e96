#include "table/point_text.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include "charset/ansi_case.h"
#include "core/error.h"

namespace geocalc {

namespace {

constexpr std::size_t kFieldNameLength = 10;

std::string quoted(std::string_view text) { return std::string("'").append(text).append("'"); }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The decimal mark a number writes ('.', ',', or 0 where it has none); nothing
// for a text that is no number: [+-]digits[mark digits].
std::optional<char> markOfNumber(std::string_view text) {
    std::size_t at = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    const std::size_t whole = at;
    while (at < text.size() && isDigit(text[at])) ++at;
    if (at == whole) return std::nullopt;
    if (at == text.size()) return char(0);
    const char mark = text[at];
    const std::size_t fraction = ++at;
    while (at < text.size() && isDigit(text[at])) ++at;
    if ((mark != '.' && mark != ',') || at == fraction || at != text.size()) return std::nullopt;
    return mark;
}

bool isDecimal(std::string_view text, char mark) {
    const std::optional<char> found = markOfNumber(text);
    return found && (*found == 0 || *found == mark);
}

// A quoted field from its opening quote at `at`, appended to `field` ("" inside
// is a quote); where the text after its closing quote begins.
std::size_t readQuoted(std::size_t number, std::string_view text, std::size_t at,
                       std::string& field) {
    for (++at;; ++at) {
        if (at >= text.size()) failAtLine(number, "a quoted field has no closing quote");
        if (text[at] != '"') {
            field += text[at];
        } else if (at + 1 < text.size() && text[at + 1] == '"') {
            field += '"';
            ++at;
        } else {
            return at + 1;
        }
    }
}

}  // namespace

// A line's fields: split at the separator (runs of blanks for ' '), a field
// that starts with '"' running to its closing quote. The fields are views of
// the line, or of `unquoted_` for a quoted one.
const std::vector<std::string_view>& LineSplitter::split(std::size_t number, std::string_view text,
                                                         char separator) {
    std::vector<std::string_view>& fields = fields_;
    fields.clear();
    if (!unquoted_.empty()) unquoted_.clear();
    if (separator != ' ') {  // the common case: no quotes, one pass
        std::size_t start = 0;
        for (std::size_t at = 0; at < text.size(); ++at) {
            if (text[at] == '"') break;
            if (text[at] != separator) continue;
            fields.push_back(trimmedBlanks(text.substr(start, at - start)));
            start = at + 1;
        }
        if (text.find('"', start) == std::string_view::npos) {
            fields.push_back(trimmedBlanks(text.substr(start)));
            return fields;
        }
        fields.clear();
    }
    const bool blanks = separator == ' ';
    auto ends = [&](char c) { return blanks ? isBlank(c) : c == separator; };
    auto skipBlanks = [&](std::size_t at) {
        while (at < text.size() && isBlank(text[at]) && separator != '\t') ++at;
        return at;
    };
    for (std::size_t at = 0; at <= text.size();) {
        at = skipBlanks(at);
        if (blanks && at == text.size()) break;
        std::size_t end = at;
        if (at < text.size() && text[at] == '"') {
            std::string& field = unquoted_.emplace_back();
            end = skipBlanks(readQuoted(number, text, at, field));
            if (end < text.size() && !ends(text[end]))
                failAtLine(number, "text follows a quoted field's closing quote");
            fields.push_back(field);
        } else {
            while (end < text.size() && !ends(text[end])) ++end;
            fields.push_back(trimmedBlanks(text.substr(at, end - at)));
        }
        if (end >= text.size()) break;
        at = end + 1;
    }
    return fields;
}

namespace {

std::string lowerCase(std::string_view text) {
    std::string lower;
    for (const char c : trimmedBlanks(text)) lower += ansiToLower(c);
    return lower;
}

// The heading's name for a column, or nothing.
enum class Role { Name, X, Y, Other };
Role roleOf(std::string_view heading) {
    static constexpr std::array<std::string_view, 4> kNames = {
        "name", "\xE8\xEC\xFF", "\xF2\xEE\xF7\xEA\xE0", "\xB9"};  // имя, точка, №
    static constexpr std::array<std::string_view, 3> kXs = {"x", "\xF1\xE5\xE2\xE5\xF0",
                                                            "n"};  // север
    static constexpr std::array<std::string_view, 3> kYs = {"y", "\xE2\xEE\xF1\xF2\xEE\xEA",
                                                            "e"};  // восток
    const std::string lower = lowerCase(heading);
    auto in = [&lower](const auto& names) {
        return std::find(names.begin(), names.end(), lower) != names.end();
    };
    return in(kNames) ? Role::Name : in(kXs) ? Role::X : in(kYs) ? Role::Y : Role::Other;
}

std::string defaultName(std::size_t other) {
    if (other == 0) return "H";
    if (other == 1) return "CODE";
    return std::string("F").append(std::to_string(other + 2));
}

// A dBASE field name from a heading's text: at most ten characters, blanks
// as "_", upper case; the default where that leaves nothing or a name taken.
std::string fieldNameOf(std::string_view heading, std::size_t other,
                        const std::vector<std::string>& taken) {
    std::string name;
    for (const char c : trimmedBlanks(heading).substr(0, kFieldNameLength)) {
        name += isBlank(c) ? '_' : (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
    }
    const bool used = name.empty() || std::find(taken.begin(), taken.end(), name) != taken.end();
    return used ? defaultName(other) : name;
}

}  // namespace

bool SeparatorTally::look(std::string_view line) {
    semicolon_ = line.find(';') != std::string_view::npos;
    if (semicolon_) return false;  // ";" wherever a line has one
    tabEverywhere_ = tabEverywhere_ && line.find('\t') != std::string_view::npos;
    if (line.find(',') == std::string_view::npos) {
        commaMarksEverywhere_ = false;
        return true;
    }
    comma_ = true;
    if (!commaMarksEverywhere_) return true;
    const std::vector<std::string_view>* fields = nullptr;
    try {
        fields = &splitter_.split(0, line, ' ');
    } catch (const Error&) {  // an unclosed quote: the line is read, and fails, later
        commaMarksEverywhere_ = false;
        return true;
    }
    commaMarksEverywhere_ =
        fields->size() >= 3 && std::any_of(fields->begin(), fields->end(), [](std::string_view f) {
            return f.find(',') != std::string::npos && isDecimal(f, ',');
        });
    return true;
}

char SeparatorTally::separator() const {
    if (semicolon_) return ';';
    if (tabEverywhere_) return '\t';
    if (!comma_) return ' ';
    return commaMarksEverywhere_ ? ' ' : ',';
}

PointText::PointText(TextLines lines, char separator)
    : lines_(std::move(lines)), separator_(separator) {
    LineSplitter splitter;
    PointRow row;
    bool first = true;
    std::size_t widest = 0;
    lines_.forEach([&](std::size_t number, std::string_view line) {
        const std::vector<std::string_view>& fields = splitter.split(number, line, separator_);
        widest = std::max(widest, fields.size());
        if (std::exchange(first, false) &&
            (fields.size() < 3 || !markOfNumber(fields[1]) || !markOfNumber(fields[2]))) {
            headed_ = true;
            readHeading(fields);
            return;
        }
        checkLine(number, fields);
        rowOf(fields, row);
        tally(row, number);
    });
    finishShape("The file holds no points");
    nameOtherColumns(widest);
}

void PointText::readHeading(const std::vector<std::string_view>& fields) {
    heading_.assign(fields.begin(), fields.end());
    std::optional<std::size_t> name, x, y;
    for (std::size_t c = 0; c < fields.size(); ++c) {
        const Role role = roleOf(fields[c]);
        if (role == Role::Name && !name) name = c;
        if (role == Role::X && !x) x = c;
        if (role == Role::Y && !y) y = c;
    }
    if (!x || !y) return;
    columns_.x = *x;
    columns_.y = *y;
    std::size_t firstOther = 0;  // the name where the heading does not say
    while (firstOther == *x || firstOther == *y) ++firstOther;
    columns_.name = name.value_or(firstOther);
}

void PointText::checkLine(std::size_t number, const std::vector<std::string_view>& fields) {
    for (const auto& [column, what] : {std::pair{columns_.name, "name"}, std::pair{columns_.x, "X"},
                                       std::pair{columns_.y, "Y"}}) {
        if (column >= fields.size())
            failAtLine(number, std::string("the ").append(what).append(" field is missing"));
    }
    for (std::size_t c = 0; c < fields.size(); ++c) {
        if (fields[c].size() <= kLongestPointName) continue;
        std::string what = c == columns_.name
                               ? std::string("the name")
                               : quoted(std::string(fields[c].substr(0, 20)).append("..."));
        failAtLine(number, what.append(" is longer than ")
                               .append(std::to_string(kLongestPointName))
                               .append(" characters"));
    }
    for (const std::size_t c : {columns_.x, columns_.y}) {
        const std::optional<char> found = markOfNumber(fields[c]);
        if (!found)
            failAtLine(number, quoted(fields[c]).append(" is not a valid floating point value"));
        if (*found == 0) continue;
        if (mark_ && mark_ != *found)
            failAtLine(number, "the file mixes \".\" and \",\" as decimal marks");
        mark_ = *found;
    }
}

bool PointText::stillFits(const std::vector<std::string_view>& fields) const {
    return fields.size() > std::max({columns_.name, columns_.x, columns_.y}) &&
           fields.size() <= shape_.columns.size();
}

void PointText::rowOf(const std::vector<std::string_view>& fields, PointRow& row) const {
    // Every column but the name, X and Y follows them in the file's order; a
    // line short of the widest has empty texts there.
    const std::size_t count = std::max(fields.size(), shape_.columns.size());
    row.resize(std::max<std::size_t>(count, 3));
    row[0] = fields[columns_.name];
    row[1] = fields[columns_.x];
    row[2] = fields[columns_.y];
    std::size_t at = 3;
    for (std::size_t c = 0; c < count; ++c) {
        if (c == columns_.name || c == columns_.x || c == columns_.y) continue;
        row[at++] = c < fields.size() ? fields[c] : std::string_view();
    }
}

void PointText::nameOtherColumns(std::size_t count) {
    shape_.columns = {"NAME", "X", "Y"};
    for (std::size_t c = 0; c < count; ++c) {
        if (c == columns_.name || c == columns_.x || c == columns_.y) continue;
        const std::size_t other = shape_.columns.size() - 3;
        shape_.columns.push_back(c < heading_.size()
                                     ? fieldNameOf(heading_[c], other, shape_.columns)
                                     : defaultName(other));
    }
    shape_.widths.resize(shape_.columns.size());
}

void PointText::forEachPoint(const std::function<void(const PointRow&)>& take) const {
    LineSplitter splitter;
    PointRow row;
    bool first = headed_;
    lines_.forEach([&](std::size_t number, std::string_view line) {
        if (std::exchange(first, false)) return;
        const std::vector<std::string_view>& fields = splitter.split(number, line, separator_);
        if (!stillFits(fields)) throw Error("The file changed while it was read");
        rowOf(fields, row);
        take(row);
    });
}

}  // namespace geocalc
