// The results file on POSIX file systems: permissions, links, devices,
// users, and errno values.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "child_process.h"
#include "output/io_error.h"
#include "results_file_fixture.h"
#include "test_support.h"

namespace geocalc {
namespace {

namespace fs = std::filesystem;

TEST_F(ResultsFileTest, RealFileErrorsGiveTheirMessages) {
    const PointLists lists = calculated({{"1", "0", "0"}, {"2", "100", "0"}});
    writeBytes(folder.file("readonly.txt"), "keep");
    fs::permissions(folder.file("readonly.txt"), fs::perms::owner_read | fs::perms::group_read);
    EXPECT_ERROR(writeResultsFile(folder.file("readonly.txt"), lists), "File access denied");
    EXPECT_EQ(readBytes(folder.file("readonly.txt")), "keep");

    EXPECT_ERROR(writeResultsFile(folder.file("missing/r.txt"), lists), "Invalid filename");
    EXPECT_ERROR(writeResultsFile(folder.file("readonly.txt/r.txt"), lists), "Invalid filename");
    EXPECT_ERROR(writeResultsFile(folder.path().string(), lists), "File access denied");
    EXPECT_ERROR(writeResultsFile("/dev/full", lists), "I/O error 112");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"readonly.txt"});
}

// A folder the user may not write in. Root may write anywhere, so the write
// is tried in a child process that has given up root.
TEST_F(ResultsFileTest, FolderWithoutWritePermissionIsAccessDenied) {
    fs::permissions(folder.path(), fs::perms::owner_all | fs::perms::group_read |
                                       fs::perms::group_exec | fs::perms::others_read |
                                       fs::perms::others_exec);
    if (geteuid() != 0)
        fs::permissions(folder.path(), fs::perms::owner_write, fs::perm_options::remove);
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    const pid_t child = fork();
    if (child == 0) {
        std::string message = "no failure";
        if (geteuid() != 0 || (setgid(65534) == 0 && setuid(65534) == 0)) {
            try {
                writeResultsFile(folder.file("r.txt"), PointLists{});
            } catch (const Error& e) {
                message = e.what();
            }
        }
        (void)!write(pipeFds[1], message.data(), message.size());
        _exit(0);
    }
    close(pipeFds[1]);
    char buffer[128];
    const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
    close(pipeFds[0]);
    waitpid(child, nullptr, 0);
    EXPECT_EQ(std::string(buffer, std::size_t(std::max<ssize_t>(n, 0))), "File access denied");
    EXPECT_TRUE(folder.names().empty());
}

TEST_F(ResultsFileTest, ReplacedFileKeepsItsPermissionsAndLinksStay) {
    const PointLists lists = calculated({{"1", "0", "0"}, {"2", "100", "0"}});
    writeBytes(folder.file("r.txt"), "old");
    fs::permissions(folder.file("r.txt"),
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    fs::create_symlink("r.txt", folder.path() / "link.txt");
    writeResultsFile(folder.file("link.txt"), lists);
    EXPECT_TRUE(fs::is_symlink(folder.path() / "link.txt"));
    EXPECT_EQ(readBytes(folder.file("r.txt")).substr(0, 4), "1 0 ");
    EXPECT_EQ(fs::status(folder.file("r.txt")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
}

// Where no file can replace the destination, it is written in place, as the
// plain create-and-truncate would have done.
TEST_F(ResultsFileTest, WrittenInPlaceWhereNoFileCanReplaceTheDestination) {
    const PointLists lists = calculated({{"1", "0", "0"}, {"2", "100", "0"}});
    const std::string expected =
        "1 0 0 0\xB0"
        "0'0.0\" 100.0\r\n2 100 0 180\xB0"
        "0'0.0\" 100.0\r\n";

    writeBytes(folder.file("r.txt"), "old");
    fs::create_hard_link(folder.file("r.txt"), folder.file("other name.txt"));
    writeResultsFile(folder.file("r.txt"), lists);
    EXPECT_EQ(readBytes(folder.file("other name.txt")), expected);
    fs::remove(folder.file("other name.txt"));

    fs::create_symlink("new.txt", folder.path() / "link.txt");  // its target does not exist yet
    writeResultsFile(folder.file("link.txt"), lists);
    EXPECT_TRUE(fs::is_symlink(folder.path() / "link.txt"));
    EXPECT_EQ(readBytes(folder.file("new.txt")), expected);
}

TEST_F(ResultsFileTest, AWritableFileInAFolderThatTakesNoFilesIsWrittenInPlace) {
    writeBytes(folder.file("r.txt"), "old");
    fs::permissions(folder.file("r.txt"), fs::perms::all);
    fs::permissions(folder.path(),
                    fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    const std::string outcome = inChildProcess([this] {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            return std::string("cannot drop root");
        writeResultsFile(folder.file("r.txt"), calculated({{"1", "0", "0"}, {"2", "100", "0"}}));
        return std::string("saved");
    });
    EXPECT_EQ(outcome, "saved");
    EXPECT_EQ(readBytes(folder.file("r.txt")).substr(0, 8), "1 0 0 0\xB0");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"r.txt"});
}

TEST(FileErrorTest, ErrnoValuesMapToTheClassicCodesAndMessages) {
    const std::vector<std::pair<int, std::string>> cases = {
        {ENOENT, "Invalid filename"},
        {ENOTDIR, "Invalid filename"},
        {EACCES, "File access denied"},
        {EPERM, "File access denied"},
        {EROFS, "File access denied"},
        {EMFILE, "Too many open files"},
        {ENFILE, "Too many open files"},
        {ENOSPC, "I/O error 112"},
        {ETXTBSY, "I/O error 32"},
        {ENAMETOOLONG, "I/O error 206"},
        {EXDEV, "I/O error: Invalid cross-device link"},
    };
    for (const auto& [errnoValue, message] : cases) {
        EXPECT_EQ(fileErrorText(errnoValue), message) << errnoValue;
    }
    for (const auto& [code, message] :
         std::vector<std::pair<int, std::string>>{{2, "File not found"},
                                                  {100, "Read beyond end of file"},
                                                  {101, "Disk full"},
                                                  {106, "Invalid numeric input"}}) {
        EXPECT_EQ(fileErrorMessage(code), message);
    }
}

}  // namespace
}  // namespace geocalc
