// Two programs with the same table, as one set of scenarios over what the
// other program does. On Linux the other program is a process of its own;
// on Windows, where no process can be forked, it is a second open of the
// table in this process (LockFileEx locks belong to each open, so the two
// meet as two programs would).
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>

#include "child_process.h"
#endif
#include "core/native_path.h"
#include "independent_reader.h"
#include "output/results_file.h"
#include "table/dbf_table.h"
#include "table/survey_table.h"
#include "table/table_dataset.h"
#include "table_fixture.h"
#include "temp_folder.h"
#include "test_support.h"

namespace geocalc {
namespace {

namespace fs = std::filesystem;

// The other program's work, run to its end: what it returns, or the
// message it failed with.
std::string inAnotherProgram(const std::function<std::string()>& work) {
#ifdef _WIN32
    try {
        return work();
    } catch (const Error& e) {
        return e.what();
    }
#else
    return inChildProcess(work);
#endif
}

class TableSharingTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::copy_file(pathFromUtf8(fixturePath("shapelib_cp1251.dbf")),
                      pathFromUtf8(folder.file("pts.dat")));
    }
    std::string surveyTable() const { return folder.file("pts.dat"); }
    std::string workingCopy() const { return folder.file("pts.dbf"); }

    // This program's view: the working copy, made from the survey table, open at the row.
    void openWorkingCopyAt(TableDataset& table, int row) {
        copyFile(surveyTable(), workingCopy());
        table.setTableName(workingCopy());
        table.open();
        table.moveTo(row);
    }

    static void copyFile(const std::string& from, const std::string& to) {
        fs::copy_file(pathFromUtf8(from), pathFromUtf8(to));
    }
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
    openSurveyTable(surveyTable(), first);

    const std::string refused = inAnotherProgram([this] {
        TableDataset second;
        openSurveyTable(surveyTable(), second);
        return std::string("opened");
    });
    EXPECT_EQ(refused, "Cannot copy the survey table '" + surveyTable() +
                           "' to its working copy '" + workingCopy() +
                           "': it is open in another program");

    // Opening the working copy itself makes no copy: both programs have it.
    const std::string shared = inAnotherProgram([this] {
        TableDataset second;
        openSurveyTable(workingCopy(), second);
        appendPoint(second, "B1");
        return std::to_string(second.rowCount());
    });
    EXPECT_EQ(shared, "4");

    // The first program's edits still reach the file on disk.
    appendPoint(first, "A1");
    const auto dumped = dumpIndependently(workingCopy());
    ASSERT_EQ(dumped.size(), 5u);
    EXPECT_EQ(dumped[3].values[0], "B1");
    EXPECT_EQ(dumped[4].values[0], "A1");

    first.close();  // closed: the next open copies again
    openSurveyTable(surveyTable(), first);
    EXPECT_EQ(first.rowCount(), 3);
}

TEST_F(TableSharingTest, AppendsTakenInTurnsFromTwoProgramsAreAllKept) {
    copyFile(surveyTable(), workingCopy());
    TableDataset mine;
    mine.setTableName(workingCopy());
    mine.open();
    for (const char* name : {"MINE1", "OTHER", "MINE2"}) {
        if (std::string(name) == "OTHER") {
            EXPECT_EQ(inAnotherProgram([this] {
                          TableDataset other;
                          other.setTableName(workingCopy());
                          other.open();
                          appendPoint(other, "OTHER");
                          return std::string("done");
                      }),
                      "done");
        } else {
            appendPoint(mine, name);
        }
    }
    mine.close();
    const auto dumped = dumpIndependently(workingCopy());
    ASSERT_EQ(dumped.size(), 6u);
    EXPECT_EQ(dumped[3].values[0], "MINE1");
    EXPECT_EQ(dumped[4].values[0], "OTHER");
    EXPECT_EQ(dumped[5].values[0], "MINE2");
}

#ifndef _WIN32  // processes at once, and a file size limit
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

    const auto dumped = dumpIndependently(workingCopy());
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
#endif

