// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The paper a report or a drawing is printed on: the sizes of the workshop
// sheets (A4 to A0, Letter, Tabloid). The default follows the locale:
// Letter where the US customary system is used, A4 everywhere else.

#include "workshop/sheet_paper.h"

#include <QLocale>
#include <QPageSize>

#include <optional>
#include <string_view>

namespace exporting {

using Paper = workshop::PaperKind;

Paper DefaultPaper(const QLocale& locale = QLocale::system());
// "a4", "a3", "a2", "a1", "a0", "letter" or "tabloid" (any case); nullopt for
// anything else.
std::optional<Paper> ParsePaper(std::string_view text);
QPageSize PageSizeOf(Paper paper);

// The margin kept clear on every side of a page, in millimetres.
inline constexpr double PageMarginMm = 12.0;

} // namespace exporting
