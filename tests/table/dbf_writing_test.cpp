#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>

#include "dbf_builder.h"
#include "independent_reader.h"
#include "table/table_dataset.h"
#include "table_fixture.h"
#include "temp_folder.h"
#include "test_support.h"

namespace geocalc {
namespace {

namespace fs = std::filesystem;

// A working copy of the shapelib table, open in Table1.
class DbfWritingTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::copy_file(fixturePath("shapelib_cp1251.dbf"), path());
        original = readBytes(path());
        table.setTableName(path());
        table.open();
    }
    std::string path() const { return folder.file("pts.dbf"); }
    std::size_t recordLength() const { return 1 + 10 + 12 + 12; }
    std::size_t headerLength() const { return 32 + 3 * 32 + 1; }
    std::string storedRecord(const std::string& bytes, int physical) const {
        return bytes.substr(headerLength() + std::size_t(physical) * recordLength(),
                            recordLength());
    }

    TempFolder folder;
    std::string original;
    TableDataset table;
};

TEST_F(DbfWritingTest, EditedRecordIsWrittenInPlaceOnPost) {
    table.moveTo(1);
    table.setFieldText(1, "6123500.5");
    EXPECT_EQ(table.state(), DatasetState::Edit);
    EXPECT_EQ(table.fieldText(1), "6123500.5");  // applied, not yet posted
    EXPECT_EQ(readBytes(path()), original);
    table.post();

    const std::string bytes = readBytes(path());
    EXPECT_EQ(storedRecord(bytes, 1), std::string(" \xEF\xEA"
                                                  "2       ") +
                                          " 6123500.500 2345711.330");
    EXPECT_EQ(bytes.size(), original.size());
    EXPECT_EQ(readTable(path())[2][1], "6123500.5");
#ifndef _WIN32  // dbfdump is a Linux program
    EXPECT_EQ(dumpIndependently(path())[1].values,
              (std::vector<std::string>{"\xEF\xEA"
                                        "2",
                                        "6123500.500", "2345711.330"}));
#endif
}

TEST_F(DbfWritingTest, AppendedRecordMovesTheEndMarkerAndTheCount) {
    table.append();
    table.setFieldText(0, "P9");
    table.setFieldText(1, "-1.25");
    table.post();
    EXPECT_EQ(table.rowCount(), 4);
    EXPECT_EQ(table.currentRow(), 3);

    const std::string bytes = readBytes(path());
    EXPECT_EQ(bytes.size(), original.size() + recordLength());
    EXPECT_EQ(bytes.back(), '\x1A');
    EXPECT_EQ(static_cast<unsigned char>(bytes[4]), 4);
    const std::time_t now = std::time(nullptr);
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), std::localtime(&now)->tm_year);  // year - 1900
    EXPECT_EQ(bytes.substr(8, headerLength() - 8), original.substr(8, headerLength() - 8));
#ifndef _WIN32  // dbfdump is a Linux program
    const auto dumped = dumpIndependently(path());
    ASSERT_EQ(dumped.size(), 4u);
    EXPECT_EQ(dumped[3].values, (std::vector<std::string>{"P9", "-1.250", ""}));
#endif
}

TEST_F(DbfWritingTest, DeletedRecordIsMarkedAndHidden) {
    table.moveTo(0);
    table.deleteRecord();
    EXPECT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.fieldText(0),
              "\xEF\xEA"
              "2");
    EXPECT_EQ(readBytes(path())[headerLength()], '*');
    EXPECT_EQ(readTable(path()).size(), 3u);
#ifndef _WIN32  // dbfdump is a Linux program
    const auto dumped = dumpIndependently(path());
    ASSERT_EQ(dumped.size(), 3u);
    EXPECT_TRUE(dumped[0].deleted);
    EXPECT_FALSE(dumped[1].deleted);
#endif
}

TEST_F(DbfWritingTest, CancelledEditsAndInsertionsWriteNothing) {
    table.moveTo(2);
    table.setFieldText(0, "changed");
    table.cancel();
    EXPECT_EQ(table.fieldText(0), "A3");
    table.insert();
    EXPECT_EQ(table.rowCount(), 4);
    EXPECT_EQ(table.insertRow(), 2);
    EXPECT_EQ(table.fieldTextAt(3, 0), "A3");
    table.moveBy(-1);  // an untouched new record is dropped by a move
    EXPECT_EQ(table.rowCount(), 3);
    EXPECT_EQ(table.state(), DatasetState::Browse);
    EXPECT_EQ(readBytes(path()), original);
}

