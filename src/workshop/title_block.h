// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The title block of every workshop sheet: what the sheet shows, the
// design, its file, the date, the scale, the unit and the program version,
// in a box of fixed size that a layout keeps whole and clear of the drawing.

#include <QRectF>
#include <QSizeF>
#include <QString>

class QPainter;

namespace kes {
struct Model;
}

namespace workshop {

struct TitleInfo {
    QString Title;  // "Radius bar", "General arrangement"
    QString Design; // the data set's name
    QString File;   // the dimension file, or empty
    QString Date;   // empty: today
    QString Scale;  // "1:2", "full size"
    QString Unit;   // "in", "mm"
    QString Extra;  // a last line (a sheet number, the setting), may be empty
};

inline constexpr QSizeF TitleBlockMm{110.0, 30.0};

TitleInfo TitleFor(const kes::Model& m, const QString& title, const QString& file);
void PaintTitleBlock(QPainter& p, QPointF topLeftMm, const TitleInfo& info);

} // namespace workshop
