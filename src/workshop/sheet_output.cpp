// SPDX-License-Identifier: GPL-3.0-or-later
#include "workshop/sheet_output.h"

#include "saving/buffered_save.h"

#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <cmath>

namespace workshop {

namespace {

constexpr int PdfResolution = 1200;
constexpr int SvgResolution = 254; // ten pixels to the millimetre

} // namespace

bool IsSvgName(const QString& fileName) {
    return QFileInfo(fileName).suffix().compare(QStringLiteral("svg"), Qt::CaseInsensitive) == 0;
}

int WritePdfPages(const QString& fileName, const SheetPaper& paper,
                  const std::vector<PdfPage>& pages, const QString& title, const PagePainter& paint,
                  QString* error) {
    if (pages.empty()) {
        if (error) *error = QStringLiteral("Nothing to print.");
        return 0;
    }
    const bool saved = saving::SaveThroughBuffer(fileName, [&](QIODevice& file, QString*) {
        QPdfWriter writer(&file);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("KESTROVE"));
        writer.setResolution(PdfResolution);
        writer.setPageLayout(paper.Layout(pages.front().Landscape));
        QPainter p;
        if (!p.begin(&writer)) return false;
        p.setRenderHint(QPainter::Antialiasing);
        const double perMm = PdfResolution / 25.4;
        for (size_t i = 0; i < pages.size(); ++i) {
            if (i > 0) {
                writer.setPageLayout(paper.Layout(pages[i].Landscape));
                writer.newPage();
            }
            p.save();
            p.scale(perMm, perMm);
            paint(p, static_cast<int>(i));
            p.restore();
        }
        return p.end();
    }, error);
    return saved ? static_cast<int>(pages.size()) : 0;
}

bool WriteSvgPage(const QString& fileName, QSizeF sizeMm, const QString& title,
                  const std::function<void(QPainter&)>& paint, QString* error) {
    return saving::SaveThroughBuffer(fileName, [&](QIODevice& file, QString*) {
        QSvgGenerator generator;
        generator.setOutputDevice(&file);
        generator.setResolution(SvgResolution);
        const double perMm = SvgResolution / 25.4;
        generator.setSize(QSize(static_cast<int>(std::ceil(sizeMm.width() * perMm)),
                                static_cast<int>(std::ceil(sizeMm.height() * perMm))));
        generator.setViewBox(QRectF(QPointF(0, 0), sizeMm));
        generator.setTitle(title);
        QPainter p;
        if (!p.begin(&generator)) return false;
        paint(p);
        return p.end();
    }, error);
}

} // namespace workshop