TEST_F(DbfWritingTest, RefusedTextsKeepTheFieldAndTheEditState) {
    TempFolder other;
    const std::string typed = DbfBuilder()
                                  .field("I", 'N', 4)
                                  .field("F", 'N', 8, 2)
                                  .field("D", 'D', 8)
                                  .field("L", 'L', 1)
                                  .record("  12    1.5020240102T")
                                  .bytes();
    writeBytes(other.file("t.dbf"), typed);
    TableDataset t;
    t.setTableName(other.file("t.dbf"));
    t.open();
    struct Case {
        int field;
        std::string text, message;
    };
    const std::vector<Case> cases = {
        {0, "1.5", "'1.5' is not a valid integer value for field 'I'"},
        {0, "12345", "'12345' is not a valid value for field 'I'. It does not fit in 4 characters"},
        {1, "abc", "'abc' is not a valid floating point value for field 'F'"},
        {1, "1,5", "'1,5' is not a valid floating point value for field 'F'"},
        {2, "31/02/2024", "'31/02/2024' is not a valid date for field 'D'"},
        {3, "maybe", "'maybe' is not a valid boolean value for field 'L'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_ERROR(t.setFieldText(c.field, c.text), c.message);
    }
    EXPECT_EQ(
        (std::vector<std::string>{t.fieldText(0), t.fieldText(1), t.fieldText(2), t.fieldText(3)}),
        (std::vector<std::string>{"12", "1.5", "01/02/24", "True"}));
    t.setFieldText(1, "");  // an empty text makes a number blank
    t.setFieldText(2, "12/31/1999");
    t.post();
    EXPECT_EQ(readTable(other.file("t.dbf"))[1],
              (std::vector<std::string>{"12", "", "12/31/99", "True"}));
}

TEST_F(DbfWritingTest, ReadOnlyTableOpensButRefusesEdits) {
    table.close();
    fs::permissions(path(), fs::perms::owner_read);
    table.open();
    EXPECT_TRUE(table.readOnly());
    EXPECT_ERROR(table.setFieldText(0, "x"), "Table1: Cannot modify a read-only dataset");
    EXPECT_ERROR(table.append(), "Table1: Cannot modify a read-only dataset");
    EXPECT_ERROR(table.deleteRecord(), "Table1: Cannot modify a read-only dataset");
    EXPECT_EQ(table.state(), DatasetState::Browse);
}

TEST_F(DbfWritingTest, RecordsAppendedByAnotherProgramAreNotOverwritten) {
    // Another program appends a record and counts it in the header.
    std::string bytes = readBytes(path());
    bytes.pop_back();
    bytes += std::string(" OTHER     ") + "       1.000       2.000" + "\x1A";
    bytes[4] = 4;
    writeBytes(path(), bytes);

    table.append();
    table.setFieldText(0, "MINE");
    table.post();
    const Rows rows = readTable(path());
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[4][0], "OTHER");
    EXPECT_EQ(rows[5][0], "MINE");
}

// Mended: a character the table's code page lacks used to be stored as "?",
// and a text longer than the field was cut without a word.
TEST_F(DbfWritingTest, TextsAreStoredInTheTablesCodePageOrRefusedWhole) {
    TempFolder other;
    fs::copy_file(fixturePath("gdal_cp866.dbf"), other.file("t.dbf"));
    fs::copy_file(fixturePath("gdal_cp866.cpg"), other.file("t.cpg"));
    TableDataset t;
    t.setTableName(other.file("t.dbf"));
    t.open();
    EXPECT_ERROR(t.setFieldText(0, "\xDF\xEC\xE0 \x88"),  // "Яма €": CP866 has no euro sign
                 "The character '\x88' cannot be stored in field 'NAME': the table's code page "
                 "CP866 lacks it");
    EXPECT_ERROR(t.setFieldText(0, std::string(81, 'x')),
                 "'" + std::string(81, 'x') +
                     "' is not a valid value for field 'NAME'. It does not fit in 80 characters");
    EXPECT_EQ(t.fieldText(0), "\xD0\xE5\xEF\xE5\xF0 1");
    t.setFieldText(0, "\xDF\xEC\xE0 " + std::string(76, 'x'));  // exactly 80
    t.post();
    const std::string bytes = readBytes(other.file("t.dbf"));
    EXPECT_EQ(bytes.substr(std::size_t(32 * 4 + 1 + 1), 5), "\x9F\xAC\xA0 x");
    EXPECT_EQ(readTable(other.file("t.dbf"))[1][0], "\xDF\xEC\xE0 " + std::string(76, 'x'));
}

}  // namespace
}  // namespace geocalc
