#include "table/point_text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "charset/ansi_case.h"
#include "charset/code_page.h"
#include "core/error.h"

namespace geocalc {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr unsigned char kNoWindows1251Character = 0x98;
constexpr std::size_t kMostPoints = 2147483646;
constexpr std::size_t kFieldNameLength = 10;

struct Line {
    std::size_t number;
    std::string text;  // Windows-1251
};

[[noreturn]] void failAt(std::size_t line, const std::string& what) {
    std::string message = "Line ";
    throw Error(message.append(std::to_string(line)).append(": ").append(what));
}

std::string quoted(std::string_view text) { return std::string("'").append(text).append("'"); }

bool isUtf8(std::string_view bytes) {
    for (std::size_t pos = 0; pos < bytes.size();) {
        if (decodeUtf8(bytes, pos) == kUnknownCharacter) return false;
    }
    return true;
}

// "U+1F600".
std::string codePointOf(char32_t c) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text = "U+";
    for (int shift = c > 0xFFFF ? 16 : 12; shift >= 0; shift -= 4) text += kHex[(c >> shift) & 0xF];
    return text;
}

std::string windows1251Of(std::string_view text, bool utf8, std::size_t number) {
    if (text.find('\0') != std::string_view::npos) failAt(number, "a NUL byte is no text");
    if (!utf8) {
        if (text.find(char(kNoWindows1251Character)) != std::string_view::npos)
            failAt(number, "the text is neither UTF-8 nor Windows-1251");
        return std::string(text);
    }
    std::string ansi;
    for (std::size_t pos = 0; pos < text.size();) {
        const char32_t c = decodeUtf8(text, pos);
        const int byte = c < 0x80 ? int(c) : ansiCodePage().fromUnicode(c);
        if (byte < 0)
            failAt(number,
                   std::string("a character Windows-1251 lacks (").append(codePointOf(c)) + ")");
        ansi += char(byte);
    }
    return ansi;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// The lines that hold points (or the heading), in Windows-1251.
std::vector<Line> pointLines(std::string_view bytes) {
    const bool marked = bytes.starts_with(kByteOrderMark);
    if (marked) bytes.remove_prefix(kByteOrderMark.size());
    const bool utf8 = marked || isUtf8(bytes);
    std::vector<Line> lines;
    std::size_t number = 0;
    for (std::size_t start = 0; start < bytes.size();) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = bytes.size();
        ++number;
        const std::string_view text = trimmed(bytes.substr(start, end - start));
        if (!text.empty() && text.front() != '#')
            lines.push_back({number, windows1251Of(text, utf8, number)});
        start = end + (bytes.substr(end, 2) == "\r\n" ? 2 : 1);
    }
    return lines;
}

