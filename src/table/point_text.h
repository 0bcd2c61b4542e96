// Points kept as text, as instruments, spreadsheets and CAD programs write
// them: a point a line, its name, X and Y and maybe more, in columns split by
// ";", a tab, "," or blanks, with or without a heading, in UTF-8 or
// Windows-1251, with "." or "," as the decimal mark.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace geocalc {

// A point text file as a table: its columns' names (NAME, X, Y first, then
// the further columns' from the heading, or H, CODE, F4, ...) and a row a
// point, every text in Windows-1251, X and Y as the decimals they write
// with "." as the mark.
struct PointTextTable {
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;
};

// The longest name, and any further text, a point may have (a dBASE text
// field's).
inline constexpr std::size_t kLongestPointName = 254;

// Reads the file's bytes, as they are:
// - UTF-8 (with or without a byte-order mark), else Windows-1251;
// - CR LF, LF or CR line ends; blank lines and lines starting with "#"
//   skipped;
// - the separator found per file: ";" or a tab where a line has one, else
//   "," unless "," is the decimal mark, else runs of blanks; fields quoted
//   with '"' as CSV quotes them;
// - the decimal mark "." or "," per file;
// - a first line whose coordinates are not numbers is the heading; its names
//   (name/имя/точка/№, x/север/n, y/восток/e, in any case) say which columns
//   are which, else they are name, X, Y in that order.
// Any line that does not fit fails the whole file, naming the line: "Line
// 17: 'abc' is not a valid floating point value", "Line 4: the Y field is
// missing", "Line 9: the file mixes \".\" and \",\" as decimal marks", a name
// longer than 254 characters, a character Windows-1251 lacks, a NUL byte.
PointTextTable readPointText(std::string_view bytes);

}  // namespace geocalc
