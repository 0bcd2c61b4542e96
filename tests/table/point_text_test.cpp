// Point text files as users' files are, read into a table and written as the
// dBASE working copy, read back by the table engine.
#include "table/point_text.h"

#include <gtest/gtest.h>

#include <vector>

#include "table/point_table.h"
#include "table/table_dataset.h"
#include "temp_folder.h"
#include "test_support.h"

namespace geocalc {
namespace {

using Rows = std::vector<std::vector<std::string>>;

const std::string kTochka1 = "\xD2\xEE\xF7\xEA\xE0 1";  // "Точка 1" in Windows-1251

TEST(PointTextTest, TheFormsUsersFilesComeIn) {
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> columns;
        Rows rows;
    };
    const std::vector<Case> cases = {
        {"semicolons, decimal commas, CR LF",
         "A;6171234,56;2310456,78\r\nB;6171398,1;2310587\r\n",
         {"NAME", "X", "Y"},
         {{"A", "6171234.56", "2310456.78"}, {"B", "6171398.1", "2310587"}}},
        {"commas, decimal points, a height and a code",
         "1,100.5,200.25,12.3,fence\n2,101,201,12,\n",
         {"NAME", "X", "Y", "H", "CODE"},
         {{"1", "100.5", "200.25", "12.3", "fence"}, {"2", "101", "201", "12", ""}}},
        {"blanks, decimal commas",
         "A   100,5  200,25\nB\t101,0 201\n",
         {"NAME", "X", "Y"},
         {{"A", "100.5", "200.25"}, {"B", "101.0", "201"}}},
        {"blanks, decimal points, comments and blank lines, CR ends",
         "# survey 12\r\rA 1.5 2.5\rB -3 4\r",
         {"NAME", "X", "Y"},
         {{"A", "1.5", "2.5"}, {"B", "-3", "4"}}},
        {"tabs, a quoted name with the separator",
         "\"\xD2\xEE\xF7\xEA\xE0 1, \xF3\xE3\xEE\xEB\"\t1\t2\n",
         {"NAME", "X", "Y"},
         {{"\xD2\xEE\xF7\xEA\xE0 1, \xF3\xE3\xEE\xEB", "1", "2"}}},
        {"UTF-8 with a byte-order mark",
         "\xEF\xBB\xBF\xD0\xA2\xD0\xBE\xD1\x87\xD0\xBA\xD0\xB0 1;1;2\n",
         {"NAME", "X", "Y"},
         {{kTochka1, "1", "2"}}},
        {"UTF-8 without one",
         "\xD0\xA2\xD0\xBE\xD1\x87\xD0\xBA\xD0\xB0 1;1;2\n",
         {"NAME", "X", "Y"},
         {{kTochka1, "1", "2"}}},
        {"Windows-1251", kTochka1 + ";1;2\n", {"NAME", "X", "Y"}, {{kTochka1, "1", "2"}}},
        {"a heading in another order",
         "y;x;name;code\n2;1;A;c1\n",
         {"NAME", "X", "Y", "CODE"},
         {{"A", "1", "2", "c1"}}},
        {"a Russian heading",
         "\xE2\xEE\xF1\xF2\xEE\xEA;\xF1\xE5\xE2\xE5\xF0;\xB9\n20;10;7\n",  // восток;север;№
         {"NAME", "X", "Y"},
         {{"7", "10", "20"}}},
        {"a heading naming no column",
         "point;north;east\nA;1;2\n",
         {"NAME", "X", "Y"},
         {{"A", "1", "2"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const PointTextTable table = readPointText(c.text);
        EXPECT_EQ(table.columns, c.columns);
        EXPECT_EQ(table.rows, c.rows);
    }
}

TEST(PointTextTest, ALineThatDoesNotFitFailsTheFileNamingTheLine) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"A;1;2\nB;abc;3\n", "Line 2: 'abc' is not a valid floating point value"},
        {"A;1;2\n\n# c\nB;1\n", "Line 4: the Y field is missing"},
        {"A;1.5;2\nB;1,5;2\n", "Line 2: the file mixes \".\" and \",\" as decimal marks"},
        {"A;1;2\nB;\"1;2\n", "Line 2: a quoted field has no closing quote"},
        {std::string("A;1;2\nB;1;2\0;\n", 13), "Line 2: a NUL byte is no text"},
        {"A;1;2\n\xD0\xA2\xE2\x82\xAC\xF0\x9F\x98\x80;1;2\n",
         "Line 2: a character Windows-1251 lacks (U+1F600)"},
        {"A;1;2\n\x98;1;2\n", "Line 2: the text is neither UTF-8 nor Windows-1251"},
        {"A;1;2\n" + std::string(255, 'n') + ";1;2\n",
         "Line 2: the name is longer than 254 characters"},
        {"# nothing\n\n", "The file holds no points"},
        {"name;x;y\n", "The file holds no points"},
    };
    for (const auto& [text, message] : cases) EXPECT_ERROR(readPointText(text), message);
}

// The working copy made from a text holds its points as the text writes
// them: the engine reads back every name and coordinate, padded to the most
// decimals any coordinate has.
TEST(PointTextTest, TheTableMadeFromTheTextReadsBackAsTheText) {
    const PointTextTable points =
        readPointText(kTochka1 + ";6171234,5;-2310456,78;12,5;\"a, b\"\nB;1;2;;\n");
    TempFolder folder;
    writeBytes(folder.file("p.dbf"), pointTableBytes(points, std::tm{}));
    TableDataset table;
    table.setTableName(folder.file("p.dbf"));
    table.open();
    ASSERT_EQ(table.fieldCount(), 5);
    EXPECT_EQ(table.field(0).length, 10);
    EXPECT_EQ(table.field(1).decimals, 2);
    EXPECT_EQ(table.field(3).name, "H");
    const Rows expected = {{kTochka1, "6171234.5", "-2310456.78", "12,5", "a, b"},
                           {"B", "1", "2", "", ""}};
    for (int row = 0; row < 2; ++row) {
        for (int field = 0; field < 5; ++field) {
            EXPECT_EQ(table.fieldTextAt(row, field), expected[std::size_t(row)][std::size_t(field)])
                << row << field;
        }
    }
    EXPECT_ERROR(pointTableBytes(readPointText("A;1" + std::string(25, '0') + ";2\n"), {}),
                 "The X values need 26 characters; a number field holds 20");
}

}  // namespace
}  // namespace geocalc
