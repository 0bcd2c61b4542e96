#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <limits>

#include "dbf_builder.h"
#include "table/dbf_table.h"
#include "table/memo_file.h"
#include "table/table_dataset.h"
#include "table_fixture.h"
#include "temp_folder.h"
#include "test_support.h"

namespace geocalc {
namespace {

DbfBuilder pointTable() {
    return DbfBuilder().field("NAME", 'C', 6).field("X", 'N', 8, 2).field("Y", 'N', 8, 2);
}

class DbfHostileTest : public ::testing::Test {
protected:
    std::string write(const std::string& bytes) {
        writeBytes(folder.file("t.dbf"), bytes);
        return folder.file("t.dbf");
    }
    std::string fileLine() const { return "\r\nFile: " + folder.file("t.dbf"); }
    TempFolder folder;
};

TEST_F(DbfHostileTest, BrokenHeadersAreRefusedWithAClearMessage) {
    const std::string good = pointTable().record("P1      1.00    2.00").bytes();
    struct Case {
        const char* what;
        std::function<void(std::string&)> breakIt;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"truncated header", [](std::string& b) { b.resize(20); },
         "Corrupt table header: the file is shorter than a table header."},
        {"empty file", [](std::string& b) { b.clear(); },
         "Corrupt table header: the file is shorter than a table header."},
        {"header length beyond the file", [](std::string& b) { DbfBuilder::put16(b, 8, 60000); },
         "Corrupt table header: the header runs beyond the end of the file."},
        {"header length too small", [](std::string& b) { DbfBuilder::put16(b, 8, 20); },
         "Corrupt table header: the header length is too small."},
        {"zero record length", [](std::string& b) { DbfBuilder::put16(b, 10, 0); },
         "Corrupt table header: the record length is zero."},
        {"field beyond the record", [](std::string& b) { DbfBuilder::put16(b, 10, 10); },
         "Corrupt table header: field X lies beyond the record."},
        {"field of no length", [](std::string& b) { b[32 + 16] = 0; },
         "Corrupt table header: field NAME has no length."},
        // No field descriptor before the terminator, whatever the record length.
        {"header of the terminator only", [](std::string& b) { DbfBuilder::put16(b, 8, 33); },
         "Corrupt table header: the table has no fields."},
        {"terminator only, records of the flag alone",
         [](std::string& b) {
             DbfBuilder::put16(b, 8, 33);
             DbfBuilder::put16(b, 10, 1);
         },
         "Corrupt table header: the table has no fields."},
        {"terminator first in a longer header",
         [](std::string& b) { b[32] = char(kDescriptorEnd); },
         "Corrupt table header: the table has no fields."},
        {"dBASE II", [](std::string& b) { b[0] = 0x02; },
         "dBASE II tables are not supported; save the table in dBASE III or later."},
        {"dBASE 7", [](std::string& b) { b[0] = 0x04; },
         "dBASE 7 tables are not supported; save the table as dBASE III, IV or 5."},
        {"not a table", [](std::string& b) { b[0] = 'P'; },
         "Not a dBASE table (unknown version byte 80)."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes = good;
        c.breakIt(bytes);
        EXPECT_ERROR(readTable(write(bytes)), c.message + fileLine());
    }
}

TEST_F(DbfHostileTest, MissingTableOrAFolder) {
    EXPECT_ERROR(readTable(folder.file("t.dbf")), "Table does not exist." + fileLine());
    std::filesystem::create_directory(folder.file("t.dbf"));
    EXPECT_ERROR(readTable(folder.file("t.dbf")), "Not a table: it is a folder." + fileLine());
}

#ifndef _WIN32  // FIFOs and /dev/zero
// Nothing may wait on a FIFO or read a device: each open below fails at once.
TEST_F(DbfHostileTest, OnlyRegularFilesAreReadAsTablesMemosAndCodePages) {
    ::alarm(20);  // a hang ends the test instead of the run
    ASSERT_EQ(::mkfifo(folder.file("t.dbf").c_str(), 0644), 0);
    EXPECT_ERROR(readTable(folder.file("t.dbf")),
                 "Not a table: it is not a regular file." + fileLine());
    std::filesystem::remove(folder.file("t.dbf"));
    std::filesystem::create_symlink("/dev/zero", folder.file("t.dbf"));
    EXPECT_ERROR(readTable(folder.file("t.dbf")),
                 "Not a table: it is not a regular file." + fileLine());
    std::filesystem::remove(folder.file("t.dbf"));

    const std::string memoTable = DbfBuilder(0x83).field("M", 'M', 10).record("         1").bytes();
    ASSERT_EQ(::mkfifo(folder.file("t.dbt").c_str(), 0644), 0);
    EXPECT_ERROR(readTable(write(memoTable)),
                 "Not a memo file: it is not a regular file.\r\nFile: " + folder.file("t.dbt"));

    ASSERT_EQ(::mkfifo(folder.file("t.cpg").c_str(), 0644), 0);
    EXPECT_ERROR(
        readTable(write(pointTable().bytes())),
        "Not a code page file: it is not a regular file.\r\nFile: " + folder.file("t.cpg"));
    std::filesystem::remove(folder.file("t.cpg"));
    std::filesystem::create_directory(folder.file("t.cpg"));
    EXPECT_ERROR(readTable(write(pointTable().bytes())),
                 "Not a code page file: it is a folder.\r\nFile: " + folder.file("t.cpg"));
    ::alarm(0);
}

// Counting billions of records in time relies on the holes of a sparse file
// being stepped over, which only the POSIX build does.
TEST_F(DbfHostileTest, EveryRecordCountTheHeaderCanHoldIsCountedRight) {
    const std::uint64_t most = std::numeric_limits<std::uint32_t>::max();
    auto table = DbfTable::open(sparseTable(folder.file("t.dbf"), most));
    EXPECT_EQ(table->visibleCount(), most);
    EXPECT_EQ(table->physicalOf(std::uint32_t(most - 1)), most - 1);
    EXPECT_EQ(table->record(std::uint32_t(most - 1)), std::string(2, '\0'));
    EXPECT_ERROR(
        table->appendRecord(table->blankRecord()),
        "Cannot append a record: the table holds as many records as a table can." + fileLine());
}

TEST_F(DbfHostileTest, TablesTooLargeForTheGridAreRefused) {
    const std::string path = sparseTable(folder.file("t.dbf"), std::uint64_t(1) << 31);
    const std::string message =
        "Table1: The table has 2147483648 records, more than the 2147483646 that can be shown";
    EXPECT_ERROR(readTable(path), message);

    const std::string fits =
        sparseTable(folder.file("fits.dbf"), std::numeric_limits<int>::max() - 1);
    TableDataset table;
    table.setTableName(fits);
    table.open();
    EXPECT_EQ(table.rowCount(), std::numeric_limits<int>::max() - 1);
    table.last();
    EXPECT_EQ(table.currentRow(), std::numeric_limits<int>::max() - 2);
}

#endif

TEST_F(DbfHostileTest, RecordCountIsWhatTheFileReallyHolds) {
    std::string bytes =
        pointTable().record("P1      1.00    2.00").record("P2      3.00    4.00").bytes();
    DbfBuilder::put32(bytes, 4, 3'000'000'000u);  // billions claimed, two held
    EXPECT_EQ(readTable(write(bytes)).size(), 3u);

    bytes.pop_back();                // no end marker
    bytes.resize(bytes.size() - 5);  // and the last record cut short
    EXPECT_EQ(readTable(write(bytes)), (Rows{{"NAME", "X", "Y"}, {"P1", "1", "2"}}));
}

TEST_F(DbfHostileTest, GarbageInFieldsReadsAsBlank) {
    const std::string bytes = DbfBuilder()
                                  .field("N", 'N', 6, 2)
                                  .field("L", 'L', 1)
                                  .field("D", 'D', 8)
                                  .field("M", 'M', 10)
                                  .record("******?20241399    999999")
                                  .record(std::string("\0\0\0\0\0\0", 6) + "x00000000abcdefghij")
                                  .record(" 1,5  T20240229         1")
                                  .bytes();
    EXPECT_EQ(readTable(write(bytes)), (Rows{{"N", "L", "D", "M"},
                                             {"", "", "", ""},
                                             {"", "", "", ""},
                                             {"", "True", "02/29/24", ""}}));
}

TEST_F(DbfHostileTest, MemoBlocksBeyondTheMemoFileReadAsBlank) {
    const std::string bytes = DbfBuilder(0x83)
                                  .field("M", 'M', 10)
                                  .record("         1")
                                  .record("4294967295")
                                  .record("        99")
                                  .bytes();
    std::string memo(512, '\0');
    memo += "first memo\x1A\x1A";
    writeBytes(folder.file("t.dbt"), memo);
    EXPECT_EQ(readTable(write(bytes)), (Rows{{"M"}, {"first memo"}, {""}, {""}}));
    TableDataset table;
    table.setTableName(folder.file("t.dbf"));
    table.open();
    EXPECT_EQ(
        (std::vector<bool>{table.isBlankAt(0, 0), table.isBlankAt(1, 0), table.isBlankAt(2, 0)}),
        (std::vector<bool>{false, true, true}));
    table.close();

    writeBytes(folder.file("t.dbt"), "");  // an empty memo file
    EXPECT_EQ(readTable(write(bytes)), (Rows{{"M"}, {""}, {""}, {""}}));
}

// Memo files that would make a memo of tens of megabytes: a sparse file of
// NULs, a block header declaring more than the blocks in use, real text
// beyond the most a field shows. Each gives a bounded text.
TEST_F(DbfHostileTest, MemosEndAtANulAndAreCutAtTheBlocksInUseOrAMegabyte) {
    constexpr std::uint64_t kSparseSize = 70u << 20;
    const std::string cut = MemoFile::kCutMarker;
    auto memoFile = [](std::uint32_t nextFree, const std::string& block1) {
        std::string memo(512, '\0');
        DbfBuilder::put16(memo, 0, std::uint16_t(nextFree));
        return memo + block1;
    };
    auto dbaseIVBlock = [](std::uint32_t length, const std::string& text) {
        std::string header("\xFF\xFF\x08\x00\0\0\0\0", 8);
        writeUint32(header.data() + 4, length + 8);
        return header + text;
    };
    const std::string megabyte(MemoFile::kMaxMemoSize, 'a');
    struct Case {
        const char* what;
        std::string memo;
        std::uint64_t sparseSize;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"dBASE III memo in a sparse file", memoFile(0, ""), kSparseSize, ""},
        {"dBASE IV length over a sparse file", memoFile(0, dbaseIVBlock(kSparseSize, "abc")),
         kSparseSize, "abc"},
        {"dBASE IV length beyond the next free block",
         memoFile(2, dbaseIVBlock(2000, std::string(2000, 'b'))), 0, std::string(504, 'b') + cut},
        {"dBASE III text over a megabyte", memoFile(0, megabyte + "tail\x1A"), 0, megabyte + cut},
        {"dBASE III text of a megabyte", memoFile(0, megabyte + "\x1A"), 0, megabyte},
    };
    const std::string bytes = DbfBuilder(0x83).field("M", 'M', 10).record("         1").bytes();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeBytes(folder.file("t.dbt"), c.memo);
        if (c.sparseSize) std::filesystem::resize_file(folder.file("t.dbt"), c.sparseSize);
        const Rows rows = readTable(write(bytes));
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[1][0].size(), c.text.size());
        EXPECT_TRUE(rows[1][0] == c.text);
    }
}

TEST_F(DbfHostileTest, DescriptorsEndAtTheHeaderLengthWithoutATerminator) {
    std::string bytes = pointTable().record("P1      1.00    2.00").bytes();
    bytes[32 + 3 * 32] = 'Z';  // the terminator overwritten: the header length still ends the list
    EXPECT_EQ(readTable(write(bytes)), (Rows{{"NAME", "X", "Y"}, {"P1", "1", "2"}}));
}

TEST_F(DbfHostileTest, ClipperLongTextFieldsKeepTheirHighLengthByte) {
    const std::string text(300, 'a');
    std::string bytes = DbfBuilder().field("LONG", 'C', 300).record(text + "   ").bytes();
    EXPECT_EQ(readTable(write(bytes)), (Rows{{"LONG"}, {text}}));

    // A stray decimals byte on a short text field, where a high byte would
    // not fit the record: the length byte alone counts.
    bytes = pointTable().record("P1      1.00    2.00").bytes();
    bytes[32 + 17] = 2;
    EXPECT_EQ(readTable(write(bytes)), (Rows{{"NAME", "X", "Y"}, {"P1", "1", "2"}}));
}

}  // namespace
}  // namespace geocalc
