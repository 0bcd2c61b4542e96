// Points kept as text, as instruments, spreadsheets and CAD programs write
// them: a point a line, its name, X and Y and maybe more, in columns split by
// ";", a tab, "," or blanks, with or without a heading, in UTF-8 or
// Windows-1251, with "." or "," as the decimal mark.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "table/point_source.h"
#include "table/text_lines.h"

namespace geocalc {

// Splits a point text's lines into their fields (see PointText).
class LineSplitter {
public:
    // The line's fields, views of it or of the texts of its quoted fields
    // kept here, valid until the next split.
    const std::vector<std::string_view>& split(std::size_t number, std::string_view line,
                                               char separator);

private:
    std::vector<std::string_view> fields_;
    std::deque<std::string> unquoted_;  // where a text stays put as more are added
};

// Finds a point text's separator from its lines as the file writes them:
// ";" where a line has one, a tab where every line has one (tabs among
// blanks are blanks); else "," unless every line splits at blanks into three
// fields or more with "," as a decimal mark; else blanks (' ').
class SeparatorTally {
public:
    // False once no further line can change the separator.
    bool look(std::string_view line);
    char separator() const;

private:
    bool semicolon_ = false, tabEverywhere_ = true, comma_ = false, commaMarksEverywhere_ = true;
    LineSplitter splitter_;
};

// A point text read as it is:
// - the separator per file (see SeparatorTally); fields quoted with '"' as
//   CSV quotes them;
// - the decimal mark "." or "," per file;
// - a first line whose coordinates are not numbers is the heading; its names
//   (name/имя/точка/№, x/север/n, y/восток/e, in any case) say which columns
//   are which, else they are name, X, Y in that order; the further columns
//   are named from the heading (upper case, at most ten characters), else H,
//   CODE, F4, ...
// Any line that does not fit fails the whole file, naming the line: "Line
// 17: 'abc' is not a valid floating point value", "Line 4: the Y field is
// missing", "Line 9: the file mixes \".\" and \",\" as decimal marks", a name
// longer than 254 characters (and what TextLines refuses).
class PointText : public PointSource {
public:
    PointText(TextLines lines, char separator);
    void forEachPoint(const std::function<void(const PointRow&)>& take) const override;

private:
    struct Columns {
        std::size_t name = 0, x = 1, y = 2;
    };
    void readHeading(const std::vector<std::string_view>& fields);
    void checkLine(std::size_t number, const std::vector<std::string_view>& fields);
    // Whether a line read again still has the columns the first reading
    // found (the writer checks the widths; a file read from disk is also
    // checked by its stamp).
    bool stillFits(const std::vector<std::string_view>& fields) const;
    void rowOf(const std::vector<std::string_view>& fields, PointRow& row) const;
    void nameOtherColumns(std::size_t count);

    TextLines lines_;
    char separator_;
    bool headed_ = false;
    std::vector<std::string> heading_;
    Columns columns_;
    char mark_ = 0;  // none seen yet
};

}  // namespace geocalc
