// Two programs with the same table: each test's second program is a process
// of its own.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <set>

#include "child_process.h"
#include "independent_reader.h"
#include "table/survey_table.h"
#include "table/table_dataset.h"
#include "table_fixture.h"
#include "temp_folder.h"
#include "test_support.h"

namespace geocalc {
namespace {

namespace fs = std::filesystem;

class TableSharingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::copy_file(fixturePath("shapelib_cp1251.dbf"), folder.file("pts.dat"));
    }
    std::string surveyTable() const { return folder.file("pts.dat"); }
    std::string workingCopy() const { return folder.file("pts.dbf"); }

    static void appendPoint(TableDataset& table, const std::string& name) {
        table.append();
        table.setFieldText(0, name);
        table.setFieldText(1, "1.5");
        table.post();
    }

    TempFolder folder;
};

TEST_F(TableSharingTest, AnOpenWorkingCopyIsNeverReplacedByAnotherProgram) {
    TableDataset first;
    std::string dialogFileName;
    openSurveyTable(surveyTable(), first, dialogFileName);

    const std::string refused = inChildProcess([this] {
        TableDataset second;
        std::string name;
        openSurveyTable(surveyTable(), second, name);
        return std::string("opened");
    });
    EXPECT_EQ(refused, "Cannot copy the survey table '" + surveyTable() +
                           "' to its working copy '" + workingCopy() +
                           "': it is open in another program");

    // Opening the working copy itself makes no copy: both programs have it.
    const std::string shared = inChildProcess([this] {
        TableDataset second;
        std::string name;
        openSurveyTable(workingCopy(), second, name);
        appendPoint(second, "B1");
        return std::to_string(second.rowCount());
    });
    EXPECT_EQ(shared, "4");

    // The first program's edits still reach the file on disk.
    appendPoint(first, "A1");
    const auto dumped = dumpWithShapelib(workingCopy());
    ASSERT_EQ(dumped.size(), 5u);
    EXPECT_EQ(dumped[3].values[0], "B1");
    EXPECT_EQ(dumped[4].values[0], "A1");

    first.close();  // closed: the next open copies again
    openSurveyTable(surveyTable(), first, dialogFileName);
    EXPECT_EQ(first.rowCount(), 3);
}

TEST_F(TableSharingTest, AppendsFromTwoProgramsAtOnceAreAllKept) {
    fs::copy_file(surveyTable(), workingCopy());
    constexpr int kEach = 300;
    auto appender = [this](const std::string& prefix) {
        return [this, prefix] {
            TableDataset table;
            table.setTableName(workingCopy());
            table.open();
            for (int i = 0; i < kEach; ++i) appendPoint(table, prefix + std::to_string(i));
            return std::string("done");
        };
    };
    ChildProcess a(appender("A")), b(appender("B"));
    EXPECT_EQ(a.wait(), "done");
    EXPECT_EQ(b.wait(), "done");

    const auto dumped = dumpWithShapelib(workingCopy());
    ASSERT_EQ(dumped.size(), std::size_t(3 + 2 * kEach));
    std::set<std::string> names;
    for (const auto& record : dumped) names.insert(record.values.at(0));
    for (int i = 0; i < kEach; ++i) {
        EXPECT_TRUE(names.count("A" + std::to_string(i))) << i;
        EXPECT_TRUE(names.count("B" + std::to_string(i))) << i;
    }
    EXPECT_EQ(readTable(workingCopy()).size(), std::size_t(1 + 3 + 2 * kEach));
}

TEST_F(TableSharingTest, AnAppendThatFindsTheDiskFullLeavesTheFileAsItWas) {
    fs::copy_file(surveyTable(), workingCopy());
    const std::string before = readBytes(workingCopy());
    const std::string outcome = inChildProcess([this, &before] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{before.size() + 10,
                           before.size() + 10};  // part of a record fits, no more
        ::setrlimit(RLIMIT_FSIZE, &limit);
        TableDataset table;
        table.setTableName(workingCopy());
        table.open();
        appendPoint(table, "FULL");
        return std::string("appended");
    });
    EXPECT_EQ(outcome.rfind("Cannot append a record: ", 0), 0u) << outcome;
    EXPECT_EQ(readBytes(workingCopy()), before);
}

}  // namespace
}  // namespace geocalc
