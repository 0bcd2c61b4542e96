// The layout of a dBASE table file: its header and field descriptors.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "table/table_charset.h"

namespace geocalc {

// What a field holds, as the rest of the system sees it.
enum class FieldKind {
    String,    // C, V: text
    Integer,   // N without decimals up to 9 digits; I (Visual FoxPro, binary)
    Float,     // N, F; B in Visual FoxPro (binary double)
    Currency,  // Y (Visual FoxPro, binary, four decimals)
    Boolean,   // L
    Date,      // D
    DateTime,  // T (Visual FoxPro)
    Memo,      // M: text in the memo file
    Blob,      // B in dBASE, W, Q, P: bytes
    Graphic,   // G: OLE object in the memo file
};

struct DbfField {
    std::string name;  // in the ANSI code page
    char type = 'C';   // the stored type letter
    FieldKind kind = FieldKind::String;
    int offset = 0;  // within the record, after the deletion flag
    int length = 0;
    int decimals = 0;
    bool binaryMemoReference = false;  // a 4-byte block number (Visual FoxPro)
    bool nullable = false;
    int nullBit = -1;  // its bit in the hidden _NullFlags field
    int varLengthBit = -1;
};

struct DbfLayout {
    std::uint8_t version = 0;
    bool visualFoxPro = false;
    int headerLength = 0;
    int recordLength = 0;
    std::uint32_t headerRecordCount = 0;
    std::uint8_t languageDriver = 0;
    std::vector<DbfField> fields;  // the visible fields, in table order
    int nullFlagsOffset = -1;      // where _NullFlags lies in a record, if anywhere
    int nullFlagsLength = 0;

    bool hasMemoFields() const;
};

// The fixed part of every dBASE III and later header.
inline constexpr int kFileHeaderSize = 32;
inline constexpr int kDescriptorSize = 32;
inline constexpr std::uint8_t kDescriptorEnd = 0x0D;
inline constexpr std::uint8_t kEndOfFile = 0x1A;

// Reads the layout from the header bytes of a table file (the first 32 bytes
// at least, the whole declared header length at most); `fileSize` is the whole
// file's size. Field names are converted from the table's code page.
// Fails with geocalc::Error for a file that is not a table the engine reads;
// the message says what is wrong, the caller adds which file.
DbfLayout parseDbfLayout(std::string_view headerBytes, std::uint64_t fileSize,
                         const TableCharset& charset);

// Whether the first 32 bytes of a file are a dBASE header's: a version byte
// of a dBASE table (also of those the engine refuses, which say so), a date
// and lengths that can be; a text file's first bytes never are.
bool looksLikeDbfHeader(std::string_view first32);

// The header length and language driver that the first 32 bytes declare.
int declaredHeaderLength(std::string_view first32);
std::uint8_t declaredLanguageDriver(std::string_view first32);

std::uint16_t readUint16(const char* p);
std::uint32_t readUint32(const char* p);
void writeUint32(char* p, std::uint32_t value);

}  // namespace geocalc
