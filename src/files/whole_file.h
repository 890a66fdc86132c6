// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a whole file without ever losing the old one, for every writer of
// the program: the contents are made first, then written to a temporary file
// beside the target, synced, checked and renamed over it. Standard library
// only; the Qt writers reach it through saving/buffered_save.h.

#include "files/dimension_file.h"

#include <iosfwd>
#include <string>
#include <string_view>

namespace kes {

// Makes the file at path hold exactly bytes. On any failure (a full disk, a
// device, a folder, no rights) the old file is as it was and Message says why.
FileResult WriteWholeFile(const std::string& path, std::string_view bytes);

// Flushes a finished output stream (std::cout with the C stdout under it) and
// tells whether everything written to it arrived: a full disk or a closed
// pipe shows only here.
FileResult FinishOutput(std::ostream& out);

} // namespace kes
