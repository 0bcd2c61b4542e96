// What the results file tests share: lists computed as the window computes
// them, and a folder to write in.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>

#include "core/native_path.h"
#include "output/results_file.h"
#include "points/lists_traverse.h"
#include "temp_folder.h"

namespace geocalc {

namespace fs = std::filesystem;

inline PointLists calculated(std::initializer_list<std::array<const char*, 3>> points) {
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
        EXPECT_EQ(folder.names(),
                  std::vector<std::string>{utf8FromPath(pathFromUtf8(path).filename())});
    }
    TempFolder folder;
};

}  // namespace geocalc
