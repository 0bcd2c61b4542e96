#include "table/point_table.h"

#include <algorithm>

#include "core/error.h"
#include "table/dbf_layout.h"

namespace geocalc {

namespace {

constexpr unsigned char kDbase3 = 0x03;
constexpr unsigned char kWindows1251Driver =
    0xC9;  // the language driver byte: texts in Windows-1251
constexpr std::size_t kLanguageDriverOffset = 29;
// A field descriptor's type, length and decimals, after its name.
constexpr std::size_t kTypeOffset = 11, kLengthOffset = 16, kDecimalsOffset = 17;
constexpr std::size_t kMostLength = 0xFFFF;  // of the header and of a record
constexpr std::size_t kShortestName = 10;
constexpr std::size_t kWidestNumber = 20;
constexpr std::size_t kLongestText = 254;

struct Field {
    std::string name;
    char type;
    std::size_t length, decimals;
};

std::size_t decimalsOf(const std::string& number) {
    const std::size_t point = number.find('.');
    return point == std::string::npos ? 0 : number.size() - point - 1;
}

// The number with exactly `decimals` decimals (the same value), appended.
void appendPadded(std::string& out, const std::string& number, std::size_t decimals) {
    out += number;
    if (decimals > 0 && number.find('.') == std::string::npos) out += '.';
    out.append(decimals - decimalsOf(number), '0');
}

std::size_t paddedSize(const std::string& number, std::size_t decimals) {
    const bool addsPoint = decimals > 0 && number.find('.') == std::string::npos;
    return number.size() + (addsPoint ? 1 : 0) + decimals - decimalsOf(number);
}

std::vector<Field> fieldsOf(const PointTextTable& table) {
    std::vector<Field> fields;
    std::size_t decimals = 0;
    for (const auto& row : table.rows)
        decimals = std::max({decimals, decimalsOf(row[1]), decimalsOf(row[2])});
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        std::size_t longest = 0;
        for (const auto& row : table.rows) {
            const std::size_t stored =
                c == 1 || c == 2 ? paddedSize(row[c], decimals) : row[c].size();
            longest = std::max(longest, stored);
        }
        if (c == 1 || c == 2) {
            if (longest > kWidestNumber)
                throw Error("The " + table.columns[c] + " values need " + std::to_string(longest) +
                            " characters; a number field holds " + std::to_string(kWidestNumber));
            fields.push_back({table.columns[c], 'N', longest, decimals});
        } else {
            fields.push_back({table.columns[c], 'C',
                              std::clamp(longest, c == 0 ? kShortestName : 1, kLongestText), 0});
        }
    }
    return fields;
}

void putWord(std::string& out, std::size_t at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out[at + std::size_t(i)] = char((value >> (8 * i)) & 0xFF);
}

}  // namespace

std::string pointTableBytes(const PointTextTable& table, const std::tm& today) {
    const std::vector<Field> fields = fieldsOf(table);
    std::size_t recordLength = 1;
    for (const Field& f : fields) recordLength += f.length;
    const std::size_t headerLength = kFileHeaderSize + kDescriptorSize * fields.size() + 1;

    if (headerLength > kMostLength || recordLength > kMostLength)
        throw Error("The points have more columns than a dBASE table holds");

    std::string out(headerLength, '\0');
    out[0] = char(kDbase3);
    out[1] = char(std::clamp(today.tm_year, 0, 255));  // years since 1900
    out[2] = char(today.tm_mon + 1);
    out[3] = char(today.tm_mday);
    putWord(out, 4, std::uint32_t(table.rows.size()), 4);
    putWord(out, 8, std::uint32_t(headerLength), 2);
    putWord(out, 10, std::uint32_t(recordLength), 2);
    out[kLanguageDriverOffset] = char(kWindows1251Driver);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::size_t at = kFileHeaderSize + kDescriptorSize * i;
        out.replace(at, fields[i].name.size(), fields[i].name);  // ten bytes at most, NUL after
        out[at + kTypeOffset] = fields[i].type;
        out[at + kLengthOffset] = char(fields[i].length);
        out[at + kDecimalsOffset] = char(fields[i].decimals);
    }
    out[headerLength - 1] = char(kDescriptorEnd);

    out.reserve(headerLength + table.rows.size() * recordLength + 1);
    for (const auto& row : table.rows) {
        out += ' ';
        for (std::size_t c = 0; c < fields.size(); ++c) {
            const Field& f = fields[c];
            if (f.type == 'N') {
                out.append(f.length - paddedSize(row[c], f.decimals), ' ');
                appendPadded(out, row[c], f.decimals);
            } else {
                out += row[c];
                out.append(f.length - row[c].size(), ' ');
            }
        }
    }
    out += char(kEndOfFile);
    return out;
}

}  // namespace geocalc
