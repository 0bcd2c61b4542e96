#include "table/survey_table.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "table_fixture.h"
#include "temp_folder.h"
#include "test_support.h"

namespace geocalc {
namespace {

namespace fs = std::filesystem;

TEST(WorkingCopyNameTest, FirstDotAndThreeCharactersGive) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"pts.dat", "pts.dbf"},
        {"PTS.DAT", "PTS.dbf"},
        {"pts.data", "ptsa.dbf"},
        {"a.b.dat", "aat.dbf"},
        {"x.da", "x.dbf"},
        {"pts", "pts.dbf"},
        {"pts.dbf", "pts.dbf"},
        {".dat", ".dbf"},
        {"2024.01 north.dat", "2024north.dat.dbf"},
        {"data.dbf.dat", "data.dat.dbf"},
        // UTF-8 names: characters are counted, never cut in half.
        {"точки.дат", "точки.dbf"},
        {"a.пкт", "a.dbf"},
        {"a.пкт2", "a2.dbf"},
        {"ж.д", "ж.dbf"},
        {"a.\xFF\xFEz", "a.dbf"},
    };
    for (const auto& [picked, working] : cases)
        EXPECT_EQ(workingCopyName(picked), working) << picked;
}

class SurveyTableTest : public ::testing::Test {
protected:
    std::string survey(const std::string& name, const char* fixture = "shapelib_cp1251.dbf") {
        fs::copy_file(pathFromUtf8(fixturePath(fixture)), pathFromUtf8(folder.file(name)),
                      fs::copy_options::overwrite_existing);
        return folder.file(name);
    }
    TempFolder folder;
    TableDataset table;
};

TEST_F(SurveyTableTest, OpensTheWorkingCopyBesideTheSurveyTable) {
    const std::string picked = survey("pts.dat");
    const std::string workingCopy = openSurveyTable(picked, table);
    EXPECT_TRUE(table.active());
    EXPECT_EQ(table.databaseName(),
              utf8FromPath(folder.path()) + char(fs::path::preferred_separator));
    EXPECT_EQ(table.tableName(), "pts.dbf");
    EXPECT_EQ(workingCopy, folder.file("pts.dbf"));
    EXPECT_EQ(readBytes(folder.file("pts.dbf")), readBytes(picked));

    // The dialog then offers the working copy itself: nothing changes.
    EXPECT_EQ(openSurveyTable(workingCopy, table), workingCopy);
    openSurveyTable(picked, table);  // the same table again
    EXPECT_EQ(table.filePath(), folder.file("pts.dbf"));
}

// A point text file opens as a survey table: its working copy, beside it
// by the same name rule, is the table its points make; a text that does not
// fit leaves the old working copy as it was and says which line.
TEST_F(SurveyTableTest, APointTextFileOpensAsTheTableItsPointsMake) {
    writeBytes(folder.file("pts.csv"),
               "name;x;y\r\nA;6171234,56;2310456,78\r\nB;6171398,1;2310587\r\n");
    EXPECT_EQ(openSurveyTable(folder.file("pts.csv"), table), folder.file("pts.dbf"));
    ASSERT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.field(1).name, "X");
    table.moveTo(1);
    EXPECT_EQ(table.fieldText(0), "B");
    EXPECT_EQ(table.fieldText(1), "6171398.1");
    EXPECT_EQ(table.fieldText(2), "2310587");
    table.close();

    const std::string before = readBytes(folder.file("pts.dbf"));
    writeBytes(folder.file("pts.csv"), "A;1;2\nB;abc;3\n");
    EXPECT_ERROR(openSurveyTable(folder.file("pts.csv"), table),
                 "Cannot copy the survey table '" + folder.file("pts.csv") +
                     "' to its working copy '" + folder.file("pts.dbf") +
                     "': Line 2: 'abc' is not a valid floating point value");
    EXPECT_EQ(readBytes(folder.file("pts.dbf")), before);
    EXPECT_FALSE(table.active());
}

