#include "table/dbf_layout.h"

#include <cctype>
#include <cstring>

#include "core/error.h"

namespace geocalc {

namespace {

constexpr int kRecordCountOffset = 4;
constexpr int kHeaderLengthOffset = 8;
constexpr int kRecordLengthOffset = 10;
constexpr int kLanguageDriverOffset = 29;
constexpr int kFieldNameLength = 11;
constexpr std::uint8_t kSystemField = 0x01;
constexpr std::uint8_t kNullableField = 0x02;

[[noreturn]] void corrupt(const std::string& what) {
    throw Error("Corrupt table header: " + what + ".");
}

bool isVisualFoxPro(std::uint8_t version) { return version >= 0x30 && version <= 0x32; }

bool isTableVersion(std::uint8_t version) {
    return version == 0x02 || version == 0x04 || version == 0x8C || isVisualFoxPro(version) ||
           (version & 0x07) == 0x03 || version == 0xF5 || version == 0xFB;
}

void checkVersion(std::uint8_t version) {
    if (version == 0x02) {
        throw Error("dBASE II tables are not supported; save the table in dBASE III or later.");
    }
    if (version == 0x04 || version == 0x8C) {
        throw Error("dBASE 7 tables are not supported; save the table as dBASE III, IV or 5.");
    }
    if (!isTableVersion(version))
        throw Error("Not a dBASE table (unknown version byte " + std::to_string(version) + ").");
}

FieldKind kindOf(char type, int length, int decimals, bool visualFoxPro) {
    switch (type) {
        case 'N':
            return decimals == 0 && length <= 9 ? FieldKind::Integer : FieldKind::Float;
        case 'F':
            return FieldKind::Float;
        case 'I':
            return FieldKind::Integer;
        case 'Y':
            return FieldKind::Currency;
        case 'L':
            return FieldKind::Boolean;
        case 'D':
            return FieldKind::Date;
        case 'T':
            return FieldKind::DateTime;
        case 'M':
            return FieldKind::Memo;
        case 'G':
            return FieldKind::Graphic;
        case 'B':
            return visualFoxPro ? FieldKind::Float : FieldKind::Blob;
        case 'W':
        case 'Q':
        case 'P':
            return FieldKind::Blob;
        default:
            return FieldKind::String;
    }
}

// Binary field widths that must be right for the value to be read at all.
void checkBinaryWidth(const DbfField& field, bool visualFoxPro) {
    int expected = 0;
    if (field.type == 'I') expected = 4;
    if (field.type == 'Y' || field.type == 'T' || (field.type == 'B' && visualFoxPro)) expected = 8;
    if (expected != 0 && field.length != expected) {
        corrupt("field " + field.name + " of type " + field.type + " is " +
                std::to_string(field.length) + " bytes long");
    }
}

// Clipper and others keep the high byte of long text fields in the decimals
// byte; dBASE III may leave a stray value there. The byte is taken as the
// high byte only where the fields then fit the record.
bool textLengthsHaveHighBytes(std::string_view header, const DbfLayout& layout) {
    if (layout.visualFoxPro) return false;
    int withHighBytes = 1;
    for (int pos = kFileHeaderSize;
         pos + kDescriptorSize <= layout.headerLength &&
         static_cast<std::uint8_t>(header[std::size_t(pos)]) != kDescriptorEnd;
         pos += kDescriptorSize) {
        const char* d = header.data() + pos;
        withHighBytes += static_cast<unsigned char>(d[16]);
        if (std::toupper(static_cast<unsigned char>(d[11])) == 'C') {
            withHighBytes += static_cast<unsigned char>(d[17]) * 256;
        }
    }
    return withHighBytes <= layout.recordLength;
}

DbfField parseDescriptor(const char* d, int offset, const DbfLayout& layout,
                         const TableCharset& charset, bool textLengthHighBytes) {
    DbfField field;
    const char* nameEnd = static_cast<const char*>(std::memchr(d, '\0', kFieldNameLength));
    field.name =
        charset.toAnsi(std::string_view(d, nameEnd ? std::size_t(nameEnd - d) : kFieldNameLength));
    field.type = char(std::toupper(static_cast<unsigned char>(d[11])));
    field.length = static_cast<unsigned char>(d[16]);
    field.decimals = static_cast<unsigned char>(d[17]);
    if (field.type == 'C' && !layout.visualFoxPro) {
        if (textLengthHighBytes) field.length += field.decimals * 256;
        field.decimals = 0;
    }
    field.offset = offset;
    field.kind = kindOf(field.type, field.length, field.decimals, layout.visualFoxPro);
    field.binaryMemoReference = layout.visualFoxPro && field.length == 4 &&
                                (field.kind == FieldKind::Memo ||
                                 field.kind == FieldKind::Graphic || field.kind == FieldKind::Blob);
    field.nullable = layout.visualFoxPro && (d[18] & kNullableField) != 0;
    return field;
}

// Visual FoxPro numbers the null and variable-length bits of _NullFlags in
// field order.
void assignNullBits(DbfLayout& layout) {
    int bit = 0;
    for (DbfField& field : layout.fields) {
        if (field.type == 'V' || field.type == 'Q') field.varLengthBit = bit++;
        if (field.nullable) field.nullBit = bit++;
    }
}

}  // namespace

bool DbfLayout::hasMemoFields() const {
    for (const DbfField& f : fields) {
        if (f.kind == FieldKind::Memo || f.kind == FieldKind::Graphic ||
            (f.kind == FieldKind::Blob && f.type != 'Q')) {
            return true;
        }
    }
    return false;
}

std::uint16_t readUint16(const char* p) {
    return std::uint16_t(static_cast<unsigned char>(p[0]) | static_cast<unsigned char>(p[1]) << 8);
}

std::uint32_t readUint32(const char* p) {
    return std::uint32_t(readUint16(p)) | std::uint32_t(readUint16(p + 2)) << 16;
}

void writeUint32(char* p, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) p[i] = char((value >> (8 * i)) & 0xFF);
}