// [+-]digits[mark digits]
bool isDecimal(std::string_view text, char mark) {
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
    const std::size_t at = text.find(mark);
    const std::string_view whole = text.substr(0, at);
    const std::string_view fraction =
        at == std::string_view::npos ? std::string_view() : text.substr(at + 1);
    auto digits = [](std::string_view part) {
        return !part.empty() &&
               std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    return digits(whole) && (at == std::string_view::npos || digits(fraction));
}

bool isNumber(std::string_view text) { return isDecimal(text, '.') || isDecimal(text, ','); }

// A quoted field from its opening quote at `at`: its text ("" inside is a
// quote) and where the text after its closing quote begins.
std::pair<std::string, std::size_t> quotedField(const Line& line, std::size_t at) {
    const std::string_view text = line.text;
    std::string field;
    for (++at;; ++at) {
        if (at >= text.size()) failAt(line.number, "a quoted field has no closing quote");
        if (text[at] != '"') {
            field += text[at];
        } else if (at + 1 < text.size() && text[at + 1] == '"') {
            field += '"';
            ++at;
        } else {
            return {field, at + 1};
        }
    }
}

// A line's fields: split at the separator (runs of blanks for ' '), a field
// that starts with '"' running to its closing quote.
std::vector<std::string> fieldsOf(const Line& line, char separator) {
    const std::string_view text = line.text;
    const bool blanks = separator == ' ';
    auto ends = [&](char c) { return blanks ? isBlank(c) : c == separator; };
    auto skipBlanks = [&](std::size_t at) {
        while (at < text.size() && isBlank(text[at]) && separator != '\t') ++at;
        return at;
    };
    std::vector<std::string> fields;
    for (std::size_t at = 0; at <= text.size();) {
        at = skipBlanks(at);
        if (blanks && at == text.size()) break;
        std::size_t end = at;
        if (at < text.size() && text[at] == '"') {
            auto [field, after] = quotedField(line, at);
            end = skipBlanks(after);
            if (end < text.size() && !ends(text[end]))
                failAt(line.number, "text follows a quoted field's closing quote");
            fields.push_back(std::move(field));
        } else {
            while (end < text.size() && !ends(text[end])) ++end;
            fields.emplace_back(trimmed(text.substr(at, end - at)));
        }
        if (end >= text.size()) break;
        at = end + 1;
    }
    return fields;
}

// ";" where a line has one, a tab where every line has one (tabs among
// blanks are blanks); else "," unless every line splits at blanks into three
// fields or more with "," as a decimal mark; else blanks.
char separatorOf(const std::vector<Line>& lines) {
    auto has = [](char c) {
        return [c](const Line& l) { return l.text.find(c) != std::string::npos; };
    };
    if (std::any_of(lines.begin(), lines.end(), has(';'))) return ';';
    if (std::all_of(lines.begin(), lines.end(), has('\t'))) return '\t';
    if (std::none_of(lines.begin(), lines.end(), has(','))) return ' ';
    const bool commaIsMark = std::all_of(lines.begin(), lines.end(), [](const Line& l) {
        const std::vector<std::string> fields = fieldsOf(l, ' ');
        return fields.size() >= 3 &&
               std::any_of(fields.begin(), fields.end(), [](const std::string& f) {
                   return f.find(',') != std::string::npos && isDecimal(f, ',');
               });
    });
    return commaIsMark ? ' ' : ',';
}

std::string lowerCase(std::string_view text) {
    std::string lower;
    for (const char c : trimmed(text)) lower += ansiToLower(c);
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

struct Columns {
    std::size_t name = 0, x = 1, y = 2;
    std::vector<std::size_t> others;
    std::vector<std::string> otherNames;
};

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
    for (const char c : trimmed(heading).substr(0, kFieldNameLength)) {
        name += isBlank(c) ? '_' : (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
    }
    const bool used = name.empty() || std::find(taken.begin(), taken.end(), name) != taken.end();
    return used ? defaultName(other) : name;
}

Columns columnsOf(const std::vector<std::string>* heading, std::size_t count) {
    Columns columns;
    if (heading) {
        std::optional<std::size_t> name, x, y;
        for (std::size_t c = 0; c < heading->size(); ++c) {
            const Role role = roleOf((*heading)[c]);
            if (role == Role::Name && !name) name = c;
            if (role == Role::X && !x) x = c;
            if (role == Role::Y && !y) y = c;
        }
        if (x && y) {
            columns.x = *x;
            columns.y = *y;
            std::size_t firstOther = 0;  // the name where the heading does not say
            while (firstOther == *x || firstOther == *y) ++firstOther;
            columns.name = name.value_or(firstOther);
        }
    }
    std::vector<std::string> taken = {"NAME", "X", "Y"};
    for (std::size_t c = 0; c < count; ++c) {
        if (c == columns.name || c == columns.x || c == columns.y) continue;
        columns.others.push_back(c);
        const std::size_t other = columns.otherNames.size();
        std::string field = heading && c < heading->size()
                                ? fieldNameOf((*heading)[c], other, taken)
                                : defaultName(other);
        taken.push_back(field);
        columns.otherNames.push_back(std::move(field));
    }
    return columns;
}

// The file's decimal mark; a file that uses both fails at the line where
// the second appears.
char decimalMarkOf(const std::vector<std::pair<std::size_t, std::string>>& coordinates) {
    std::optional<char> mark;
    for (const auto& [line, text] : coordinates) {
        const bool dot = text.find('.') != std::string::npos,
                   comma = text.find(',') != std::string::npos;
        if (!dot && !comma) continue;
        const char found = dot ? '.' : ',';
        if ((dot && comma) || (mark && *mark != found))
            failAt(line, "the file mixes \".\" and \",\" as decimal marks");
        mark = found;
    }
    return mark.value_or('.');
}

}  // namespace

PointTextTable readPointText(std::string_view bytes) {
    const std::vector<Line> lines = pointLines(bytes);
    if (lines.empty()) throw Error("The file holds no points");
    const char separator = separatorOf(lines);
    std::vector<std::vector<std::string>> split;
    split.reserve(lines.size());
    for (const Line& line : lines) split.push_back(fieldsOf(line, separator));

    const std::vector<std::string>& first = split.front();
    const bool headed = first.size() < 3 || !isNumber(first[1]) || !isNumber(first[2]);
    std::size_t widest = 0;
    for (const auto& fields : split) widest = std::max(widest, fields.size());
    const Columns columns = columnsOf(headed ? &first : nullptr, widest);

    std::vector<std::pair<std::size_t, std::string>> coordinates;
    PointTextTable table;
    table.columns = {"NAME", "X", "Y"};
    table.columns.insert(table.columns.end(), columns.otherNames.begin(), columns.otherNames.end());
    for (std::size_t i = headed ? 1 : 0; i < split.size(); ++i) {
        const std::size_t number = lines[i].number;
        const std::vector<std::string>& fields = split[i];
        for (const auto& [column, what] : {std::pair{columns.name, "name"},
                                           std::pair{columns.x, "X"}, std::pair{columns.y, "Y"}}) {
            if (column >= fields.size())
                failAt(number, std::string("the ") + what + " field is missing");
        }
        for (std::size_t c = 0; c < fields.size(); ++c) {
            if (fields[c].size() > kLongestPointName) {
                std::string what =
                    c == columns.name ? "the name" : quoted(fields[c].substr(0, 20) + "...");
                what.append(" is longer than ")
                    .append(std::to_string(kLongestPointName))
                    .append(" characters");
                failAt(number, what);
            }
        }
        if (table.rows.size() == kMostPoints)
            failAt(number,
                   std::string("more than ").append(std::to_string(kMostPoints)).append(" points"));
        std::vector<std::string> row = {fields[columns.name], fields[columns.x], fields[columns.y]};
        for (const std::size_t other : columns.others)
            row.push_back(other < fields.size() ? fields[other] : "");
        coordinates.emplace_back(number, row[1]);
        coordinates.emplace_back(number, row[2]);
        table.rows.push_back(std::move(row));
    }
    if (table.rows.empty()) throw Error("The file holds no points");
    const char mark = decimalMarkOf(coordinates);
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        for (const std::size_t at : {std::size_t(1), std::size_t(2)}) {
            std::string& text = table.rows[i][at];
            if (!isDecimal(text, mark))
                failAt(coordinates[2 * i].first,
                       quoted(text).append(" is not a valid floating point value"));
            std::replace(text.begin(), text.end(), ',', '.');
            if (text.front() == '+') text.erase(0, 1);
        }
    }
    return table;
}

}  // namespace geocalc
