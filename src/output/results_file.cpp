#include "output/results_file.h"

#include "output/replacing_file.h"

namespace geocalc {

void writeResultsFile(const std::string& path, const PointLists& lists, FileOps& ops) {
    ReplacingFile file(path, ops);
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
        file.write(line);
    }
    file.commit();
}

}  // namespace geocalc
