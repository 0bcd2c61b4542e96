#include "output/results_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "calc/traverse.h"
#include "child_process.h"
#include "output/io_error.h"
#include "temp_folder.h"
#include "test_support.h"

namespace geocalc {
namespace {

namespace fs = std::filesystem;

PointLists calculated(std::initializer_list<std::array<const char*, 3>> points) {
    PointLists lists;
    for (const auto& p : points) {
        lists.names.append(p[0]);
        lists.xs.append(p[1]);
        lists.ys.append(p[2]);
    }
    runTraverse(lists);
    return lists;
}

class ResultsFileTest : public ::testing::Test {
protected:
    // The destination's bytes, and that nothing else was left in the folder.
    void expectOnly(const std::string& path, const std::string& bytes) {
        EXPECT_EQ(readBytes(path), bytes);
        EXPECT_EQ(folder.names(), std::vector<std::string>{fs::path(path).filename().string()});
    }
    TempFolder folder;
};

TEST_F(ResultsFileTest, OnePointLineIsExactlyTheseBytes) {
    PointLists lists;
    lists.names.append("P1");
    lists.xs.append("0");
    lists.ys.append("0");
    lists.sides.append("45\xB0" "0'0.0\" 141.4");
    writeResultsFile(folder.file("r.txt"), lists);
    const std::string expected = "\x50\x31\x20\x30\x20\x30\x20\x34\x35\xB0\x30\x27\x30\x2E\x30\x22\x20"
                                 "\x31\x34\x31\x2E\x34\x0D\x0A";
    ASSERT_EQ(expected.size(), 24u);
    expectOnly(folder.file("r.txt"), expected);
}

TEST_F(ResultsFileTest, OneLinePerPointWithItsSideAndTheClosingSideLast) {
    PointLists lists = calculated({{"\xD0\xE5\xEF\xE5\xF0 1", "0", "0"}, {"2", "100", "0"}, {"3", "200", "100"}});
    lists.sides.append("left over");  // side lines beyond the points are not written
    writeResultsFile(folder.file("r.txt"), lists);
    expectOnly(folder.file("r.txt"),
               "\xD0\xE5\xEF\xE5\xF0 1 0 0 0\xB0" "0'0.0\" 100.0\r\n"
               "2 100 0 45\xB0" "0'0.0\" 141.4\r\n"
               "3 200 100 206\xB0" "33'54.2\" 223.6\r\n");
}

TEST_F(ResultsFileTest, TheLongestNameAFolderTakesCanBeSaved) {
    std::string name;
    for (int i = 0; i < 125; ++i) name += "ж";
    name += "x.txt";  // 255 bytes
    writeResultsFile(folder.file(name), calculated({{"1", "0", "0"}, {"2", "100", "0"}}));
    EXPECT_EQ(folder.names(), std::vector<std::string>{name});
}

TEST_F(ResultsFileTest, NoPointsReplaceAFileWithAnEmptyOne) {
    writeBytes(folder.file("r.txt"), "old results\r\n");
    writeResultsFile(folder.file("r.txt"), PointLists{});
    expectOnly(folder.file("r.txt"), "");
}

TEST_F(ResultsFileTest, AShortListFailsAtItsIndexAndTheOldFileStays) {
    PointLists lists = calculated({{"1", "0", "0"}, {"2", "100", "0"}, {"3", "200", "100"}});
    lists.names.append("4");  // picked after the calculation
    lists.xs.append("0");
    lists.ys.append("50");
    writeBytes(folder.file("r.txt"), "old results\r\n");
    EXPECT_ERROR(writeResultsFile(folder.file("r.txt"), lists), "List index out of bounds (3)");
    expectOnly(folder.file("r.txt"), "old results\r\n");

    lists.ys.deleteAt(0);
    EXPECT_ERROR(writeResultsFile(folder.file("r.txt"), lists), "List index out of bounds (3)");
    lists.xs.deleteAt(0);
    EXPECT_ERROR(writeResultsFile(folder.file("r.txt"), lists), "List index out of bounds (3)");
    expectOnly(folder.file("r.txt"), "old results\r\n");
}

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
    if (geteuid() != 0) fs::permissions(folder.path(), fs::perms::owner_write, fs::perm_options::remove);
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
    fs::permissions(folder.file("r.txt"), fs::perms::owner_read | fs::perms::owner_write |
                                              fs::perms::others_read);
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
    const std::string expected = "1 0 0 0\xB0" "0'0.0\" 100.0\r\n2 100 0 180\xB0" "0'0.0\" 100.0\r\n";

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
    fs::permissions(folder.path(), fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    const std::string outcome = inChildProcess([this] {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return std::string("cannot drop root");
        writeResultsFile(folder.file("r.txt"), calculated({{"1", "0", "0"}, {"2", "100", "0"}}));
        return std::string("saved");
    });
    EXPECT_EQ(outcome, "saved");
    EXPECT_EQ(readBytes(folder.file("r.txt")).substr(0, 8), "1 0 0 0\xB0");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"r.txt"});
}