bool looksLikeDbfHeader(std::string_view first32) {
    if (first32.size() < std::size_t(kFileHeaderSize)) return false;
    const auto byte = [&first32](std::size_t at) { return std::uint8_t(first32[at]); };
    constexpr std::uint8_t kMonths = 12, kDays = 31;
    return isTableVersion(byte(0)) && byte(2) <= kMonths && byte(3) <= kDays &&
           declaredHeaderLength(first32) > kFileHeaderSize && readUint16(first32.data() + 10) > 0;
}

int declaredHeaderLength(std::string_view first32) {
    return first32.size() < kFileHeaderSize ? 0 : readUint16(first32.data() + kHeaderLengthOffset);
}

std::uint8_t declaredLanguageDriver(std::string_view first32) {
    return first32.size() < kFileHeaderSize
               ? 0
               : static_cast<std::uint8_t>(first32[kLanguageDriverOffset]);
}

DbfLayout parseDbfLayout(std::string_view header, std::uint64_t fileSize,
                         const TableCharset& charset) {
    if (header.size() < kFileHeaderSize) corrupt("the file is shorter than a table header");
    DbfLayout layout;
    layout.version = static_cast<std::uint8_t>(header[0]);
    checkVersion(layout.version);
    layout.visualFoxPro = isVisualFoxPro(layout.version);
    layout.headerRecordCount = readUint32(header.data() + kRecordCountOffset);
    layout.headerLength = readUint16(header.data() + kHeaderLengthOffset);
    layout.recordLength = readUint16(header.data() + kRecordLengthOffset);
    layout.languageDriver = declaredLanguageDriver(header);
    if (layout.headerLength < kFileHeaderSize + 1) corrupt("the header length is too small");
    if (std::uint64_t(layout.headerLength) > fileSize)
        corrupt("the header runs beyond the end of the file");
    if (layout.recordLength < 1) corrupt("the record length is zero");
    if (header.size() < std::size_t(layout.headerLength)) corrupt("the header is cut short");

    const bool textLengthHighBytes = textLengthsHaveHighBytes(header, layout);
    int offset = 1;  // after the deletion flag
    // Descriptors end at the terminator or at the header length, whichever
    // comes first; what follows the terminator (the Visual FoxPro backlink) is
    // not looked at.
    for (int pos = kFileHeaderSize;
         pos + kDescriptorSize <= layout.headerLength &&
         static_cast<std::uint8_t>(header[std::size_t(pos)]) != kDescriptorEnd;
         pos += kDescriptorSize) {
        DbfField field =
            parseDescriptor(header.data() + pos, offset, layout, charset, textLengthHighBytes);
        if (field.length == 0) corrupt("field " + field.name + " has no length");
        offset += field.length;
        if (offset > layout.recordLength)
            corrupt("field " + field.name + " lies beyond the record");
        checkBinaryWidth(field, layout.visualFoxPro);
        const bool system =
            layout.visualFoxPro && (header[std::size_t(pos) + 18] & kSystemField) != 0;
        if (field.type == '0' || (system && field.name == "_NullFlags")) {
            layout.nullFlagsOffset = field.offset;
            layout.nullFlagsLength = field.length;
        } else if (!system) {
            layout.fields.push_back(std::move(field));
        }
    }
    // Every dBASE format needs at least one field: a record of nothing but its
    // deletion flag is a header cut off or overwritten, not a table.
    if (layout.fields.empty()) corrupt("the table has no fields");
    assignNullBits(layout);
    return layout;
}

}  // namespace geocalc
