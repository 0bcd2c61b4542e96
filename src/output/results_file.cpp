#include "output/results_file.h"

#include "output/replacing_file.h"

namespace geocalc {

void writeResultsFile(const std::string& path, const PointLists& lists, FileOps& ops) {
    ReplacingFile file(path, ops);
    forEachResultsLine(lists, [&file](std::string_view line) { file.write(line); });
    file.commit();
}

void forEachResultsLine(const PointLists& lists,
                        const std::function<void(std::string_view)>& sink) {
    const int n = lists.names.count();
    std::string line;
    for (int i = 0; i < n; ++i) {
        line.clear();
        line += lists.names.at(i);
        line += ' ';
        line += lists.xs.at(i);
        line += ' ';
        line += lists.ys.at(i);
        line += ' ';
        line += lists.sides.at(i);
        line += "\r\n";
        sink(line);
    }
}

}  // namespace geocalc
