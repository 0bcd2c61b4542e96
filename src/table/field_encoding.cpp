#include "table/field_encoding.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "core/error.h"
#include "numtext/decimal_reader.h"
#include "numtext/format_settings.h"
#include "numtext/number_writer.h"
#include "table/field_text.h"

namespace geocalc {

namespace {

constexpr int kMaxIntegerDigits = 18;

std::string quoted(std::string_view text, const DbfField& field, const char* what) {
    return "'" + std::string(text) + "' is not a valid " + what + " for field '" + field.name + "'";
}

void store(const DbfField& field, std::string_view bytes, std::string& record) {
    std::string padded(std::size_t(field.length), ' ');
    std::copy_n(bytes.begin(), std::min(bytes.size(), padded.size()), padded.begin());
    record.replace(std::size_t(field.offset), std::size_t(field.length), padded);
}

[[noreturn]] void throwDoesNotFit(const DbfField& field, std::string_view typed) {
    throw Error("'" + std::string(typed) + "' is not a valid value for field '" + field.name +
                "'. It does not fit in " + std::to_string(field.length) + " characters");
}

void encodeString(const DbfField& field, const TableCharset& charset, std::string_view text,
                  std::string& record) {
    if (const std::optional<char> lacked = charset.firstLacked(text)) {
        throw Error("The character '" + std::string(1, *lacked) + "' cannot be stored in field '" +
                    field.name + "': the table's code page " + charset.name() + " lacks it");
    }
    const std::string stored = charset.fromAnsi(text);
    if (stored.size() > std::size_t(field.length)) throwDoesNotFit(field, text);
    store(field, stored, record);
}

void storeRightAligned(const DbfField& field, std::string_view text, std::string_view typed,
                       std::string& record) {
    if (int(text.size()) > field.length) throwDoesNotFit(field, typed);
    std::string padded(std::size_t(field.length) - text.size(), ' ');
    padded += text;
    store(field, padded, record);
}

bool isInteger(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return false;
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    if (text[0] == '-' || text[0] == '+') text.remove_prefix(1);
    return !text.empty() && text.size() <= kMaxIntegerDigits &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void encodeNumber(const DbfField& field, std::string_view text, std::string& record) {
    if (field.kind == FieldKind::Integer) {
        if (!isInteger(text)) throw Error(quoted(text, field, "integer value"));
    }
    long double value;
    try {
        value = readDecimal(text);
    } catch (const Error&) {
        throw Error(quoted(text, field, "floating point value"));
    }
    // Stored texts always use ".", whatever the user's separator.
    NumberText written = writeNumber(value, NumberForm::Fixed, 18, field.decimals);
    std::string stored(written.view());
    std::replace(stored.begin(), stored.end(), numberFormat().decimalSeparator, '.');
    if (stored.find_first_of("EIN") != std::string::npos) throwDoesNotFit(field, text);
    storeRightAligned(field, stored, text, record);
}

void encodeLogical(const DbfField& field, std::string_view text, std::string& record) {
    std::string upper(text);
    for (char& c : upper) c = char(std::toupper(static_cast<unsigned char>(c)));
    if (upper == "TRUE" || upper == "T" || upper == "Y" || upper == "YES")
        return store(field, "T", record);
    if (upper == "FALSE" || upper == "F" || upper == "N" || upper == "NO")
        return store(field, "F", record);
    throw Error(quoted(text, field, "boolean value"));
}

// Reads day, month and year in the order of the user's short date format.
void encodeDate(const DbfField& field, std::string_view text, std::string& record) {
    std::vector<int> numbers;
    std::vector<int> widths;
    for (std::size_t i = 0; i < text.size();) {
        if (std::isdigit(static_cast<unsigned char>(text[i]))) {
            int value = 0, width = 0;
            for (;
                 i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && width < 5;
                 ++i, ++width) {
                value = value * 10 + (text[i] - '0');
            }
            numbers.push_back(value);
            widths.push_back(width);
        } else {
            ++i;
        }
    }
    const std::string& pattern = numberFormat().shortDateFormat;
    std::string order;  // the letters d, m and y in the pattern's order
    for (std::size_t i = 0; i + 1 < pattern.size(); ++i) {
        if (pattern[i] != '%') continue;
        const char c = pattern[++i];
        if (c == 'd' || c == 'e') order += 'd';
        if (c == 'm') order += 'm';
        if (c == 'Y' || c == 'y') order += 'y';
        if (c == 'F') order += "ymd";
        if (c == 'D') order += "mdy";
    }
    if (numbers.size() != 3 || order.size() != 3) throw Error(quoted(text, field, "date"));
    int day = 0, month = 0, year = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        if (order[i] == 'd') day = numbers[i];
        if (order[i] == 'm') month = numbers[i];
        if (order[i] == 'y')
            year = widths[i] <= 2 ? (numbers[i] < 50 ? 2000 : 1900) + numbers[i] : numbers[i];
    }
    if (!isValidDate(year, month, day)) throw Error(quoted(text, field, "date"));
    const int yyyymmdd = year * 10000 + month * 100 + day;
    std::string stored(8, '0');
    for (int i = 7, rest = yyyymmdd; i >= 0; --i, rest /= 10)
        stored[std::size_t(i)] = char('0' + rest % 10);
    store(field, stored, record);
}

}  // namespace

bool isEditableInCell(const DbfField& field) {
    switch (field.kind) {
        case FieldKind::String:
            return field.type == 'C';
        case FieldKind::Integer:
        case FieldKind::Float:
            return field.type == 'N' || field.type == 'F';
        case FieldKind::Boolean:
        case FieldKind::Date:
            return true;
        default:
            return false;
    }
}

void blankField(const DbfField& field, std::string& record) {
    const bool binary = field.type == 'I' || field.type == 'Y' || field.type == 'T' ||
                        (field.type == 'B' && field.kind == FieldKind::Float) ||
                        field.binaryMemoReference;
    const char fill = binary ? '\0' : ' ';
    record.replace(std::size_t(field.offset), std::size_t(field.length), std::size_t(field.length),
                   fill);
}

void encodeFieldText(const DbfField& field, const TableCharset& charset, std::string_view text,
                     std::string& record) {
    if (!isEditableInCell(field)) throw Error("Field '" + field.name + "' cannot be modified");
    if (text.empty()) return blankField(field, record);
    switch (field.kind) {
        case FieldKind::String:
            return encodeString(field, charset, text, record);
        case FieldKind::Boolean:
            return encodeLogical(field, text, record);
        case FieldKind::Date:
            return encodeDate(field, text, record);
        default:
            return encodeNumber(field, text, record);
    }
}

}  // namespace geocalc
