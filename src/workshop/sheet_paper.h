// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The paper a workshop drawing goes on: the ISO A sizes from A4 to A0, US
// Letter and Tabloid (Ledger), or a size the user gives, portrait or
// landscape. The default size follows the locale: Letter where the US
// customary system is used, A4 everywhere else.

#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QSizeF>

#include <optional>
#include <string_view>

namespace workshop {

// A4 and Letter keep the values the older two-size choice had.
enum class PaperKind { A4, Letter, A3, A2, A1, A0, Tabloid, Custom };

struct SheetPaper {
    PaperKind Kind = PaperKind::A4;
    // Absent: the drawing picks (the tiling takes whichever needs fewer sheets).
    std::optional<bool> Landscape;
    QSizeF CustomMm; // portrait width x height, for Custom

    QPageSize PageSize() const;
    // The sheet's size in the orientation given (portrait when none is).
    QSizeF SizeMm(bool landscape) const;
    QSizeF SizeMm() const { return SizeMm(Landscape.value_or(false)); }
    QPageLayout Layout(bool landscape) const;
};

PaperKind DefaultPaperKind(const QLocale& locale = QLocale::system());
// "a4", "a3", "a2", "a1", "a0", "letter", "tabloid" or "ledger" (any case),
// or WIDTHxHEIGHT in millimetres ("420x594"); nullopt for anything else.
std::optional<SheetPaper> ParseSheetPaper(std::string_view text);
// "portrait" or "landscape".
std::optional<bool> ParseLandscape(std::string_view text);
// "A3 landscape", "Custom 300 x 400 mm portrait".
QString PaperText(const SheetPaper& paper, bool landscape);

} // namespace workshop
