// Point text files as users' files are, and instruments' GSI records, read
// into points and written as the dBASE working copy, read back by the table
// engine.
#include <gtest/gtest.h>

#include <vector>

#include "table/point_source.h"
#include "table/point_table.h"
#include "table/table_dataset.h"
#include "temp_folder.h"
#include "test_support.h"

namespace geocalc {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// The text handed over `size` bytes at a time (line ends split between
// chunks where size is small).
TextChunks chunksOf(std::string text, std::size_t size = 1 << 20) {
    return [text = std::move(text), size](const std::function<void(std::string_view)>& take) {
        for (std::size_t at = 0; at < text.size(); at += size)
            take(std::string_view(text).substr(at, size));
    };
}

struct ReadPoints {
    std::vector<std::string> columns;
    Rows rows;
};

ReadPoints readText(const std::string& text, std::size_t chunk = 1 << 20) {
    const auto points = readPoints(chunksOf(text, chunk));
    ReadPoints read{points->shape().columns, {}};
    points->forEachPoint(
        [&read](const PointRow& row) { read.rows.emplace_back(row.begin(), row.end()); });
    EXPECT_EQ(read.rows.size(), points->shape().points);
    return read;
}

std::string tableBytes(const std::string& text) {
    std::string bytes;
    writePointTable(*readPoints(chunksOf(text)), std::tm{},
                    [&bytes](std::string_view piece) { bytes += piece; });
    return bytes;
}

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
         {{"A", "6171234,56", "2310456,78"}, {"B", "6171398,1", "2310587"}}},
        {"commas, decimal points, a height and a code",
         "1,100.5,200.25,12.3,fence\n2,101,201,12,\n",
         {"NAME", "X", "Y", "H", "CODE"},
         {{"1", "100.5", "200.25", "12.3", "fence"}, {"2", "101", "201", "12", ""}}},
        {"blanks, decimal commas",
         "A   100,5  200,25\nB\t101,0 201\n",
         {"NAME", "X", "Y"},
         {{"A", "100,5", "200,25"}, {"B", "101,0", "201"}}},
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
        for (const std::size_t chunk : {std::size_t(1), std::size_t(5), c.text.size()}) {
            SCOPED_TRACE(std::string(c.what) + ", chunks of " + std::to_string(chunk));
            const ReadPoints read = readText(c.text, chunk);
            EXPECT_EQ(read.columns, c.columns);
            EXPECT_EQ(read.rows, c.rows);
        }
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
        {"\xEF\xBB\xBF"
         "A;1;2\nB\xD0;1;2\n",
         "Line 2: an invalid UTF-8 sequence"},
        {"A;1;2\n\nB;1;2" + std::string(kLongestTextLine, ' ') + "\n",
         "Line 3: the line is longer than 1048576 bytes"},
    };
    for (const auto& [text, message] : cases) EXPECT_ERROR(readText(text), message);
}

// The working copy made from a text holds its points as the text writes
// them: the engine reads back every name and coordinate, padded to the most
// decimals any coordinate has.
TEST(PointTextTest, TheTableMadeFromTheTextReadsBackAsTheText) {
    TempFolder folder;
    writeBytes(folder.file("p.dbf"),
               tableBytes(kTochka1 + ";6171234,5;-2310456,78;12,5;\"a, b\"\nB;+1;2;;\n"));
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
    EXPECT_ERROR(tableBytes("A;1" + std::string(25, '0') + ";2\n"),
                 "The X values need 26 characters; a number field holds 20");
}

// GSI-8 and GSI-16 blocks as instruments write them (the measurement and
// code blocks are those of a published GSI-8 example): X the northing (82),
// Y the easting (81), each in metres by its unit, the height a column only
// where a block has one.
TEST(PointTextTest, GsiCoordinateBlocksAreThePoints) {
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> columns;
        Rows rows;
    };
    const std::vector<Case> cases = {
        {"GSI-8 in millimetres among measurement and code blocks",
         "410001+00130027 42....+00001810 43....+00000010 \r\n"
         "110002+00130021 21.102+19723700 22.102+10000000 31..00+00045179 51....+0000+000 \r\n"
         "110003+00000012 81..10+12345678 82..10-00001234 \r\n",
         {"NAME", "X", "Y"},
         {{"12", "-1.234", "12345.678"}}},
        {"GSI-16 with heights in tenths and hundredths of a millimetre",
         "*110001+000000000000A101 81..16+0000004531234567 82..16+0000061712345678 "
         "83..18+0000000000012345\n"
         "*110002+0000000000000102 81..10+0000000000000000 82..10-0000000000000005\n",
         {"NAME", "X", "Y", "H"},
         {{"A101", "6171234.5678", "453123.4567", "0.12345"}, {"102", "-0.005", "0.000", ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ReadPoints read = readText(c.text, 7);
        EXPECT_EQ(read.columns, c.columns);
        EXPECT_EQ(read.rows, c.rows);
    }
}

TEST(PointTextTest, AGsiBlockThatDoesNotFitFailsTheFileNamingTheLine) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"110001+00000001 81..11+00001000 82..11+00002000\n",
         "Line 1: word 81 is in feet; coordinates are read in metres"},
        {"110001+00000001 81..12+00001000 82..10+00002000\n",
         "Line 1: word 81 gives no length unit ('2')"},
        {"110001+00000001 81..10+00001000\n", "Line 1: the northing (word 82) is missing"},
        {"81..10+00001000 82..10+00002000\n", "Line 1: the point number (word 11) is missing"},
        {"110001+00000001 81..10+0000100A 82..10+00002000\n",
         "Line 1: word 81's value '0000100A' is not a number"},
        {"110001+00000001 81..10+00001000 82..10+0000200\n", "Line 1: no GSI word at character 33"},
        {"110001+00000001 21.102+19723700\n",
         "The file holds no coordinates (GSI words 81 and 82)"},
    };
    for (const auto& [text, message] : cases) EXPECT_ERROR(readText(text), message);
}

// The table is written on a second reading: a file that changed since the
// first (another program still writing it) fails rather than giving a table
// that is neither.
TEST(PointTextTest, AFileThatChangesBetweenItsReadingsFails) {
    const std::vector<std::pair<std::string, std::string>> changes = {
        {"A;1;2\nB;3;4\n", "A;1;2\nB;3;4\nC;5;6\n"},
        {"A;1;2\nB;3;4\n", "A;1;2\nB;3;45.5\n"},
        {"A;1;2\nB;3;4\n", "A;1;2\nB;3\n"},
        {"A;1;2\nB;3;4\n", "A;1;2\nB;3;4;h\n"},
    };
    for (const auto& [first, then] : changes) {
        int readings = 0;  // two to learn the shape, then the one that writes
        const TextChunks changing = [&, first = first, then = then](const auto& take) {
            take(readings++ < 2 ? first : then);
        };
        const auto points = readPoints(changing);
        EXPECT_ERROR(writePointTable(*points, std::tm{}, [](std::string_view) {}),
                     "The file changed while it was read");
    }
}

}  // namespace
}  // namespace geocalc
