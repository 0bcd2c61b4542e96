#include "output/file_ops.h"

namespace geocalc {

FileOps& FileOps::system() {
    static FileOps ops;
    return ops;
}

}  // namespace geocalc
