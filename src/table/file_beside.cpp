#include "table/file_beside.h"

#include "core/error.h"
#include "core/native_path.h"
#include "table/engine_message.h"

namespace geocalc {

FileHandle openFileBeside(const std::string& tablePath,
                          std::initializer_list<const char*> extensions, const char* what) {
    for (const char* extension : extensions) {
        const std::string path = utf8FromPath(pathFromUtf8(tablePath).replace_extension(extension));
        FileKind kind = FileKind::Other;
        FileHandle file = openWithoutWaiting(path, FileAccess::Read, kind);
        if (!file) continue;
        if (kind != FileKind::Regular) {
            throw Error(engineMessage(
                std::string("Not a ") + what + ": it " + describeNonRegular(kind) + ".", path));
        }
        return file;
    }
    return FileHandle();
}

}  // namespace geocalc
