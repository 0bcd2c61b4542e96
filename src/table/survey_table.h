// Opening a survey table: its working copy, and `Table1` on that copy.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "table/point_source.h"
#include "table/table_dataset.h"

namespace geocalc {

class ReplacingFile;

// The working copy's file name: the first "." of the name and up to three
// characters after it are removed, then ".dbf" is appended (pts.dat -> pts.dbf,
// a.b.dat -> aat.dbf, pts.data -> ptsa.dbf, pts -> pts.dbf, PTS.DAT -> PTS.dbf).
// Names are UTF-8, so characters are counted, not bytes (точки.дат -> точки.dbf).
std::string workingCopyName(std::string_view fileName);

// The open command for the picked file's path, after the dialog, in two
// steps: copyToWorkingCopy, then openWorkingCopy with the path it returns
// (which the dialog takes as its file name, also when the open then fails).
//
// copyToWorkingCopy copies the survey table over its working copy in the
// same folder and returns the working copy's path; a file that is no dBASE
// table (by its first bytes, whatever its name) is read as a point file (see
// readPoints) and its working copy is the table its points make (see
// writePointTable). The copy is made whole or not at all. When the picked file exists and is
// neither the working copy itself nor the table `table` has open, a copy that
// cannot be made stops the command before anything is opened, with a message
// naming both files and the reason: among them a picked file that is no
// regular file, and a working copy that another program has open (it is
// never replaced under that program). A picked file that does not exist is
// not copied and not reported: the open then finds an older working copy or
// fails.
std::string copyToWorkingCopy(const std::string& pickedPath, const TableDataset& table);

// Gives `table` the working copy's folder (up to and including the last "/")
// and name, then opens it (nothing happens when it is open). Returning
// normally means the table is open: "Рассчет" may be enabled. Another table
// while one is open: "Table1: Cannot perform this operation on an open
// dataset".
void openWorkingCopy(const std::string& workingPath, TableDataset& table);

// Both steps: the working copy's path, with the table open on it.
std::string openSurveyTable(const std::string& pickedPath, TableDataset& table);

// The points of a file that is no dBASE table (see copyToWorkingCopy), read
// once for their shape and held open for the second reading; nothing for a
// dBASE table or a file that cannot be read as one (opening it then says
// why). A text that does not fit fails: "Cannot read the points of
// 'pts.csv': Line 2: 'abc' is not a valid floating point value".
std::unique_ptr<PointSource> readPointFile(const std::string& path);

// The table the points make, dated today, written into `table`.
void writeWorkingTable(const PointSource& points, ReplacingFile& table);

}  // namespace geocalc
