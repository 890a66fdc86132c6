// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The ".kvd" dimension file (72 records of five little-endian 32-bit reals)
// and the older ".kvx" import (13 records). Standard library only.
//
// A failed save leaves the old file as it was; a failed open or import
// leaves the model as it was. Values are taken as the file holds them, but
// a file holding a NaN or an infinity is refused ("Dimension file: record
// 10, Valve Length Front Half is not a finite number").

#include "model/model.h"

#include <cerrno>
#include <string>

namespace kes {

struct FileResult {
    bool Ok = true;
    std::string Message; // "File not found", "Disk full", ... when !Ok
};

inline constexpr const char* ReadBeyondEndText = "Read beyond end of file";
// A folder, pipe or device where a file was wanted.
inline constexpr const char* NotRegularFileText = "Not a regular file";
// The message for an errno value: "File not found", "File access denied",
// "Disk full", or "I/O error %d".
std::string IoErrorText(int error);

// DataSetName from a chosen path: the base name (after the last '/' or '\')
// less its last four characters; "" when it has four or fewer.
std::string DataSetNameFromPath(const std::string& path);

// Prepares all 72 records, writes them to a temporary file beside the
// target, checks every write and the close, then renames it over the target,
// which keeps its permissions. Where the folder takes no new file but the
// file may be written, the file is rewritten in place. A save through a
// symbolic link writes the file it names (creating it when missing); the
// link stays. The old file is as it was when anything fails. Does not change
// DataSetName.
FileResult SaveDimensionFile(const Model& m, const std::string& path);

// Test seam: the save fails like a full disk after FailAfterRecords records
// (or at the close), once the file being written holds what was written so far.
struct SaveFault {
    int FailAfterRecords = -1; // -1: never
    bool FailClose = false;
    int Error = ENOSPC;
};
FileResult SaveDimensionFile(const Model& m, const std::string& path, const SaveFault& fault);

// Save, then DataSetName from the path when it worked.
FileResult SaveDimensionsAs(Model& m, const std::string& path);

// Only regular files are read: a folder, pipe or device is refused with
// "Not a regular file" without waiting on it.
// Reads a ".kvd" file whole, then stores it: records 0..18 always, the
// LineTable and CurrentItem when the file has 72 records or more. Files of
// 19 or 20 records keep the LineTable and set CurrentItem to 1; other short
// files fail with "Read beyond end of file". Sets DataSetName. Does not
// recompute mid gear: call FinishDimensionLoad after.
FileResult OpenDimensionFile(Model& m, const std::string& path);
// Reads records 0..12 of a ".kvx" file (record 11 slot 4 unused, record 12
// slot 3 into Point 1 X). Sets DataSetName. Call FinishDimensionLoad after.
FileResult ImportOlderDimensionFile(Model& m, const std::string& path);
// After a successful load: mid gear, the count of reverse-arm positions and
// the reverse-arm bar range. Returns the reverse-arm bar position to set.
int FinishDimensionLoad(Model& m);
// Chooses the reader by extension (".kvx" imports, anything else opens),
// sets DataSetName and finishes the load: what --dims does.
FileResult LoadDimensionsByExtension(Model& m, const std::string& path);

} // namespace kes