// Another program's one action on the working copy, run to its end in a
// process of its own: it opens the copy, goes to the row and acts there.
std::string inOtherProgram(const std::string& path, int row,
                           const std::function<void(TableDataset&)>& act) {
    return inAnotherProgram([&] {
        TableDataset other;
        other.setTableName(path);
        other.open();
        other.moveTo(row);
        act(other);
        return std::string("done");
    });
}

void setX(TableDataset& table, const std::string& x) {
    table.setFieldText(1, x);
    table.post();
}

const std::string kRefusedPost =
    "Record 2 was changed by another program; press Esc to see it as it is now";

// Case 1 of two windows on one working copy: an edit in one program, then in
// the other an edit of another field of the same record.
TEST_F(TableSharingTest, AnEditStartedAfterAnotherProgramsEditBuildsOnIt) {
    TableDataset b;
    openWorkingCopyAt(b, 1);
    EXPECT_EQ(b.fieldText(1), "6123501.02");  // read and cached before the other program writes

    EXPECT_EQ(inOtherProgram(workingCopy(), 1, [](TableDataset& a) { setX(a, "6171455.77"); }),
              "done");
    b.setFieldText(0,
                   "\xEF\xEA"
                   "2a");  // the edit begins from the record as the file holds it now
    b.post();
    const auto dumped = dumpIndependently(workingCopy());
    ASSERT_EQ(dumped.size(), 3u);
    EXPECT_EQ(dumped[1].values[0],
              "\xEF\xEA"
              "2a");
    EXPECT_EQ(dumped[1].values[1], "6171455.770");
}

TEST_F(TableSharingTest, APostOverAnotherProgramsChangeIsRefusedAndEscShowsTheRecordAsItIs) {
    TableDataset b;
    openWorkingCopyAt(b, 1);
    b.setFieldText(0,
                   "\xEF\xEA"
                   "2a");  // the edit began before the other program's

    EXPECT_EQ(inOtherProgram(workingCopy(), 1, [](TableDataset& a) { setX(a, "6171455.77"); }),
              "done");
    EXPECT_ERROR(b.post(), kRefusedPost);
    EXPECT_EQ(b.state(), DatasetState::Edit);  // the typed value stays
    EXPECT_EQ(b.fieldText(0),
              "\xEF\xEA"
              "2a");
    EXPECT_ERROR(b.moveTo(2), kRefusedPost);  // leaving the record posts: refused as well
    EXPECT_EQ(b.currentRow(), 1);

    b.cancel();
    EXPECT_EQ(b.fieldText(0),
              "\xEF\xEA"
              "2");
    EXPECT_EQ(b.fieldText(1), "6171455.77");
    const auto dumped = dumpIndependently(workingCopy());
    EXPECT_EQ(dumped[1].values[0],
              "\xEF\xEA"
              "2");
    EXPECT_EQ(dumped[1].values[1], "6171455.770");

    b.setFieldText(0,
                   "\xEF\xEA"
                   "2a");  // begun again, from the record as it is: taken
    b.post();
    EXPECT_EQ(dumpIndependently(workingCopy())[1].values,
              (std::vector<std::string>{"\xEF\xEA"
                                        "2a",
                                        "6171455.770", "2345711.330"}));
}

// Case 2: a record deleted in one program is never brought back by an edit
// in the other, whenever that edit began.
TEST_F(TableSharingTest, ARecordDeletedByAnotherProgramStaysDeleted) {
    TableDataset b;
    openWorkingCopyAt(b, 1);
    b.setFieldText(1, "1.5");

    EXPECT_EQ(inOtherProgram(workingCopy(), 1, [](TableDataset& a) { a.deleteRecord(); }), "done");
    EXPECT_ERROR(b.post(),
                 "Record 2 was deleted by another program; press Esc to see it as it is now");
    b.cancel();
    EXPECT_EQ(b.rowCount(), 2);
    EXPECT_EQ(b.fieldText(0), "A3");  // the nearest record shown takes its place
    const auto dumped = dumpIndependently(workingCopy());
    ASSERT_EQ(dumped.size(), 3u);
    EXPECT_TRUE(dumped[1].deleted);
    EXPECT_EQ(dumped[1].values[1], "6123501.020");

    // Begun after the delete: the edit is of what the file now shows.
    EXPECT_EQ(inOtherProgram(workingCopy(), 0, [](TableDataset& a) { a.deleteRecord(); }), "done");
    b.moveTo(0);
    b.edit();
    EXPECT_EQ(b.rowCount(), 1);
    EXPECT_EQ(b.fieldText(0), "A3");
}

