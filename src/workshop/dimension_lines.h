// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A dimension on a sheet in millimetres: extension lines from the two
// features to the dimension line, arrow heads at its ends and the text
// beside its middle.

#include <QPointF>
#include <QString>

class QPainter;

namespace workshop {

// from/to: the features; lineFrom/lineTo: the dimension line's ends.
// vertical: the text goes to the right of a vertical line instead of above.
void PaintDimension(QPainter& p, QPointF from, QPointF to, QPointF lineFrom, QPointF lineTo,
                    const QString& text, bool vertical = false);

} // namespace workshop
