// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/whole_file.h"

#include "files/file_access.h"

#include <cerrno>
#include <cstdio>
#include <iostream>

#include <unistd.h>

namespace kes {

FileResult WriteWholeFile(const std::string& path, std::string_view bytes) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    if (const int error = fileaccess::ReplaceFile(path, data, bytes.size(), {}))
        return FileResult{false, IoErrorText(error)};
    return {};
}

FileResult FinishOutput(std::ostream& out) {
    errno = 0;
    out.flush();
    bool failed = !out.good();
    // std::cout writes through the C stream; its buffer is the last stop.
    if (&out == &std::cout) failed = std::fflush(stdout) != 0 || std::ferror(stdout) || failed;
    if (!failed) return {};
    int error = errno;
    // The write that failed may lie back before the last flush, its errno
    // long gone: one more byte tells what the output does now.
    if (error == 0 && &out == &std::cout && ::write(::fileno(stdout), "\n", 1) < 0) error = errno;
    return FileResult{false, IoErrorText(error != 0 ? error : EIO)};
}

} // namespace kes