// Fails one chosen call with a chosen errno.
class FailingOps : public FileOps {
public:
    enum Call { Open, Write, Sync, Close, Rename };
    FailingOps(Call call, int error) : call_(call), error_(error) {}
    int open(const std::string& path, int flags, mode_t mode) override {
        return fail(Open) ? -1 : FileOps::open(path, flags, mode);
    }
    ssize_t write(int fd, const char* data, std::size_t size) override {
        // Half of the first write lands, as on a disk that fills up.
        if (call_ == Write && !written_) {
            written_ = true;
            return FileOps::write(fd, data, size / 2);
        }
        return fail(Write) ? -1 : FileOps::write(fd, data, size);
    }
    int sync(int fd) override { return fail(Sync) ? -1 : FileOps::sync(fd); }
    int close(int fd) override {
        const int result = FileOps::close(fd);
        return fail(Close) ? -1 : result;
    }
    int rename(const std::string& from, const std::string& to) override {
        return fail(Rename) ? -1 : FileOps::rename(from, to);
    }

private:
    bool fail(Call call) {
        if (call != call_) return false;
        errno = error_;
        return true;
    }
    Call call_;
    int error_;
    bool written_ = false;
};

TEST_F(ResultsFileTest, AFailureAtAnyStepLeavesTheOldFileWhole) {
    struct Case {
        FailingOps::Call call;
        int error;
        std::string message;
    };
    const std::vector<Case> cases = {
        {FailingOps::Open, EMFILE, "Too many open files"},
        {FailingOps::Open, EACCES, "File access denied"},
        {FailingOps::Write, ENOSPC, "I/O error 112"},
        {FailingOps::Write, EIO, "I/O error 1117"},
        {FailingOps::Sync, EIO, "I/O error 1117"},
        {FailingOps::Close, EDQUOT, "I/O error 112"},
        {FailingOps::Rename, EBUSY, "I/O error 32"},
        // Errors the code table lacks never pass for one it has.
        {FailingOps::Open, EINTR, "I/O error: Interrupted system call"},
        {FailingOps::Write, ENETUNREACH, "I/O error: Network is unreachable"},
        {FailingOps::Sync, EHOSTDOWN, "I/O error: Host is down"},
    };
    PointLists lists = calculated({{"1", "0", "0"}, {"2", "100", "0"}});
    for (int i = 0; i < 3000; ++i) {  // more than one buffer's worth
        lists.names.append("n");
        lists.xs.append("0");
        lists.ys.append("0");
        lists.sides.append("side");
    }
    writeBytes(folder.file("r.txt"), "old results");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        FailingOps ops(c.call, c.error);
        EXPECT_ERROR(writeResultsFile(folder.file("r.txt"), lists, ops), c.message);
        expectOnly(folder.file("r.txt"), "old results");
    }
}

TEST(FileErrorTest, ErrnoValuesMapToTheClassicCodesAndMessages) {
    const std::vector<std::pair<int, std::string>> cases = {
        {ENOENT, "Invalid filename"}, {ENOTDIR, "Invalid filename"}, {EACCES, "File access denied"},
        {EPERM, "File access denied"}, {EROFS, "File access denied"}, {EMFILE, "Too many open files"},
        {ENFILE, "Too many open files"}, {ENOSPC, "I/O error 112"}, {ETXTBSY, "I/O error 32"},
        {ENAMETOOLONG, "I/O error 206"}, {EXDEV, "I/O error: Invalid cross-device link"},
    };
    for (const auto& [errnoValue, message] : cases) {
        EXPECT_EQ(fileErrorText(errnoValue), message) << errnoValue;
    }
    for (const auto& [code, message] :
         std::vector<std::pair<int, std::string>>{{2, "File not found"}, {100, "Read beyond end of file"},
                                                  {101, "Disk full"}, {106, "Invalid numeric input"}}) {
        EXPECT_EQ(fileErrorMessage(code), message);
    }
}

}  // namespace
}  // namespace geocalc
