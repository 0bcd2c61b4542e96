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

constexpr std::size_t kWriteChunk = 1 << 20;

std::vector<Field> fieldsOf(const PointShape& shape) {
    std::vector<Field> fields;
    for (std::size_t c = 0; c < shape.columns.size(); ++c) {
        const std::size_t longest = shape.widths[c];
        if (c == 1 || c == 2) {
            if (longest > kWidestNumber)
                throw Error("The " + shape.columns[c] + " values need " + std::to_string(longest) +
                            " characters; a number field holds " + std::to_string(kWidestNumber));
            fields.push_back({shape.columns[c], 'N', longest, shape.decimals});
        } else {
            fields.push_back({shape.columns[c], 'C',
                              std::clamp(longest, c == 0 ? kShortestName : 1, kLongestText), 0});
        }
    }
    return fields;
}

void putWord(std::string& out, std::size_t at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out[at + std::size_t(i)] = char((value >> (8 * i)) & 0xFF);
}

std::string headerOf(const PointShape& shape, const std::vector<Field>& fields,
                     std::size_t recordLength, const std::tm& today) {
    const std::size_t headerLength = kFileHeaderSize + kDescriptorSize * fields.size() + 1;
    if (headerLength > kMostLength || recordLength > kMostLength)
        throw Error("The points have more columns than a dBASE table holds");

    std::string out(headerLength, '\0');
    out[0] = char(kDbase3);
    out[1] = char(std::clamp(today.tm_year, 0, 255));  // years since 1900
    out[2] = char(today.tm_mon + 1);
    out[3] = char(today.tm_mday);
    putWord(out, 4, std::uint32_t(shape.points), 4);
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
    return out;
}

[[noreturn]] void changedWhileRead() { throw Error("The file changed while it was read"); }

void appendRecord(std::string& out, const std::vector<Field>& fields, const PointRow& row) {
    if (row.size() != fields.size()) changedWhileRead();
    out += ' ';
    for (std::size_t c = 0; c < fields.size(); ++c) {
        const Field& f = fields[c];
        const std::string& text = row[c];
        const std::size_t size = f.type == 'N' ? paddedSize(text, f.decimals) : text.size();
        if (size > f.length || (f.type == 'N' && decimalsOf(text) > f.decimals)) changedWhileRead();
        if (f.type == 'N') {
            out.append(f.length - size, ' ');
            appendPadded(out, text, f.decimals);
        } else {
            out += text;
            out.append(f.length - size, ' ');
        }
    }
}

}  // namespace

void writePointTable(const PointSource& points, const std::tm& today,
                     const std::function<void(std::string_view)>& write) {
    const PointShape& shape = points.shape();
    const std::vector<Field> fields = fieldsOf(shape);
    std::size_t recordLength = 1;
    for (const Field& f : fields) recordLength += f.length;
    write(headerOf(shape, fields, recordLength, today));

    std::string records;
    records.reserve(kWriteChunk + recordLength);
    std::size_t count = 0;
    points.forEachPoint([&](const PointRow& row) {
        if (++count > shape.points) changedWhileRead();
        appendRecord(records, fields, row);
        if (records.size() < kWriteChunk) return;
        write(records);
        records.clear();
    });
    if (count != shape.points) changedWhileRead();
    records += char(kEndOfFile);
    write(records);
}

}  // namespace geocalc
