#include "cli/table_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "charset/code_page.h"
#include "cli/cli_io.h"
#include "cli/terminal_text.h"
#include "table/dbf_builder.h"
#include "temp_folder.h"
#include "test_support.h"

namespace geocalc::cli {
namespace {

std::string fixture(const std::string& name) {
    return std::string(GEOCALC_SOURCE_DIR) + "/tests/table/fixtures/" + name;
}

TraverseOptions options(bool byName, std::string outputPath = "", bool utf8 = false) {
    TraverseOptions o;
    o.byName = byName;
    o.outputPath = std::move(outputPath);
    o.utf8 = utf8;
    return o;
}

TEST(TableCommandsTest, ShowPrintsEveryRecordTabSeparatedInUtf8) {
    std::ostringstream out;
    EXPECT_EQ(runShow({fixture("pydbf_db3.dbf")}, out), 0);
    EXPECT_EQ(out.str(),
              "NAME\tX\tY\tOK\tSEEN\tNOTE\n"
              "Репер 1\t6123456.78\t2345678.91\tTrue\t12/31/24\tбетонный столб\n"
              "пк2\t1.5\t-2.25\tFalse\t\t\n"
              "\t\t\t\t\tвторая\\r\\nстрока\n");
}

// Every byte, at every place of a text shorter and longer than a word,
// shows as show's rules say: the escapes, other controls as \xHH, letters
// in UTF-8, the rest as it is; field names too, a number field's as well.
TEST(TableCommandsTest, ShowEscapesEveryByteWhereverItStands) {
    auto shown = [](std::string text) {
        text = text.substr(0, text.find('\0'));
        text.erase(text.find_last_not_of(' ') + 1);
        std::string line;
        for (const char c : text) {
            const auto byte = static_cast<unsigned char>(c);
            if (c == '\t' || c == '\r' || c == '\n' || c == '\\') {
                line += c == '\t' ? "\\t" : c == '\r' ? "\\r" : c == '\n' ? "\\n" : "\\\\";
            } else if (byte < 0x20 || byte == 0x7F) {
                appendHexEscape(line, byte);
            } else {
                line += utf8FromAnsi(std::string(1, c));
            }
        }
        return line;
    };
    DbfBuilder table;
    table.field("LONG", 'C', 20).field("SHORT", 'C', 6).field("N\tUM", 'N', 5);
    std::string expected = "LONG\tSHORT\tN\\tUM\n";
    for (int byte = 0; byte < 256; ++byte) {
        std::string longText = "abcdefghijklmnopq", shortText = "abcde";
        longText[std::size_t(byte % 17)] = char(byte);
        shortText[std::size_t(byte % 5)] = char(byte);
        table.textRecord({longText, shortText});
        expected += shown(longText) + "\t" + shown(shortText) + "\t\n";
    }
    TempFolder folder;
    writeBytes(folder.file("bytes.dbf"), table.bytes());
    std::ostringstream out;
    runShow({folder.file("bytes.dbf")}, out);
    EXPECT_EQ(out.str(), expected);
}

TEST(TableCommandsTest, ShowWritesNumbersWithALetterSeparatorInUtf8) {
    SeparatorGuard letter('\xE6');  // "ж" in Windows-1251
    std::ostringstream out;
    runShow({fixture("pydbf_db3.dbf")}, out);
    EXPECT_NE(out.str().find("\nпк2\t1ж5\t-2ж25\tFalse\t\t\n"), std::string::npos) << out.str();
}

TEST(TableCommandsTest, TraversePicksByNumberOrNameAndWritesTheResults) {
    const std::string expected =
        "\xD0\xE5\xEF\xE5\xF0 1 6123456.78 2345678.91 36\xB0"
        "14'5.1\" 54.8\r\n"
        "\xEF\xEA"
        "2 6123501.02 2345711.33 216\xB0"
        "14'5.1\" 54.8\r\n";
    std::ostringstream byNumber, byName;
    runTraverseCommand({fixture("shapelib_cp1251.dbf"), "1", "2"}, {}, byNumber);
    EXPECT_EQ(byNumber.str(), expected);
    runTraverseCommand({fixture("shapelib_cp1251.dbf"), "Репер 1", "пк2"}, options(true), byName);
    EXPECT_EQ(byName.str(), expected);

    TempFolder folder;
    std::ostringstream none;
    runTraverseCommand({fixture("shapelib_cp1251.dbf"), "1", "2"},
                       options(false, folder.file("r.txt")), none);
    EXPECT_EQ(readBytes(folder.file("r.txt")), expected);
    runTraverseCommand({fixture("shapelib_cp1251.dbf"), "1", "2"},
                       options(false, folder.file("u.txt"), true), none);
    EXPECT_EQ(readBytes(folder.file("u.txt")),
              "Репер 1 6123456.78 2345678.91 36°14'5.1\" 54.8\r\n"
              "пк2 6123501.02 2345711.33 216°14'5.1\" 54.8\r\n");
    EXPECT_EQ(none.str(), "");
}

TEST(TableCommandsTest, TraverseFailuresAndWrongArguments) {
    std::ostringstream out;
    EXPECT_ERROR(runTraverseCommand({fixture("shapelib_cp1251.dbf"), "1", "4"}, {}, out),
                 "Record 4 does not exist: the table has 3 records");
    EXPECT_ERROR(runTraverseCommand({fixture("shapelib_cp1251.dbf"), "нет"}, options(true), out),
                 "No record is named '\xED\xE5\xF2'");
    EXPECT_ERROR(runTraverseCommand({fixture("shapelib_cp1251.dbf"), "1"}, {}, out),
                 "Invalid floating point operation");
    EXPECT_ERROR(runTraverseCommand({fixture("shapelib_two_fields.dbf"), "1"}, {}, out),
                 "List index out of bounds (2)");
    EXPECT_THROW(runTraverseCommand({fixture("shapelib_cp1251.dbf"), "first"}, {}, out),
                 UsageError);
    EXPECT_THROW(runTraverseCommand({fixture("shapelib_cp1251.dbf")}, {}, out), UsageError);
    EXPECT_THROW(runShow({}, out), UsageError);
    EXPECT_EQ(out.str(), "");
}

TEST(TableCommandsTest, TablesTooLargeToCountInRowsAreRefused) {
    TempFolder folder;
    const std::string path = sparseTable(folder.file("big.dbf"), std::uint64_t(1) << 31);
    const std::string message =
        "Table1: The table has 2147483648 records, more than the 2147483646 that can be shown";
    std::ostringstream out;
    EXPECT_ERROR(runShow({path}, out), message);
    EXPECT_ERROR(runTraverseCommand({path, "1", "2"}, {}, out), message);
    EXPECT_EQ(out.str(), "");
}

TEST(TableCommandsTest, ShowAndTraverseLeaveTheTableUntouched) {
    TempFolder folder;
    std::filesystem::copy_file(fixture("shapelib_cp1251.dbf"), folder.file("t.dbf"));
    const std::string before = readBytes(folder.file("t.dbf"));
    std::ostringstream out;
    runShow({folder.file("t.dbf")}, out);
    runTraverseCommand({folder.file("t.dbf"), "1", "2", "3"}, {}, out);
    EXPECT_EQ(readBytes(folder.file("t.dbf")), before);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"t.dbf"});  // no working copy
}

}  // namespace
}  // namespace geocalc::cli