TEST_F(SurveyTableTest, AnotherTableIsCopiedThenRefusedWhileOneIsOpen) {
    openSurveyTable(survey("a.dat"), table);
    const std::string copied = copyToWorkingCopy(survey("b.dat", "shapelib_two_fields.dbf"), table);
    EXPECT_EQ(copied, folder.file("b.dbf"));
    EXPECT_TRUE(fs::exists(folder.file("b.dbf")));
    EXPECT_ERROR(openWorkingCopy(copied, table),
                 "Table1: Cannot perform this operation on an open dataset");
    EXPECT_EQ(table.filePath(), folder.file("a.dbf"));
    EXPECT_EQ(table.fieldCount(), 3);
}

TEST_F(SurveyTableTest, MissingSurveyTableOpensAnOlderWorkingCopyOrFails) {
    EXPECT_ERROR(openSurveyTable(folder.file("gone.dat"), table),
                 "Table does not exist.\r\nFile: " + folder.file("gone.dbf"));
    EXPECT_FALSE(table.active());
    EXPECT_EQ(table.tableName(), "gone.dbf");  // the settings stay for the next try

    fs::copy_file(fixturePath("shapelib_one_field.dbf"), folder.file("gone.dbf"));
    openSurveyTable(folder.file("gone.dat"), table);
    EXPECT_EQ(table.fieldCount(), 1);
}

TEST_F(SurveyTableTest, NamesThatNameNoSurveyTableFailOnlyInTheOpen) {
    const std::string file = survey("pts.dat");
    const std::string tooLong = folder.file(std::string(300, 'n') + ".dat");
#ifdef _WIN32  // a path through a file, or too long, is a path not found there
    const std::string notAFolder = "Table does not exist.", tooLongName = "Table does not exist.";
#else
    const std::string notAFolder = "Not a directory.", tooLongName = "File name too long.";
#endif
    const std::vector<std::pair<std::string, std::string>> cases = {
        {file + "/y.dat", notAFolder + "\r\nFile: " + file + "/y.dbf"},
        {tooLong, tooLongName + "\r\nFile: " + folder.file(std::string(300, 'n') + ".dbf")},
    };
    for (const auto& [picked, message] : cases) {
        EXPECT_ERROR(openSurveyTable(picked, table), message);
        EXPECT_FALSE(table.active());
    }
}

TEST_F(SurveyTableTest, TheLongestNamesAreCopied) {
    std::string name;  // 123 Cyrillic letters, then ".dat": 250 bytes
    for (int i = 0; i < 123; ++i) name += "ж";
    openSurveyTable(survey(name + ".dat"), table);
    EXPECT_EQ(table.tableName(), name + ".dbf");
    EXPECT_EQ(table.rowCount(), 3);
}

#ifndef _WIN32  // FIFOs and /dev/zero
TEST_F(SurveyTableTest, SurveyTablesThatAreNoRegularFilesAreRefusedAtOnce) {
    ::alarm(20);  // a hang ends the test instead of the run
    ASSERT_EQ(::mkfifo(folder.file("fifo.dat").c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", folder.file("zero.dat"));
    fs::create_directory(folder.file("dir.dat"));
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"fifo", "it is not a regular file"},
        {"zero", "it is not a regular file"},
        {"dir", "it is a folder"}};
    for (const auto& [name, reason] : cases) {
        EXPECT_ERROR(openSurveyTable(folder.file(name + ".dat"), table),
                     "Cannot copy the survey table '" + folder.file(name + ".dat") +
                         "' to its working copy '" + folder.file(name + ".dbf") + "': " + reason);
        EXPECT_FALSE(fs::exists(folder.file(name + ".dbf")));
    }
    ::alarm(0);
}
#endif

TEST_F(SurveyTableTest, CopyThatCannotBeWrittenStopsBeforeOpening) {
    const std::string picked = survey("pts.dat");
    fs::copy_file(fixturePath("shapelib_one_field.dbf"), folder.file("pts.dbf"));
    fs::permissions(folder.file("pts.dbf"), fs::perms::owner_read);  // a stale, read-only copy
    EXPECT_ERROR(openSurveyTable(picked, table),
                 "Cannot copy the survey table '" + picked + "' to its working copy '" +
                     folder.file("pts.dbf") + "': File access denied");
    EXPECT_FALSE(table.active());
}

}  // namespace
}  // namespace geocalc
