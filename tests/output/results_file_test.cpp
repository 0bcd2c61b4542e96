#include "output/results_file.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "core/system_error.h"
#include "output/io_error.h"
#include "results_file_fixture.h"
#include "test_support.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace geocalc {
namespace {

TEST_F(ResultsFileTest, OnePointLineIsExactlyTheseBytes) {
    PointLists lists;
    lists.names.append("P1");
    lists.xs.append("0");
    lists.ys.append("0");
    lists.sides.append(
        "45\xB0"
        "0'0.0\" 141.4");
    writeResultsFile(folder.file("r.txt"), lists);
    const std::string expected =
        "\x50\x31\x20\x30\x20\x30\x20\x34\x35\xB0\x30\x27\x30\x2E\x30\x22\x20"
        "\x31\x34\x31\x2E\x34\x0D\x0A";
    ASSERT_EQ(expected.size(), 24u);
    expectOnly(folder.file("r.txt"), expected);
}

TEST_F(ResultsFileTest, OneLinePerPointWithItsSideAndTheClosingSideLast) {
    PointLists lists =
        calculated({{"\xD0\xE5\xEF\xE5\xF0 1", "0", "0"}, {"2", "100", "0"}, {"3", "200", "100"}});
    lists.sides.append("left over");  // side lines beyond the points are not written
    writeResultsFile(folder.file("r.txt"), lists);
    expectOnly(folder.file("r.txt"),
               "\xD0\xE5\xEF\xE5\xF0 1 0 0 0\xB0"
               "0'0.0\" 100.0\r\n"
               "2 100 0 45\xB0"
               "0'0.0\" 141.4\r\n"
               "3 200 100 206\xB0"
               "33'54.2\" 223.6\r\n");
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

// Fails one chosen call with a chosen system error.
class FailingOps : public FileOps {
public:
    enum Call { Open, Write, Sync, Close, Rename };
    FailingOps(Call call, int error) : call_(call), error_(error) {}
    NativeFile open(const std::string& path, OpenFor how,
                    std::optional<std::uint32_t> permissions) override {
        return fail(Open) ? kNoNativeFile : FileOps::open(path, how, permissions);
    }
    std::int64_t write(NativeFile file, const char* data, std::size_t size) override {
        // Half of the first write lands, as on a disk that fills up.
        if (call_ == Write && !written_) {
            written_ = true;
            return FileOps::write(file, data, size / 2);
        }
        return fail(Write) ? -1 : FileOps::write(file, data, size);
    }
    bool sync(NativeFile file) override { return !fail(Sync) && FileOps::sync(file); }
    bool close(NativeFile file) override {
        const bool closed = FileOps::close(file);
        return !fail(Close) && closed;
    }
    bool replace(const std::string& from, const std::string& to) override {
        return !fail(Rename) && FileOps::replace(from, to);
    }

private:
    bool fail(Call call) {
        if (call != call_) return false;
        setLastSystemError(error_);
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
#ifdef _WIN32
        // The system's codes are the file error codes.
        {FailingOps::Open, ERROR_TOO_MANY_OPEN_FILES, "Too many open files"},
        {FailingOps::Open, ERROR_ACCESS_DENIED, "File access denied"},
        {FailingOps::Write, ERROR_DISK_FULL, "I/O error 112"},
        {FailingOps::Write, ERROR_IO_DEVICE, "I/O error 1117"},
        {FailingOps::Sync, ERROR_IO_DEVICE, "I/O error 1117"},
        {FailingOps::Close, ERROR_HANDLE_DISK_FULL, "I/O error 39"},
        {FailingOps::Rename, ERROR_SHARING_VIOLATION, "I/O error 32"},
        {FailingOps::Write, ERROR_NETNAME_DELETED, "I/O error 64"},
#else
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
#endif
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

}  // namespace
}  // namespace geocalc
