// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/paper.h"

namespace exporting {

Paper DefaultPaper(const QLocale& locale) {
    return locale.measurementSystem() == QLocale::ImperialUSSystem ? Paper::Letter : Paper::A4;
}

std::optional<Paper> ParsePaper(std::string_view text) {
    const auto parsed = workshop::ParseSheetPaper(text);
    if (!parsed || parsed->Kind == Paper::Custom) return std::nullopt;
    return parsed->Kind;
}

QPageSize PageSizeOf(Paper paper) {
    return workshop::SheetPaper{paper, std::nullopt, {}}.PageSize();
}

} // namespace exporting
