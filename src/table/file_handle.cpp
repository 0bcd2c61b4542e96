#include "table/file_handle.h"

namespace geocalc {

const char* describeNonRegular(FileKind kind) {
    return kind == FileKind::Folder ? "is a folder" : "is not a regular file";
}

}  // namespace geocalc
