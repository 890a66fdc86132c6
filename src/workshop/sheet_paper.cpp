// SPDX-License-Identifier: GPL-3.0-or-later
#include "workshop/sheet_paper.h"

#include <QString>

#include <algorithm>
#include <cctype>
#include <string>

namespace workshop {

namespace {

constexpr struct {
    const char* Name;
    PaperKind Kind;
    QPageSize::PageSizeId Id;
} Sizes[] = {{"a4", PaperKind::A4, QPageSize::A4},
             {"letter", PaperKind::Letter, QPageSize::Letter},
             {"a3", PaperKind::A3, QPageSize::A3},
             {"a2", PaperKind::A2, QPageSize::A2},
             {"a1", PaperKind::A1, QPageSize::A1},
             {"a0", PaperKind::A0, QPageSize::A0},
             {"tabloid", PaperKind::Tabloid, QPageSize::Tabloid},
             {"ledger", PaperKind::Tabloid, QPageSize::Tabloid}};

// The largest sheet a custom size may have: two metres a side.
constexpr double MaxCustomMm = 2000.0;
constexpr double MinCustomMm = 50.0;

} // namespace

QPageSize SheetPaper::PageSize() const {
    if (Kind == PaperKind::Custom)
        return QPageSize(CustomMm, QPageSize::Millimeter, QStringLiteral("Custom"),
                         QPageSize::ExactMatch);
    for (const auto& s : Sizes)
        if (s.Kind == Kind) return QPageSize(s.Id);
    return QPageSize(QPageSize::A4);
}

QSizeF SheetPaper::SizeMm(bool landscape) const {
    const QSizeF s = PageSize().size(QPageSize::Millimeter);
    const QSizeF portrait(std::min(s.width(), s.height()), std::max(s.width(), s.height()));
    return landscape ? portrait.transposed() : portrait;
}

QPageLayout SheetPaper::Layout(bool landscape) const {
    return QPageLayout(PageSize(), landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

PaperKind DefaultPaperKind(const QLocale& locale) {
    return locale.measurementSystem() == QLocale::ImperialUSSystem ? PaperKind::Letter
                                                                   : PaperKind::A4;
}

std::optional<SheetPaper> ParseSheetPaper(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const auto& s : Sizes)
        if (lower == s.Name) return SheetPaper{s.Kind, std::nullopt, {}};
    const auto x = lower.find('x');
    if (x == std::string::npos) return std::nullopt;
    bool okW = false, okH = false;
    const double w = QString::fromStdString(lower.substr(0, x)).toDouble(&okW);
    const double h = QString::fromStdString(lower.substr(x + 1)).toDouble(&okH);
    if (!okW || !okH || !(w >= MinCustomMm && w <= MaxCustomMm) ||
        !(h >= MinCustomMm && h <= MaxCustomMm))
        return std::nullopt;
    return SheetPaper{PaperKind::Custom, std::nullopt, QSizeF(std::min(w, h), std::max(w, h))};
}

std::optional<bool> ParseLandscape(std::string_view text) {
    if (text == "landscape") return true;
    if (text == "portrait") return false;
    return std::nullopt;
}

QString PaperText(const SheetPaper& paper, bool landscape) {
    QString name;
    switch (paper.Kind) {
    case PaperKind::Custom:
        name = QStringLiteral("%1 x %2 mm")
                   .arg(paper.CustomMm.width(), 0, 'f', 0)
                   .arg(paper.CustomMm.height(), 0, 'f', 0);
        break;
    case PaperKind::Tabloid:
        name = QStringLiteral("Tabloid");
        break;
    default:
        name = paper.PageSize().name();
    }
    return name + (landscape ? QStringLiteral(" landscape") : QStringLiteral(" portrait"));
}

} // namespace workshop
