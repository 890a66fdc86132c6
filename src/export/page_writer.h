// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writes flowing text, tables and pictures down the pages of a paged device
// (a QPdfWriter or a QPrinter), starting a new page when the next block
// does not fit, with "page n of N" at the foot of every page. Run it once
// without a painter to count the pages, then again with one to draw.

#include "export/report_text.h"

#include <QFont>
#include <QString>

#include <functional>

class QPagedPaintDevice;
class QPainter;

namespace exporting {

class PageWriter {
  public:
    // painter is null for the counting run. totalPages is what the footer
    // says (0 leaves the total out).
    PageWriter(QPagedPaintDevice& device, QPainter* painter, QString footer, int totalPages);

    double Mm(double mm) const { return mm * dpi_ / 25.4; }
    double Width() const { return width_; }

    void Title(const QString& text);
    void Heading(const QString& text);
    void Paragraph(const QString& text);
    void Space(double mm);
    void Table(const TextTable& table);
    // A picture of the given size in device pixels, painted by paint with
    // the painter's origin at its top-left corner.
    void Picture(double width, double height, const QString& caption,
                 const std::function<void(QPainter&)>& paint);
    // Starts a new page unless this one is still empty.
    void BreakPage();
    // Writes the last page's footer. Returns the number of pages.
    int Finish();

  private:
    void Need(double height);
    void NewPage();
    void Footer();
    double LineHeight(const QFont& font) const;
    double TextHeight(const QFont& font, double width, const QString& text) const;
    void Text(const QFont& font, double x, double width, const QString& text, int flags);

    QPagedPaintDevice& device_;
    QPainter* painter_;
    QString footer_;
    int totalPages_;
    double dpi_;
    double width_, bottom_;
    double y_ = 0;
    int page_ = 1;
    QFont title_, heading_, body_, small_;
};

} // namespace exporting
