// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The operating-system side of the dimension files: reading only regular
// files without ever blocking, and replacing a file without losing it. Every
// function returns 0, an errno value or NotRegularFile, for IoErrorText.

#include <cerrno>
#include <cstddef>
#include <limits>
#include <string>

namespace kes::fileaccess {

// A folder, pipe, device or socket where a file was wanted (no errno value
// says so).
constexpr int NotRegularFile = -1;

// Reads up to capacity bytes from the start of the file; got is how many it
// holds. Folders, pipes and devices are refused (NotRegularFile) before a
// byte is read, and opening never waits for a writer.
int ReadRegularFile(const std::string& path, unsigned char* data, std::size_t capacity,
                    std::size_t& got);

// The file a save through path writes: symbolic links are followed to the
// name they hold, also when nothing exists there yet.
std::string SaveTargetOf(const std::string& path);

// Test seam: the write fails with Error once FailAfterBytes bytes are
// written, or at the close.
struct WriteFault {
    std::size_t FailAfterBytes = std::numeric_limits<std::size_t>::max();
    bool FailClose = false;
    int Error = ENOSPC;
};

// Makes the file at path hold exactly the size bytes of data. An existing
// file must be a writable regular file; it keeps its permissions. The new
// contents go to a temporary file beside it that is renamed over it; where
// the folder takes no new file but the file may be written, the file is
// rewritten in place instead. On failure the old file is as it was (in
// place: its old contents are written back) and no temporary file stays.
int ReplaceFile(const std::string& path, const unsigned char* data, std::size_t size,
                const WriteFault& fault);

} // namespace kes::fileaccess
