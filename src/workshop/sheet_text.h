// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text and lines on a sheet painted in millimetres. Fonts come in whole
// pixels, so text is drawn at a tenth of a millimetre to the pixel.

#include <QPainter>
#include <QRectF>
#include <QString>

namespace workshop {

inline constexpr double ThickLineMm = 0.35; // outlines
inline constexpr double ThinLineMm = 0.18;  // dimensions, centre lines, tables

// The baseline's left end at atMm, or aligned in a box when flags are given.
void SheetText(QPainter& p, QPointF atMm, const QString& text, double heightMm, bool bold = false);
void SheetTextIn(QPainter& p, const QRectF& boxMm, int flags, const QString& text, double heightMm,
                 bool bold = false);
// The width of a text at that height, in millimetres.
double SheetTextWidth(const QString& text, double heightMm, bool bold = false);

} // namespace workshop
