#include <gtest/gtest.h>

#include <filesystem>

#include "dbf_builder.h"
#include "table/table_dataset.h"
#include "table_fixture.h"
#include "temp_folder.h"
#include "test_support.h"

namespace geocalc {
namespace {

// Windows-1251 texts of the fixtures.
const std::string kReper1 = "\xD0\xE5\xEF\xE5\xF0 1";  // Репер 1
const std::string kPk2 =
    "\xEF\xEA"
    "2";  // пк2

struct FixtureCase {
    const char* file;
    Rows rows;
};

TEST(DbfReadingTest, TablesWrittenByIndependentTools) {
    const std::vector<FixtureCase> cases = {
        {"shapelib_cp1251.dbf",
         {{"NAME", "X", "Y"},
          {kReper1, "6123456.78", "2345678.91"},
          {kPk2, "6123501.02", "2345711.33"},
          {"A3", "-12.5", "0"}}},
        {"gdal_cp866.dbf",  // CP866 by its .cpg; the deleted record is not shown
         {{"NAME", "X", "Y"},
          {kReper1, "100.5", "200.25"},
          {"\xD2\xEE\xF7\xEA\xE0", "300", ""},
          {"\xEF\xEE\xF1\xEB\xE5\xE4\xED\xFF\xFF", "-7.125", "8"}}},
        {"pydbf_db3.dbf",
         {{"NAME", "X", "Y", "OK", "SEEN", "NOTE"},
          {kReper1, "6123456.78", "2345678.91", "True", "12/31/24",
           "\xE1\xE5\xF2\xEE\xED\xED\xFB\xE9 \xF1\xF2\xEE\xEB\xE1"},
          {kPk2, "1.5", "-2.25", "False", "", ""},
          {"", "", "", "", "", "\xE2\xF2\xEE\xF0\xE0\xFF\r\n\xF1\xF2\xF0\xEE\xEA\xE0"}}},
        {"pydbf_fox.dbf",
         {{"NAME", "X", "Y", "NOTE"}, {kReper1, "10", "20", "\xE7\xE0\xEC\xE5\xF2\xEA\xE0"}}},
        {"pydbf_vfp.dbf",  // python3-dbf stores the currency 12.3456 cut to 12.3455
         {{"NAME", "N", "PRICE", "D", "WHEN", "MAYBE"},
          {kReper1, "-42", "12.3455", "0.1", "05/06/24 07:08:09", ""},
          {kPk2, "7", "0", "-1.5", "", "3.5"}}},
        {"shapelib_one_field.dbf", {{"NAME"}, {"P1"}}},
        {"shapelib_two_fields.dbf", {{"NAME", "X"}, {"P1", "100.25"}}},
        {"shapelib_empty.dbf", {{"NAME", "X", "Y"}}},
    };
    for (const FixtureCase& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(readTable(fixturePath(c.file)), c.rows);
    }
}

TEST(DbfReadingTest, NumbersAreWrittenWithTheUsersSeparator) {
    SeparatorGuard comma(',');
    EXPECT_EQ(readTable(fixturePath("shapelib_cp1251.dbf"))[1],
              (std::vector<std::string>{kReper1, "6123456,78", "2345678,91"}));
}

// Copies a fixture into a temporary folder, where the test may change it.
std::string copyOf(const TempFolder& folder, const std::string& name, const std::string& as) {
    std::filesystem::copy_file(fixturePath(name), folder.file(as));
    return folder.file(as);
}

TEST(DbfReadingTest, CodePageFileBesideTheTableWins) {
    TempFolder folder;
    const std::string path = copyOf(folder, "gdal_cp866.dbf", "t.dbf");
    EXPECT_EQ(readTable(path)[1][0], kReper1);  // no .cpg: language driver 0 means CP866 too
    writeBytes(folder.file("t.cpg"), "CP437");
    EXPECT_NE(readTable(path)[1][0], kReper1);
    writeBytes(folder.file("t.cpg"), "OEM 866\r\n");
    EXPECT_EQ(readTable(path)[1][0], kReper1);
}

TEST(DbfReadingTest, CodePagesByAnyNameIconvKnows) {
    struct Case {
        std::string cpg;  // empty: no .cpg file
        std::uint8_t driver;
        std::string stored;
    };
    const std::vector<Case> cases = {
        {"KOI8-R", 0, "\xF2\xC5\xD0\xC5\xD2"},
        {"koi8-r\r\n", 0, "\xF2\xC5\xD0\xC5\xD2"},
        {"ISO-8859-5", 0, "\xC0\xD5\xDF\xD5\xE0"},
        {"CP1251", 0, "\xD0\xE5\xEF\xE5\xF0"},
        {"1251", 0, "\xD0\xE5\xEF\xE5\xF0"},
        {"ANSI 1251", 0, "\xD0\xE5\xEF\xE5\xF0"},
        {"UTF-8", 0, "Репер"},
        {"NO-SUCH-PAGE", 0xC9, "\xD0\xE5\xEF\xE5\xF0"},  // the language driver decides
        {"NO-SUCH-PAGE", 0x00, "\x90\xA5\xAF\xA5\xE0"},  // no page named at all: CP866
#ifndef _WIN32                                           // Windows has the Greek Mac page
        {"", 0x98, "\x90\xA5\xAF\xA5\xE0"},              // a page this system lacks: CP866
#endif
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cpg + " driver " + std::to_string(c.driver));
        TempFolder folder;
        writeBytes(
            folder.file("t.dbf"),
            DbfBuilder().field("NAME", 'C', 10).languageDriver(c.driver).record(c.stored).bytes());
        if (!c.cpg.empty()) writeBytes(folder.file("t.cpg"), c.cpg);
        EXPECT_EQ(readTable(folder.file("t.dbf"))[1][0], "\xD0\xE5\xEF\xE5\xF0");
    }
}

TEST(DbfReadingTest, MissingMemoFileReadsAsBlankMemos) {
    TempFolder folder;
    const std::string path = copyOf(folder, "pydbf_db3.dbf", "m.dbf");
    const Rows rows = readTable(path);
    EXPECT_EQ(rows[1][0], kReper1);
    EXPECT_EQ(rows[1][5], "");
}

TEST(DbfReadingTest, FieldsAndRecordsOfAClosedOrEmptyTable) {
    TableDataset table;
    EXPECT_EQ(table.fieldCount(), 0);
    EXPECT_ERROR(table.fieldText(0), "List index out of bounds (0)");
    table.setTableName(fixturePath("shapelib_empty.dbf"));
    table.open();
    EXPECT_EQ(table.rowCount(), 0);
    EXPECT_EQ(table.fieldText(2), "");
    EXPECT_ERROR(table.fieldText(3), "List index out of bounds (3)");
}

}  // namespace
}  // namespace geocalc
