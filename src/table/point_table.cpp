#include "table/point_table.h"

#include <algorithm>
#include <cstring>

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

char* put(char* at, std::string_view text) {
    if (text.empty()) return at;  // an empty view may point nowhere
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
}

// The number as stored, right-aligned in its field: "." as the mark,
// `decimals` decimals.
void putNumber(char* field, const Field& f, const PointNumber& number) {
    char* at = field + f.length - number.storedWidth(f.decimals);
    if (number.negative) *at++ = '-';
    at = put(at, number.whole);
    if (f.decimals == 0) return;
    *at++ = '.';
    at = put(at, number.fraction);
    std::memset(at, '0', f.decimals - number.fraction.size());
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

// The record, blank-filled, appended.
void appendRecord(std::string& out, const std::vector<Field>& fields, std::size_t recordLength,
                  const PointRow& row) {
    if (row.size() != fields.size()) changedWhileRead();
    const std::size_t start = out.size();
    out.resize(start + recordLength, ' ');
    char* field = out.data() + start + 1;  // after the deletion flag
    for (std::size_t c = 0; c < fields.size(); field += fields[c++].length) {
        const Field& f = fields[c];
        if (f.type == 'N') {
            const PointNumber number = PointNumber::of(row[c]);
            if (number.storedWidth(f.decimals) > f.length || number.fraction.size() > f.decimals)
                changedWhileRead();
            putNumber(field, f, number);
        } else {
            if (row[c].size() > f.length) changedWhileRead();
            put(field, row[c]);
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
        appendRecord(records, fields, recordLength, row);
        if (records.size() < kWriteChunk) return;
        write(records);
        records.clear();
    });
    if (count != shape.points) changedWhileRead();
    records += char(kEndOfFile);
    write(records);
}

}  // namespace geocalc