namespace geocalc::cli {
namespace {

TEST(TableCommandsTest, ShippedSampleIsAClosedTraverse) {
    const std::string sample = std::string(GEOCALC_SOURCE_DIR) + "/samples/pts.dat";
    std::ostringstream shown, results;
    runShow({sample}, shown);
    const std::string firstLines = "NAME\tX\tY\nРепер 1\t6171234.56\t2310456.78\n";
    EXPECT_EQ(shown.str().substr(0, firstLines.size()), firstLines);
    TraverseOptions utf8;
    utf8.utf8 = true;
    runTraverseCommand({sample, "1", "2", "3", "4", "5", "6", "7", "8"}, utf8, results);
    const std::string text = results.str();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 8);
    EXPECT_EQ(text.substr(0, text.find('\r')), "Репер 1 6171234.56 2310456.78 38°35'53.7\" 209.3");
}

// A point text file is read wherever a table is, through the table the
// window would make of it (left nowhere afterwards); convert writes that
// table for good.
TEST(TableCommandsTest, APointTextFileIsReadAsTheTableItsPointsMake) {
    TempFolder folder;
    const std::string csv = folder.file("pts.csv");
    writeBytes(csv, "name;x;y\nA;0;0\nB;100,5;0\nC;100,5;200\n");
#ifndef _WIN32
    setenv("TMPDIR", folder.path().c_str(), 1);  // where the table made meanwhile goes
#endif
    std::ostringstream shown, fromText, fromTable;
    runShow({csv}, shown);
    EXPECT_EQ(shown.str(), "NAME\tX\tY\nA\t0\t0\nB\t100.5\t0\nC\t100.5\t200\n");
    runTraverseCommand({csv, "1", "2", "3"}, {}, fromText);

    EXPECT_EQ(runConvert({csv}, folder.file("pts.dat")), 0);
    runTraverseCommand({folder.file("pts.dat"), "1", "2", "3"}, {}, fromTable);
    EXPECT_EQ(fromText.str(), fromTable.str());
    EXPECT_NE(fromText.str().find("A 0 0 "), std::string::npos) << fromText.str();
#ifndef _WIN32
    unsetenv("TMPDIR");
    std::vector<std::string> names = folder.names();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"pts.csv", "pts.dat"}));  // nothing left behind
#endif

    EXPECT_ERROR(runConvert({csv}, folder.file("no/pts.dat")),
                 "Cannot write '" + folder.file("no/pts.dat") + "': the folder does not exist");

    writeBytes(csv, "A;0;0\nB;abc;0\n");
    std::ostringstream out;
    EXPECT_ERROR(runShow({csv}, out), "Cannot read the points of '" + csv +
                                          "': Line 2: 'abc' is not a valid floating point value");
    EXPECT_ERROR(runConvert({folder.file("pts.dat")}, folder.file("again.dat")),
                 "Cannot convert '" + folder.file("pts.dat") +
                     "': it is a dBASE table already, or no file that can be read");
    EXPECT_THROW(runConvert({csv}, ""), UsageError);
}

// GSI records are told by their content, not the file's name.
TEST(TableCommandsTest, AnInstrumentsRecordsAreReadAsTheirPoints) {
    TempFolder folder;
    const std::string records = folder.file("survey.txt");
    writeBytes(records,
               "110001+0000000A 81..10+00200000 82..10+00100500 \r\n"
               "110002+00000000 21.102+19723700 22.102+10000000 31..00+00045179 \r\n"
               "110003+0000000B 81..10+00200250 82..10+00100000 \r\n");
    std::ostringstream shown;
    runShow({records}, shown);
    EXPECT_EQ(shown.str(), "NAME\tX\tY\nA\t100.5\t200\nB\t100\t200.25\n");
}

}  // namespace
}  // namespace geocalc::cli
