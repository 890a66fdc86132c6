// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing workshop sheets: pages painted in millimetres from each page's
// top-left into a PDF, or one page into an SVG whose units are millimetres
// of the printed sheet. Both go through a temporary file, so a failed write
// leaves the old file as it was.

#include "workshop/sheet_paper.h"

#include <QSizeF>
#include <QString>

#include <functional>

class QPainter;

namespace workshop {

struct PdfPage {
    QSizeF SizeMm;
    bool Landscape = false;
};

using PagePainter = std::function<void(QPainter&, int page)>;

// Returns the number of pages written, or 0 and sets *error.
int WritePdfPages(const QString& fileName, const SheetPaper& paper,
                  const std::vector<PdfPage>& pages, const QString& title, const PagePainter& paint,
                  QString* error = nullptr);
bool WriteSvgPage(const QString& fileName, QSizeF sizeMm, const QString& title,
                  const std::function<void(QPainter&)>& paint, QString* error = nullptr);

// "x.pdf" or "x.svg" by the name.
bool IsSvgName(const QString& fileName);

} // namespace workshop
