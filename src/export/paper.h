#pragma once
// The paper a report or a drawing is printed on: A4 or US Letter. The
// default follows the locale: Letter where the US customary system is
// used, A4 everywhere else.

#include <QLocale>
#include <QPageSize>

#include <optional>
#include <string_view>

namespace exporting {

enum class Paper { A4, Letter };

Paper DefaultPaper(const QLocale& locale = QLocale::system());
// "a4" or "letter" (any case); nullopt for anything else.
std::optional<Paper> ParsePaper(std::string_view text);
QPageSize PageSizeOf(Paper paper);

// The margin kept clear on every side of a page, in millimetres.
inline constexpr double PageMarginMm = 12.0;

} // namespace exporting
