#include "table/field_text.h"

#include <algorithm>
#include <cstring>
#include <ctime>

#include "charset/code_page.h"
#include "core/error.h"
#include "numtext/decimal_reader.h"
#include "numtext/format_settings.h"
#include "numtext/number_writer.h"
#include "table/plain_decimal.h"

namespace geocalc {

namespace {

constexpr long double kCurrencyScale = 10000.0L;
constexpr int kJulianDayOf1970 = 2440588;
constexpr int kMillisecondsPerSecond = 1000;

std::string_view fieldBytes(const DbfField& field, std::string_view record) {
    if (std::size_t(field.offset + field.length) > record.size()) return {};
    return record.substr(std::size_t(field.offset), std::size_t(field.length));
}

std::string_view trimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool nullFlagSet(const RecordFormat& format, std::string_view record, int bit) {
    const DbfLayout& layout = format.layout;
    if (bit < 0 || layout.nullFlagsOffset < 0 || bit >= layout.nullFlagsLength * 8) return false;
    const std::size_t at = std::size_t(layout.nullFlagsOffset + bit / 8);
    return at < record.size() && (static_cast<unsigned char>(record[at]) >> (bit % 8) & 1) != 0;
}

std::int64_t littleEndian(std::string_view bytes) {
    std::uint64_t value = 0;
    for (std::size_t i = bytes.size(); i-- > 0;)
        value = value << 8 | static_cast<unsigned char>(bytes[i]);
    if (bytes.size() < 8 && bytes.size() > 0 && (value >> (8 * bytes.size() - 1)) & 1) {
        value |= ~std::uint64_t{0} << (8 * bytes.size());  // sign extension
    }
    return std::int64_t(value);
}

void appendNumberText(std::string_view stored, std::string& out) {
    if (appendPlainDecimal(stored, numberFormat().decimalSeparator, out)) return;
    const std::string_view trimmed = trimBlanks(stored);
    if (trimmed.empty() || trimmed.find_first_not_of('*') == std::string_view::npos) return;
    try {
        out += writeGeneral(readDecimal(trimmed, '.')).view();
    } catch (const Error&) {
        // not a number: read as blank
    }
}

std::string dateText(std::string_view stored) {
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (stored.size() != 8 || !std::all_of(stored.begin(), stored.end(), digit)) return {};
    auto number = [stored](std::size_t from, std::size_t count) {
        int value = 0;
        for (std::size_t i = from; i < from + count; ++i) value = value * 10 + (stored[i] - '0');
        return value;
    };
    const int year = number(0, 4), month = number(4, 2), day = number(6, 2);
    return isValidDate(year, month, day) ? formatDate(year, month, day) : std::string();
}

struct CivilDate {
    int year, month, day;
};

// The proleptic Gregorian date of a day counted from 1970-01-01, the same on
// every system (some runtimes refuse days before 1970).
CivilDate civilDate(std::int64_t days) {
    days += 719468;  // from 0000-03-01
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
    const int day = int(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    const int month = int(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    return {int(yearOfEra + era * 400 + (month <= 2)), month, day};
}

// Visual FoxPro date-times: the Julian day number and the milliseconds since midnight.
std::string dateTimeText(std::string_view stored) {
    const std::int64_t julianDay = littleEndian(stored.substr(0, 4));
    const std::int64_t milliseconds = littleEndian(stored.substr(4, 4));
    if (julianDay <= 0) return {};
    const CivilDate date = civilDate(julianDay - kJulianDayOf1970);
    const std::int64_t secondOfDay =
        std::clamp<std::int64_t>(milliseconds, 0, 86'399'999) / kMillisecondsPerSecond;
    return formatDate(date.year, date.month, date.day) + " " +
           formatTime(int(secondOfDay / 3600), int(secondOfDay / 60 % 60), int(secondOfDay % 60));
}

std::string logicalText(std::string_view stored) {
    switch (stored.empty() ? ' ' : stored[0]) {
        case 'T':
        case 't':
        case 'Y':
        case 'y':
            return "True";
        case 'F':
        case 'f':
        case 'N':
        case 'n':
            return "False";
        default:
            return {};
    }
}

std::uint32_t memoBlock(const DbfField& field, std::string_view stored) {
    if (field.binaryMemoReference) return std::uint32_t(littleEndian(stored));
    const std::string_view digits = trimBlanks(stored);
    std::uint64_t block = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return 0;
        block = std::min<std::uint64_t>(block * 10 + std::uint64_t(c - '0'), UINT32_MAX);
    }
    return std::uint32_t(block);
}

std::string_view storedTextOf(const RecordFormat& format, const DbfField& field,
                              std::string_view record, std::string_view stored) {
    if (field.type == 'V' && nullFlagSet(format, record, field.varLengthBit) && !stored.empty()) {
        stored = stored.substr(
            0, std::min<std::size_t>(static_cast<unsigned char>(stored.back()), stored.size() - 1));
    }
    // Up to the first NUL, without the padding blanks.
    std::size_t end = stored.size();
    while (end > 0 && stored[end - 1] == ' ') --end;
    if (const void* nul = std::memchr(stored.data(), '\0', end)) {
        end = std::size_t(static_cast<const char*>(nul) - stored.data());
        while (end > 0 && stored[end - 1] == ' ') --end;
    }
    return stored.substr(0, end);
}

std::string formatted(const std::string& pattern, const std::tm& value) {
    char buffer[128];
    const std::size_t n = std::strftime(buffer, sizeof buffer, pattern.c_str(), &value);
    return ansiFromUtf8(std::string_view(buffer, n));
}

}  // namespace

bool isValidDate(int year, int month, int day) {
    static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > kDays[month - 1])
        return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month != 2 || day <= 28 || leap;
}

std::string formatDate(int year, int month, int day) {
    std::tm value{};
    value.tm_year = year - 1900;
    value.tm_mon = month - 1;
    value.tm_mday = day;
    return formatted(numberFormat().shortDateFormat, value);
}

std::string formatTime(int hour, int minute, int second) {
    std::tm value{};
    value.tm_hour = hour;
    value.tm_min = minute;
    value.tm_sec = second;
    return formatted(numberFormat().longTimeFormat, value);
}

bool storesNumberAsText(const DbfField& field) {
    return (field.kind == FieldKind::Float || field.kind == FieldKind::Integer) &&
           (field.type == 'N' || field.type == 'F');
}

std::string_view storedText(const RecordFormat& format, const DbfField& field,
                            std::string_view record) {
    return storedTextOf(format, field, record, fieldBytes(field, record));
}

bool isBlankField(const RecordFormat& format, const DbfField& field, std::string_view record) {
    if (field.nullable && nullFlagSet(format, record, field.nullBit)) return true;
    const std::string_view stored = fieldBytes(field, record);
    switch (field.kind) {
        case FieldKind::Memo:
        case FieldKind::Blob:
        case FieldKind::Graphic:
            // A memo is blank when it holds nothing, whether or not a block is named.
            if (field.type == 'Q') break;  // varbinary, kept in the record
            return !format.memo.holdsContent(memoBlock(field, stored));
        case FieldKind::Integer:
        case FieldKind::Currency:
        case FieldKind::DateTime:
        case FieldKind::Float:
            if (field.type != 'N' && field.type != 'F')
                return false;  // binary values are never blank
            break;
        default:
            break;
    }
    return trimBlanks(stored).find_first_not_of('\0') == std::string_view::npos;
}

std::string fieldText(const RecordFormat& format, const DbfField& field, std::string_view record) {
    std::string text;
    appendFieldText(format, field, record, text);
    return text;
}

namespace {

std::string otherText(const RecordFormat& format, const DbfField& field, std::string_view stored) {
    switch (field.kind) {
        case FieldKind::Boolean:
            return logicalText(stored);
        case FieldKind::Date:
            return dateText(stored);
        case FieldKind::DateTime:
            return dateTimeText(stored);
        case FieldKind::Integer:
            return std::to_string(littleEndian(stored));  // Visual FoxPro
        case FieldKind::Currency:
            return writeGeneral(static_cast<long double>(littleEndian(stored)) / kCurrencyScale)
                .str();
        case FieldKind::Float: {  // Visual FoxPro double
            double value;
            std::memcpy(&value, stored.data(), sizeof value);
            return writeGeneral(value).str();
        }
        default: {
            if (field.type == 'Q') return std::string(stored);  // varbinary, kept in the record
            std::optional<std::string> content = format.memo.read(
                memoBlock(field, stored),
                field.kind == FieldKind::Memo ? MemoFile::Content::Text : MemoFile::Content::Bytes);
            if (!content) return {};
            return field.kind == FieldKind::Memo ? format.charset.toAnsi(*content) : *content;
        }
    }
}

}  // namespace

void appendFieldText(const RecordFormat& format, const DbfField& field, std::string_view record,
                     std::string& out) {
    const std::string_view stored = fieldBytes(field, record);
    if (stored.empty() || (field.nullable && nullFlagSet(format, record, field.nullBit))) return;
    if (field.kind == FieldKind::String) {
        format.charset.appendAnsi(storedTextOf(format, field, record, stored), out);
    } else if (storesNumberAsText(field)) {
        appendNumberText(stored, out);
    } else {
        out += otherText(format, field, stored);
    }
}

}  // namespace geocalc
