#include "files/whole_file.h"

#include "files/file_access.h"

#include <cerrno>
#include <cstdio>
#include <iostream>

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
    return FileResult{false, IoErrorText(errno != 0 ? errno : EIO)};
}

} // namespace kes
