#include "table/survey_table.h"

#include <fcntl.h>

#include <cerrno>
#include <filesystem>

#include "charset/code_page.h"
#include "core/error.h"
#include "output/io_error.h"
#include "output/replacing_file.h"
#include "table/file_handle.h"

namespace geocalc {

namespace {

constexpr std::size_t kCopyChunk = 1 << 20;

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return a == b || std::filesystem::equivalent(a, b, error);
}

void copyWhole(const FileHandle& source, const std::string& destination) {
    ReplacingFile copy(destination);
    std::string chunk(kCopyChunk, '\0');
    for (std::uint64_t offset = 0;;) {
        const ssize_t n = source.readAt(chunk.data(), chunk.size(), offset);
        if (n < 0) throwFileError(errno);
        if (n == 0) break;
        copy.write(std::string_view(chunk.data(), std::size_t(n)));
        offset += std::uint64_t(n);
    }
    copy.commit();
}

void makeWorkingCopy(const std::string& source, const std::string& destination, const TableDataset& table) {
    if (sameFile(source, destination)) return;
    if (table.active() && sameFile(destination, table.filePath())) return;  // never over an open table
    const int fd = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) return;
    try {
        if (fd < 0) throwFileError(errno);
        copyWhole(FileHandle(fd), destination);
    } catch (const Error& e) {
        throw Error("Cannot copy the survey table '" + ansiFromUtf8(source) + "' to its working copy '" +
                    ansiFromUtf8(destination) + "': " + e.what());
    }
}

}  // namespace

std::string workingCopyName(std::string_view fileName) {
    std::string name(fileName);
    if (const std::size_t dot = name.find('.'); dot != std::string::npos) name.erase(dot, 4);
    return name + ".dbf";
}

void openSurveyTable(const std::string& pickedPath, TableDataset& table, std::string& dialogFileName) {
    const std::size_t slash = pickedPath.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : pickedPath.substr(0, slash + 1);
    const std::string fileName = workingCopyName(pickedPath.substr(folder.size()));
    const std::string workingPath = folder + fileName;

    makeWorkingCopy(pickedPath, workingPath, table);
    dialogFileName = workingPath;
    table.setDatabaseName(folder);
    table.setTableName(fileName);
    table.open();
}

}  // namespace geocalc
