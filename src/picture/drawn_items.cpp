// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture/drawn_items.h"

QRect DrawnBounds(const DrawnItems& items) {
    QRect bounds;
    for (const DrawnItem& item : items) {
        const QRect box = item.IsSegment ? QRect(item.A, item.B)
                                               .normalized()
                                               .adjusted(-item.Pad, -item.Pad, item.Pad, item.Pad)
                                         : item.Box.normalized();
        bounds = bounds.united(box);
    }
    return bounds;
}
