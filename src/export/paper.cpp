#include "export/paper.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace exporting {

Paper DefaultPaper(const QLocale& locale) {
    return locale.measurementSystem() == QLocale::ImperialUSSystem ? Paper::Letter : Paper::A4;
}

std::optional<Paper> ParsePaper(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower == "a4") return Paper::A4;
    if (lower == "letter") return Paper::Letter;
    return std::nullopt;
}

QPageSize PageSizeOf(Paper paper) {
    return QPageSize(paper == Paper::Letter ? QPageSize::Letter : QPageSize::A4);
}

} // namespace exporting
