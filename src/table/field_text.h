// The text of a field value, as the grid shows it and the record pick reads it.
#pragma once

#include <string>
#include <string_view>

#include "table/dbf_layout.h"
#include "table/memo_file.h"
#include "table/table_charset.h"

namespace geocalc {

// Everything needed to turn a record's bytes into field texts.
struct RecordFormat {
    const DbfLayout& layout;
    const TableCharset& charset;
    const MemoFile& memo;
};

// The field text of `field` in `record` (the record's bytes, deletion flag
// first), in the ANSI code page. Blank and null values, and values that
// cannot be read, give "":
// - text: the stored characters up to the first NUL, without trailing blanks;
// - numbers: the stored value in the general form with 15 significant digits
//   under the current decimal separator ("  12.500" -> "12.5");
// - logical: "True" (T, t, Y, y) or "False" (F, f, N, n);
// - date: the user's short date format; date-time: that and the long time;
// - memo: the whole memo; blob and OLE fields: the bytes as stored.
std::string fieldText(const RecordFormat& format, const DbfField& field, std::string_view record);
// The same appended to `out`: the way to read many texts.
void appendFieldText(const RecordFormat& format, const DbfField& field, std::string_view record,
                     std::string& out);

// Whether the field holds a number written out in digits (N, F).
bool storesNumberAsText(const DbfField& field);

// A text field's stored characters up to the first NUL, without the padding
// blanks, in the table's code page.
std::string_view storedText(const RecordFormat& format, const DbfField& field,
                            std::string_view record);

// Whether the field's value is blank or null.
bool isBlankField(const RecordFormat& format, const DbfField& field, std::string_view record);

// Whether the day exists in the proleptic Gregorian calendar (years 1 to 9999).
bool isValidDate(int year, int month, int day);

// The date text of the user's short date format (and the long time format
// when `withTime`), e.g. 31.12.2024 under ru_RU.
std::string formatDate(int year, int month, int day);
std::string formatTime(int hour, int minute, int second);

}  // namespace geocalc
