#include "table/field_text.h"

#include <algorithm>
#include <cstring>
#include <ctime>

#include "charset/code_page.h"
#include "core/error.h"
#include "numtext/decimal_reader.h"
#include "numtext/format_settings.h"
#include "numtext/number_writer.h"

namespace geocalc {

namespace {

constexpr int kGeneralDigits = 15;
constexpr int kSmallestPlainExponent = -3;
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
    for (std::size_t i = bytes.size(); i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[i]);
    if (bytes.size() < 8 && bytes.size() > 0 && (value >> (8 * bytes.size() - 1)) & 1) {
        value |= ~std::uint64_t{0} << (8 * bytes.size());  // sign extension
    }
    return std::int64_t(value);
}

std::string numberText(std::string_view stored) {
    std::string text;
    const char separator = numberFormat().decimalSeparator;
    if (plainDecimalText(stored, separator, text)) return text;
    const std::string_view trimmed = trimBlanks(stored);
    if (trimmed.empty() || trimmed.find_first_not_of('*') == std::string_view::npos) return {};
    try {
        return writeGeneral(readDecimal(trimmed, '.')).str();
    } catch (const Error&) {
        return {};  // not a number: read as blank
    }
}

bool validDate(int year, int month, int day) {
    static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > kDays[month - 1]) return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month != 2 || day <= 28 || leap;
}

std::string dateText(std::string_view stored) {
    if (stored.size() != 8 || !std::all_of(stored.begin(), stored.end(), ::isdigit)) return {};
    auto number = [stored](std::size_t from, std::size_t count) {
        int value = 0;
        for (std::size_t i = from; i < from + count; ++i) value = value * 10 + (stored[i] - '0');
        return value;
    };
    const int year = number(0, 4), month = number(4, 2), day = number(6, 2);
    return validDate(year, month, day) ? formatDate(year, month, day) : std::string();
}

// Visual FoxPro date-times: the Julian day number and the milliseconds since midnight.
std::string dateTimeText(std::string_view stored) {
    const std::int64_t julianDay = littleEndian(stored.substr(0, 4));
    const std::int64_t milliseconds = littleEndian(stored.substr(4, 4));
    if (julianDay <= 0) return {};
    const std::time_t seconds = std::time_t(julianDay - kJulianDayOf1970) * 86400;
    std::tm date{};
    if (gmtime_r(&seconds, &date) == nullptr) return {};
    const std::int64_t secondOfDay = std::clamp<std::int64_t>(milliseconds, 0, 86'399'999) /
                                     kMillisecondsPerSecond;
    return formatDate(date.tm_year + 1900, date.tm_mon + 1, date.tm_mday) + " " +
           formatTime(int(secondOfDay / 3600), int(secondOfDay / 60 % 60), int(secondOfDay % 60));
}

std::string logicalText(std::string_view stored) {
    switch (stored.empty() ? ' ' : stored[0]) {
        case 'T': case 't': case 'Y': case 'y': return "True";
        case 'F': case 'f': case 'N': case 'n': return "False";
        default: return {};
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

std::string stringText(const RecordFormat& format, const DbfField& field, std::string_view record,
                       std::string_view stored) {
    if (field.type == 'V' && nullFlagSet(format, record, field.varLengthBit) && !stored.empty()) {
        stored = stored.substr(0, std::min<std::size_t>(static_cast<unsigned char>(stored.back()),
                                                        stored.size() - 1));
    }
    stored = stored.substr(0, stored.find('\0'));
    const std::size_t end = stored.find_last_not_of(' ');
    return format.charset.toAnsi(stored.substr(0, end == std::string_view::npos ? 0 : end + 1));
}

std::string formatted(const std::string& pattern, const std::tm& value) {
    char buffer[128];
    const std::size_t n = std::strftime(buffer, sizeof buffer, pattern.c_str(), &value);
    return ansiFromUtf8(std::string_view(buffer, n));
}

}  // namespace

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

bool plainDecimalText(std::string_view stored, char separator, std::string& out) {
    std::string_view text = trimBlanks(stored);
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    std::string_view whole = text.substr(0, point);
    std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if (whole.empty() && fraction.empty()) return false;
    auto allDigits = [](std::string_view s) {
        return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (!allDigits(whole) || !allDigits(fraction)) return false;
    whole.remove_prefix(std::min(whole.find_first_not_of('0'), whole.size()));
    fraction = fraction.substr(0, fraction.find_last_not_of('0') + 1);

    int significant;
    if (!whole.empty()) {
        significant = int(whole.size() + fraction.size());
    } else {
        const std::size_t zeros = std::min(fraction.find_first_not_of('0'), fraction.size());
        if (zeros < fraction.size() && -int(zeros) < kSmallestPlainExponent) return false;
        significant = int(fraction.size() - zeros);
    }
    if (significant > kGeneralDigits) return false;

    out.clear();
    if (negative && significant > 0) out += '-';
    out += whole.empty() ? std::string_view("0") : whole;
    if (!fraction.empty()) {
        out += separator;
        out += fraction;
    }
    return true;
}

bool isBlankField(const RecordFormat& format, const DbfField& field, std::string_view record) {
    if (field.nullable && nullFlagSet(format, record, field.nullBit)) return true;
    const std::string_view stored = fieldBytes(field, record);
    switch (field.type) {
        case 'I': case 'Y': case 'B': case 'T':
            if (format.layout.visualFoxPro || field.type != 'B') return false;
            break;
        default: break;
    }
    return trimBlanks(stored).find_first_not_of('\0') == std::string_view::npos;
}

std::string fieldText(const RecordFormat& format, const DbfField& field, std::string_view record) {
    if (field.nullable && nullFlagSet(format, record, field.nullBit)) return {};
    const std::string_view stored = fieldBytes(field, record);
    if (stored.empty()) return {};
    switch (field.kind) {
        case FieldKind::String: return stringText(format, field, record, stored);
        case FieldKind::Boolean: return logicalText(stored);
        case FieldKind::Date: return dateText(stored);
        case FieldKind::DateTime: return dateTimeText(stored);
        case FieldKind::Integer:
            if (field.type == 'I') return std::to_string(littleEndian(stored));
            return numberText(stored);
        case FieldKind::Currency:
            return writeGeneral(static_cast<long double>(littleEndian(stored)) / kCurrencyScale).str();
        case FieldKind::Float:
            if (field.type == 'B') {
                double value;
                std::memcpy(&value, stored.data(), sizeof value);
                return writeGeneral(value).str();
            }
            return numberText(stored);
        case FieldKind::Memo:
        case FieldKind::Blob:
        case FieldKind::Graphic: {
            if (field.type == 'Q') return std::string(stored);  // varbinary, kept in the record
            std::optional<std::string> content = format.memo.read(memoBlock(field, stored));
            if (!content) return {};
            return field.kind == FieldKind::Memo ? format.charset.toAnsi(*content) : *content;
        }
    }
    return {};
}

}  // namespace geocalc
