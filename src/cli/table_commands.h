#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace geocalc::cli {

// geocalc-cli show TABLE: the field names, then every record's field texts,
// tab-separated, one record a line. Tabs, line breaks and backslashes inside
// a text are written as \t, \r, \n and \\. Reads the table read-only.
int runShow(const std::vector<std::string>& args, std::ostream& out);

struct TraverseOptions {
    bool byName = false;     // IDs are names (field 0) rather than record numbers
    std::string outputPath;  // empty: standard output
    bool utf8 = false;       // the results in UTF-8 rather than Windows-1251
};

// geocalc-cli traverse TABLE ID...: picks the records in the given order
// (1-based record numbers, or the first record whose name is the ID), runs the
// traverse calculation as a fresh window would, and writes the results file.
int runTraverseCommand(const std::vector<std::string>& args, const TraverseOptions& options,
                       std::ostream& out);

// geocalc-cli convert -o TABLE FILE: writes the dBASE table the window
// makes of the point text file FILE (see pointTableOf) to TABLE, whole or
// not at all.
int runConvert(const std::vector<std::string>& args, const std::string& outputPath);

}  // namespace geocalc::cli