// The window reads the table again after each repaint, also while the
// refused edit stands: Esc then still leaves the deleted record for the
// nearest one shown, and nothing writes, edits or picks the deleted one.
TEST_F(TableSharingTest, EscAfterARefusedPostLeavesTheDeletedRecordWhateverWasReadMeanwhile) {
    TableDataset b;
    openWorkingCopyAt(b, 1);
    b.setFieldText(1, "1.5");
    EXPECT_EQ(inOtherProgram(workingCopy(), 1, [](TableDataset& a) { a.deleteRecord(); }), "done");
    b.refresh();  // before the key that posts
    EXPECT_ERROR(b.moveBy(1),
                 "Record 2 was deleted by another program; press Esc to see it as it is now");
    b.refresh();  // the repaint after the error box
    b.cancel();
    EXPECT_EQ(b.rowCount(), 2);
    EXPECT_EQ(b.currentRow(), 1);
    EXPECT_EQ(b.fieldText(0), "A3");
    EXPECT_EQ(b.recordAt(1), 2);  // the third record of the file, not the deleted second
    b.setFieldText(1, "2.5");
    b.post();
    const auto dumped = dumpIndependently(workingCopy());
    EXPECT_TRUE(dumped[1].deleted);
    EXPECT_EQ(dumped[1].values[1], "6123501.020");
    EXPECT_EQ(dumped[2].values[1], "2.500");
}

// A pick of a record another program deleted since the table was last read
// is refused under the record's lock; the table is then shown anew.
TEST_F(TableSharingTest, APickOfARecordDeletedMeanwhileIsRefused) {
    TableDataset b;
    openWorkingCopyAt(b, 1);
    EXPECT_EQ(b.fieldText(0),
              "\xEF\xEA"
              "2");
    EXPECT_EQ(inOtherProgram(workingCopy(), 1, [](TableDataset& a) { a.deleteRecord(); }), "done");
    EXPECT_ERROR(b.standingRecord(), "Record 2 was deleted by another program");
    EXPECT_EQ(b.rowCount(), 2);
    EXPECT_EQ(b.fieldText(0), "A3");
    EXPECT_EQ(b.fieldTextOf(b.standingRecord(), 0), "A3");
}

// A post never writes a record that the file holds deleted, even one whose
// edit began from it as it stood deleted.
TEST_F(TableSharingTest, ARecordHeldDeletedIsNeverWritten) {
    copyFile(surveyTable(), workingCopy());
    EXPECT_EQ(inOtherProgram(workingCopy(), 1, [](TableDataset& a) { a.deleteRecord(); }), "done");
    const std::string before = readBytes(workingCopy());
    auto table = DbfTable::open(workingCopy());
    const std::string deleted(table->record(1));
    ASSERT_EQ(deleted[0], '*');
    std::string edited = deleted;
    edited[1] = 'Z';
    EXPECT_ERROR(table->writeRecord(1, edited, deleted),
                 "Record 2 was deleted by another program; press Esc to see it as it is now");
    EXPECT_EQ(readBytes(workingCopy()), before);
}

