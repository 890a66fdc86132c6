// SPDX-License-Identifier: GPL-3.0-or-later
#include "workshop/title_block.h"

#include "kestrove_version.h"
#include "model/model.h"
#include "workshop/sheet_text.h"

#include <QDate>
#include <QFileInfo>
#include <QPainter>

namespace workshop {

TitleInfo TitleFor(const kes::Model& m, const QString& title, const QString& file) {
    TitleInfo t;
    t.Title = title;
    t.Design = QString::fromStdString(m.DataSetName);
    t.File = file.isEmpty() ? QString() : QFileInfo(file).fileName();
    return t;
}

void PaintTitleBlock(QPainter& p, QPointF topLeftMm, const TitleInfo& info) {
    const QRectF box(topLeftMm, TitleBlockMm);
    p.save();
    p.setPen(QPen(Qt::black, ThickLineMm));
    p.setBrush(Qt::white);
    p.drawRect(box);
    const double row = TitleBlockMm.height() / 5;
    p.setPen(QPen(Qt::black, ThinLineMm));
    for (int i = 1; i < 5; ++i)
        p.drawLine(QPointF(box.left(), box.top() + i * row),
                   QPointF(box.right(), box.top() + i * row));
    const double mid = box.left() + box.width() / 2;
    p.drawLine(QPointF(mid, box.top() + 2 * row), QPointF(mid, box.top() + 4 * row));
    const QString date =
        info.Date.isEmpty() ? QDate::currentDate().toString(Qt::ISODate) : info.Date;
    auto cell = [&](double x, int r, double w, const QString& text, bool bold = false) {
        SheetTextIn(p, QRectF(x + 1.5, box.top() + r * row, w - 3, row),
                    Qt::AlignLeft | Qt::AlignVCenter, text, bold ? 3.2 : 2.6, bold);
    };
    const double w = box.width(), h = w / 2;
    cell(box.left(), 0, w, info.Title, true);
    cell(box.left(), 1, w,
         QStringLiteral("Design: %1%2")
             .arg(info.Design,
                  info.File.isEmpty() ? QString() : QStringLiteral("   File: ") + info.File));
    cell(box.left(), 2, h, QStringLiteral("Scale: %1").arg(info.Scale));
    cell(mid, 2, h, QStringLiteral("Unit: %1").arg(info.Unit));
    cell(box.left(), 3, h, QStringLiteral("Date: %1").arg(date));
    cell(mid, 3, h, QStringLiteral("KESTROVE %1").arg(QStringLiteral(KESTROVE_VERSION)));
    cell(box.left(), 4, w, info.Extra);
    p.restore();
}

} // namespace workshop
