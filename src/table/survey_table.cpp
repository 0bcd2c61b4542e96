#include "table/survey_table.h"

#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>

#include "charset/code_page.h"
#include "core/error.h"
#include "core/local_date.h"
#include "core/native_path.h"
#include "core/system_error.h"
#include "output/io_error.h"
#include "output/replacing_file.h"
#include "table/dbf_layout.h"
#include "table/file_handle.h"
#include "table/file_lock.h"
#include "table/point_source.h"
#include "table/point_table.h"

namespace geocalc {

namespace {

constexpr std::size_t kCopyChunk = 1 << 20;

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return a == b || std::filesystem::equivalent(pathFromUtf8(a), pathFromUtf8(b), error);
}

// The file's bytes, a chunk at a time.
void readChunks(const FileHandle& source, const std::function<void(std::string_view)>& take) {
    std::string chunk(kCopyChunk, '\0');
    for (std::uint64_t offset = 0;;) {
        const std::int64_t n = source.readAt(chunk.data(), chunk.size(), offset);
        if (n < 0) throwFileError(lastSystemError());
        if (n == 0) break;
        take(std::string_view(chunk.data(), std::size_t(n)));
        offset += std::uint64_t(n);
    }
}

bool isDbaseTable(const FileHandle& source) {
    char first[kFileHeaderSize];
    const std::int64_t n = source.readAt(first, sizeof first, 0);
    return n == std::int64_t(sizeof first) &&
           looksLikeDbfHeader(std::string_view(first, sizeof first));
}

// The file's bytes from the start, each time they are asked for; the file
// stays open as long as they may be. A reading that ends with the file not
// as it was when the first began fails: another program wrote it meanwhile.
TextChunks chunksOf(FileHandle source) {
    auto held = std::make_shared<FileHandle>(std::move(source));
    return [held, first = held->stamp()](const std::function<void(std::string_view)>& take) {
        readChunks(*held, take);
        if (!held->stamp().sameFileState(first)) throw Error("The file changed while it was read");
    };
}

void copyWhole(const FileHandle& source, const std::string& destination) {
    ReplacingFile copy(destination);
    readChunks(source, [&copy](std::string_view chunk) { copy.write(chunk); });
    copy.commit();
}

// Keeps other programs from opening the working copy while it is replaced;
// fails when one has it open now. Where an open file cannot be replaced at
// all, the hold is let go once it has checked.
FileHandle holdWorkingCopy(const std::string& destination) {
    FileKind kind = FileKind::Other;
    FileHandle held = openWithoutWaiting(destination, FileAccess::Write, kind);
    if (held && kind == FileKind::Regular && !holdForReplacing(held)) {
        throw Error("it is open in another program");
    }
    if (!kOpenFilesCanBeReplaced) held.reset();
    return held;  // a copy that cannot be made says why itself
}

void makeWorkingCopy(const std::string& source, const std::string& destination,
                     const TableDataset& table) {
    if (sameFile(source, destination)) return;
    if (table.active() && sameFile(destination, table.filePath()))
        return;  // never over an open table
    FileKind kind = FileKind::Other;
    FileHandle file = openWithoutWaiting(source, FileAccess::Read, kind);
    // A survey table that is not there (no such file or folder, a folder part
    // that is a file, a name too long to exist) is not copied and not reported.
    if (!file && namesNothing(lastSystemError())) return;
    try {
        if (!file) throwFileError(lastSystemError());
        if (kind != FileKind::Regular) throw Error(std::string("it ") + describeNonRegular(kind));
        const FileHandle held = holdWorkingCopy(destination);
        if (isDbaseTable(file)) {
            copyWhole(file, destination);
        } else {
            const std::unique_ptr<PointSource> points = readPoints(chunksOf(std::move(file)));
            ReplacingFile copy(destination);  // in place only once every reading succeeded
            writeWorkingTable(*points, copy);
            copy.commit();
        }
    } catch (const Error& e) {
        throw Error("Cannot copy the survey table '" + ansiFromUtf8(source) +
                    "' to its working copy '" + ansiFromUtf8(destination) + "': " + e.what());
    }
}

// The bytes of the UTF-8 character starting at `pos` (one for a byte that
// starts none).
std::size_t characterLength(std::string_view text, std::size_t pos) {
    std::size_t end = pos;
    decodeUtf8(text, end);
    return end - pos;
}

}  // namespace

std::string workingCopyName(std::string_view fileName) {
    std::string name(fileName);
    if (const std::size_t dot = name.find('.'); dot != std::string::npos) {
        std::size_t end = dot + 1;
        for (int i = 0; i < 3 && end < name.size(); ++i) end += characterLength(name, end);
        name.erase(dot, end - dot);
    }
    return name + ".dbf";
}

namespace {

std::size_t folderLength(const std::string& path) {
    const std::size_t slash = path.find_last_of(kPathSeparators);
    return slash == std::string::npos ? 0 : slash + 1;
}

}  // namespace

std::string copyToWorkingCopy(const std::string& pickedPath, const TableDataset& table) {
    const std::size_t folder = folderLength(pickedPath);
    const std::string workingPath =
        pickedPath.substr(0, folder) + workingCopyName(pickedPath.substr(folder));
    makeWorkingCopy(pickedPath, workingPath, table);
    return workingPath;
}

void openWorkingCopy(const std::string& workingPath, TableDataset& table) {
    const std::size_t folder = folderLength(workingPath);
    table.setDatabaseName(workingPath.substr(0, folder));
    table.setTableName(workingPath.substr(folder));
    table.open();
}

std::unique_ptr<PointSource> readPointFile(const std::string& path) {
    FileKind kind = FileKind::Other;
    FileHandle file = openWithoutWaiting(path, FileAccess::Read, kind);
    if (!file || kind != FileKind::Regular || isDbaseTable(file)) return nullptr;
    try {
        return readPoints(chunksOf(std::move(file)));
    } catch (const Error& e) {
        throw Error("Cannot read the points of '" + ansiFromUtf8(path) + "': " + e.what());
    }
}

void writeWorkingTable(const PointSource& points, ReplacingFile& table) {
    writePointTable(points, localDate(std::time(nullptr)),
                    [&table](std::string_view bytes) { table.write(bytes); });
}

std::string openSurveyTable(const std::string& pickedPath, TableDataset& table) {
    std::string workingPath = copyToWorkingCopy(pickedPath, table);
    openWorkingCopy(workingPath, table);
    return workingPath;
}

}  // namespace geocalc
