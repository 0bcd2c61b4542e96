// Tables shared on Windows: LockFileEx locks belong to each open, so two
// opens in this process meet as two programs would.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/native_path.h"
#include "table/survey_table.h"
#include "table/table_dataset.h"
#include "table_fixture.h"
#include "temp_folder.h"
#include "test_support.h"

namespace geocalc {
namespace {

class TableSharingWin32Test : public ::testing::Test {
protected:
    std::string copyOfFixture(const std::string& name) {
        std::filesystem::copy_file(pathFromUtf8(fixturePath("shapelib_cp1251.dbf")),
                                   pathFromUtf8(folder.file(name)));
        return folder.file(name);
    }
    TempFolder folder;
};

TEST_F(TableSharingWin32Test, AWorkingCopyOpenElsewhereIsNotReplaced) {
    const std::string survey = copyOfFixture("pts.dat");
    TableDataset first, second;
    openSurveyTable(survey, first);
    try {
        openSurveyTable(survey, second);
        ADD_FAILURE() << "the working copy was replaced under the open table";
    } catch (const Error& e) {
        EXPECT_TRUE(std::string(e.what()).ends_with("': it is open in another program"))
            << e.what();
    }
    EXPECT_FALSE(second.active());
    first.close();
    openSurveyTable(survey, second);  // free again once closed
    EXPECT_TRUE(second.active());
}

TEST_F(TableSharingWin32Test, RecordsAppendedThroughTwoOpensAreAllKept) {
    const std::string path = copyOfFixture("pts.dbf");
    TableDataset first, second;
    first.setTableName(path);
    second.setTableName(path);
    first.open();
    second.open();
    for (TableDataset* table : {&first, &second, &first}) {
        table->append();
        table->setFieldText(0, table == &first ? "FIRST" : "SECOND");
        table->post();
    }
    first.close();
    second.close();
    const Rows rows = readTable(path);
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[4][0], "FIRST");
    EXPECT_EQ(rows[5][0], "SECOND");
    EXPECT_EQ(rows[6][0], "FIRST");
}

TEST_F(TableSharingWin32Test, AnEditOverAnotherOpensChangeOrDeleteIsRefused) {
    const std::string path = copyOfFixture("pts.dbf");
    TableDataset first, second;
    first.setTableName(path);
    second.setTableName(path);
    first.open();
    second.open();
    for (TableDataset* table : {&first, &second}) table->moveTo(1);
    second.setFieldText(0, "B");  // begun before the other open's edit
    first.setFieldText(1, "1.5");
    first.post();
    EXPECT_ERROR(second.post(),
                 "Record 2 was changed by another program; press Esc to see it as it is now");
    second.cancel();
    EXPECT_EQ(second.fieldText(1), "1.5");

    second.setFieldText(0, "B");
    first.deleteRecord();
    EXPECT_ERROR(second.post(),
                 "Record 2 was deleted by another program; press Esc to see it as it is now");
    second.cancel();
    EXPECT_EQ(second.rowCount(), 2);
    first.close();
    second.close();
    const Rows rows = readTable(path);
    ASSERT_EQ(rows.size(), 3u);  // the title row and the two records left
    EXPECT_EQ(rows[1][0], "\xD0\xE5\xEF\xE5\xF0 1");
}

}  // namespace
}  // namespace geocalc
