// The results file on Windows: attributes, devices, links, and the system's
// own error codes.
#include <gtest/gtest.h>
#include <windows.h>

#include "output/io_error.h"
#include "results_file_fixture.h"
#include "test_support.h"

namespace geocalc {
namespace {

TEST_F(ResultsFileTest, RealFileErrorsGiveTheirMessages) {
    const PointLists lists = calculated({{"1", "0", "0"}, {"2", "100", "0"}});
    writeBytes(folder.file("readonly.txt"), "keep");
    ASSERT_TRUE(SetFileAttributesW(pathFromUtf8(folder.file("readonly.txt")).c_str(),
                                   FILE_ATTRIBUTE_READONLY));
    EXPECT_ERROR(writeResultsFile(folder.file("readonly.txt"), lists), "File access denied");
    EXPECT_EQ(readBytes(folder.file("readonly.txt")), "keep");

    EXPECT_ERROR(writeResultsFile(folder.file("missing/r.txt"), lists), "Invalid filename");
    EXPECT_ERROR(writeResultsFile(utf8FromPath(folder.path()), lists), "File access denied");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"readonly.txt"});
    SetFileAttributesW(pathFromUtf8(folder.file("readonly.txt")).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(ResultsFileTest, WrittenInPlaceWhereNoFileCanReplaceTheDestination) {
    const PointLists lists = calculated({{"1", "0", "0"}, {"2", "100", "0"}});
    const std::string expected =
        "1 0 0 0\xB0"
        "0'0.0\" 100.0\r\n2 100 0 180\xB0"
        "0'0.0\" 100.0\r\n";
    writeResultsFile("NUL", lists);  // the null device takes anything

    writeBytes(folder.file("r.txt"), "old");
    std::filesystem::create_hard_link(pathFromUtf8(folder.file("r.txt")),
                                      pathFromUtf8(folder.file("other.txt")));
    writeResultsFile(folder.file("r.txt"), lists);
    EXPECT_EQ(readBytes(folder.file("other.txt")), expected);
}

TEST(FileErrorTest, TheSystemsCodesAreTheFileErrorCodes) {
    const std::vector<std::pair<int, std::string>> cases = {
        {ERROR_FILE_NOT_FOUND, "File not found"},
        {ERROR_PATH_NOT_FOUND, "Invalid filename"},
        {ERROR_TOO_MANY_OPEN_FILES, "Too many open files"},
        {ERROR_ACCESS_DENIED, "File access denied"},
        {ERROR_DISK_FULL, "I/O error 112"},
        {ERROR_SHARING_VIOLATION, "I/O error 32"},
        {ERROR_FILENAME_EXCED_RANGE, "I/O error 206"},
        {ERROR_NETNAME_DELETED, "I/O error 64"},
    };
    for (const auto& [code, message] : cases) EXPECT_EQ(fileErrorText(code), message) << code;
}

}  // namespace
}  // namespace geocalc
