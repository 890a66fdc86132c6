// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/page_writer.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <numeric>

namespace exporting {

namespace {

QFont Font(double points, bool bold) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    // Ligatures would turn "ff" into one glyph and a search of the text would miss it.
    f.setStyleStrategy(QFont::PreferNoShaping);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

// Room kept at the foot of the page for the page number.
constexpr double FooterMm = 8.0;
constexpr double CellPaddingMm = 1.0;

} // namespace

PageWriter::PageWriter(QPagedPaintDevice& device, QPainter* painter, QString footer, int totalPages)
    : device_(device), painter_(painter), footer_(std::move(footer)), totalPages_(totalPages),
      dpi_(device.logicalDpiY()), title_(Font(16, true)), heading_(Font(11, true)),
      body_(Font(9, false)), small_(Font(7.5, false)) {
    width_ = device.width();
    bottom_ = device.height() - Mm(FooterMm);
}

double PageWriter::LineHeight(const QFont& font) const {
    return QFontMetricsF(font, &device_).lineSpacing();
}

double PageWriter::TextHeight(const QFont& font, double width, const QString& text) const {
    const QRectF r = QFontMetricsF(font, &device_)
                         .boundingRect(QRectF(0, 0, width, 1e9), Qt::TextWordWrap, text);
    return std::max(r.height(), LineHeight(font));
}

void PageWriter::Text(const QFont& font, double x, double width, const QString& text, int flags) {
    const double h = TextHeight(font, width, text);
    if (painter_) {
        painter_->setFont(font);
        painter_->setPen(Qt::black);
        painter_->drawText(QRectF(x, y_, width, h), flags | Qt::TextWordWrap, text);
    }
}

void PageWriter::Need(double height) {
    if (y_ > 0 && y_ + height > bottom_) NewPage();
}

void PageWriter::NewPage() {
    Footer();
    if (painter_) device_.newPage();
    ++page_;
    y_ = 0;
}

void PageWriter::BreakPage() {
    if (y_ > 0) NewPage();
}

void PageWriter::Footer() {
    if (!painter_) return;
    QString text = footer_ + QStringLiteral("    page %1").arg(page_);
    if (totalPages_ > 0) text += QStringLiteral(" of %1").arg(totalPages_);
    painter_->setFont(small_);
    painter_->setPen(Qt::black);
    painter_->drawText(QRectF(0, device_.height() - Mm(FooterMm) + Mm(2), width_, Mm(FooterMm)),
                       Qt::AlignRight | Qt::AlignTop, text);
}

void PageWriter::Title(const QString& text) {
    const double h = TextHeight(title_, width_, text);
    Need(h);
    Text(title_, 0, width_, text, Qt::AlignLeft);
    y_ += h + Mm(2);
}

void PageWriter::Heading(const QString& text) {
    const double h = TextHeight(heading_, width_, text);
    // A heading keeps at least three lines of what follows with it.
    Need(h + 3 * LineHeight(body_));
    Text(heading_, 0, width_, text, Qt::AlignLeft);
    y_ += h + Mm(1);
}

void PageWriter::Paragraph(const QString& text) {
    const double h = TextHeight(body_, width_, text);
    Need(h);
    Text(body_, 0, width_, text, Qt::AlignLeft);
    y_ += h;
}

void PageWriter::Space(double mm) {
    y_ += Mm(mm);
}

void PageWriter::Table(const TextTable& table) {
    const size_t n = table.Header.size();
    if (n == 0) return;
    std::vector<double> widths = table.Widths;
    widths.resize(n, 1.0);
    const double total = std::accumulate(widths.begin(), widths.end(), 0.0);
    std::vector<double> x(n + 1, 0.0);
    for (size_t i = 0; i < n; ++i)
        x[i + 1] = x[i] + widths[i] / total * width_;
    const double pad = Mm(CellPaddingMm);
    auto flagsOf = [&](size_t column) {
        const bool left = std::find(table.LeftColumns.begin(), table.LeftColumns.end(),
                                    static_cast<int>(column)) != table.LeftColumns.end();
        return static_cast<int>(left ? Qt::AlignLeft : Qt::AlignRight);
    };
    auto rowHeight = [&](const QFont& font, const QStringList& cells) {
        double h = LineHeight(font);
        for (size_t i = 0; i < n && i < static_cast<size_t>(cells.size()); ++i)
            h = std::max(h, TextHeight(font, x[i + 1] - x[i] - 2 * pad, cells[int(i)]));
        return h;
    };
    auto writeRow = [&](const QFont& font, const QStringList& cells, double h) {
        for (size_t i = 0; i < n && i < static_cast<size_t>(cells.size()); ++i)
            Text(font, x[i] + pad, x[i + 1] - x[i] - 2 * pad, cells[int(i)], flagsOf(i));
        y_ += h;
    };
    QFont bold = small_;
    bold.setBold(true);
    auto header = [&] {
        const double h = rowHeight(bold, table.Header);
        writeRow(bold, table.Header, h);
        if (painter_) painter_->drawLine(QPointF(0, y_), QPointF(width_, y_));
        y_ += Mm(0.5);
    };

    if (!table.Title.isEmpty()) Heading(table.Title);
    Need(rowHeight(bold, table.Header) + 2 * LineHeight(small_));
    header();
    for (const QStringList& row : table.Rows) {
        const double h = rowHeight(small_, row);
        if (y_ + h > bottom_) {
            NewPage();
            header(); // the header again on every page the table spans
        }
        writeRow(small_, row, h);
    }
    y_ += Mm(3);
}

void PageWriter::Picture(double width, double height, const QString& caption,
                         const std::function<void(QPainter&)>& paint) {
    const double captionHeight = caption.isEmpty() ? 0.0 : LineHeight(heading_) + Mm(1);
    Need(captionHeight + height);
    if (!caption.isEmpty()) {
        Text(heading_, 0, width_, caption, Qt::AlignLeft);
        y_ += captionHeight;
    }
    if (painter_) {
        painter_->save();
        painter_->translate(0, y_);
        painter_->setClipRect(QRectF(0, 0, width, height));
        paint(*painter_);
        painter_->restore();
    }
    y_ += height + Mm(4);
}

int PageWriter::Finish() {
    Footer();
    return page_;
}

} // namespace exporting
