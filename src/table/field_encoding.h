// Storing texts typed by the user into a record's field bytes.
#pragma once

#include <string>
#include <string_view>

#include "table/dbf_layout.h"
#include "table/table_charset.h"

namespace geocalc {

// Fills the field with its blank value.
void blankField(const DbfField& field, std::string& record);

// Stores the ANSI text into the field, as the user typed it into a cell. An
// empty text makes the field blank. Refused texts leave the record unchanged
// and fail with the field's message:
//   "'%s' is not a valid integer value for field '%s'"
//   "'%s' is not a valid floating point value for field '%s'"
//   "'%s' is not a valid date for field '%s'"
//   "'%s' is not a valid boolean value for field '%s'"
//   "'%s' is not a valid value for field '%s'. It does not fit in %d characters"
//   "Field '%s' cannot be modified" (memo, blob and other fields not edited in a cell)
//   "The character '%s' cannot be stored in field '%s': the table's code page %s lacks it"
// Text fields take the text converted to the table's code page, when the
// code page has every character and the field has room for it; nothing is
// ever cut or stored as "?".
void encodeFieldText(const DbfField& field, const TableCharset& charset, std::string_view text,
                     std::string& record);

// Whether a cell can edit the field at all.
bool isEditableInCell(const DbfField& field);

}  // namespace geocalc