#ifndef _WIN32  // an open file cannot be deleted there
// Another program deletes the working copy, or puts another file in its
// place: the next look at the table says so once, and nothing is written
// from then on, to the lost file or to the new one.
TEST_F(TableSharingTest, AWorkingCopyDeletedOrReplacedTakesNoMoreEdits) {
    const std::string detached =
        "The table was deleted or replaced by another program; open it again to change it."
        "\r\nFile: " +
        workingCopy();
    for (const bool replace : {false, true}) {
        SCOPED_TRACE(replace ? "replaced" : "deleted");
        TableDataset b;
        fs::remove(workingCopy());
        openWorkingCopyAt(b, 1);
        EXPECT_EQ(inChildProcess([&] {
                      fs::remove(workingCopy());
                      if (replace) fs::copy_file(surveyTable(), workingCopy());
                      return std::string("done");
                  }),
                  "done");
        std::vector<TableDataset::Change> told;
        b.setObserver([&told](TableDataset::Change change) { told.push_back(change); });
        EXPECT_ERROR(b.refresh(), detached);
        EXPECT_EQ(told, std::vector<TableDataset::Change>{TableDataset::Change::State});
        EXPECT_NO_THROW(b.refresh());  // said once
        EXPECT_TRUE(b.readOnly());
        EXPECT_ERROR(b.setFieldText(1, "1.5"), detached);
        EXPECT_ERROR(b.append(), detached);
        EXPECT_EQ(b.fieldText(0),
                  "\xEF\xEA"
                  "2");  // what was read still shows
        if (replace) {
            EXPECT_EQ(readBytes(workingCopy()), readBytes(surveyTable()));
        }
    }
}

#endif

// "Сохранить" aimed at a table that this program or another has open
// refuses, leaving the table whole; with the table closed the name is free.
TEST_F(TableSharingTest, ResultsNeverReplaceATableHeldOpen) {
    TableDataset b;
    openWorkingCopyAt(b, 0);
    const std::string before = readBytes(workingCopy());
    const std::string refused =
        "Cannot write '" + workingCopy() + "': it is open in another program";
    EXPECT_ERROR(writeResultsFile(workingCopy(), PointLists{}), refused);
    EXPECT_EQ(inAnotherProgram([&] {
                  writeResultsFile(workingCopy(), PointLists{});
                  return std::string("written");
              }),
              refused);
    EXPECT_EQ(readBytes(workingCopy()), before);
    EXPECT_FALSE(b.refresh());
    b.close();
    writeResultsFile(workingCopy(), PointLists{});
    EXPECT_EQ(readBytes(workingCopy()), "");
}

TEST_F(TableSharingTest, ADeleteOfARecordAnotherProgramChangedIsRefused) {
    TableDataset b;
    openWorkingCopyAt(b, 1);
    EXPECT_EQ(b.fieldText(1), "6123501.02");

    EXPECT_EQ(inOtherProgram(workingCopy(), 1, [](TableDataset& a) { setX(a, "6171455.77"); }),
              "done");
    EXPECT_ERROR(b.deleteRecord(),
                 "Record 2 was changed by another program; it is not deleted: look at it again");
    EXPECT_FALSE(dumpIndependently(workingCopy())[1].deleted);
    EXPECT_EQ(b.fieldText(1), "6171455.77");  // shown as it is now
    b.deleteRecord();                         // seen: now it goes
    EXPECT_TRUE(dumpIndependently(workingCopy())[1].deleted);
}

// Case 3: what a pick reads, and every view, follows the other program's
// edits, appends and deletes.
TEST_F(TableSharingTest, ReadingAgainShowsWhatAnotherProgramWrote) {
    TableDataset b;
    openWorkingCopyAt(b, 2);
    EXPECT_EQ(b.fieldText(0), "A3");
    EXPECT_FALSE(b.refresh());

    EXPECT_EQ(inOtherProgram(workingCopy(), 2,
                             [](TableDataset& a) {
                                 setX(a, "6171455.77");
                                 appendPoint(a, "B1");
                                 a.moveTo(0);
                                 a.deleteRecord();
                             }),
              "done");
    std::vector<TableDataset::Change> told;
    b.setObserver([&told](TableDataset::Change change) { told.push_back(change); });
    EXPECT_TRUE(b.refresh());
    EXPECT_EQ(told, std::vector<TableDataset::Change>{TableDataset::Change::Rows});
    EXPECT_EQ(b.rowCount(), 3);
    EXPECT_EQ(b.currentRow(), 1);  // the same record, one row up
    EXPECT_EQ(b.fieldText(0), "A3");
    EXPECT_EQ(b.fieldText(1), "6171455.77");
    EXPECT_EQ(b.fieldTextAt(2, 0), "B1");
}

}  // namespace
}  // namespace geocalc
