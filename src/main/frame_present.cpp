// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/frame_present.h"

#include <QScrollBar>
#include <QWidget>

QRegion FrameRegion(const QWidget& picture) {
    QRegion region(picture.rect());
    for (const QObject* child : picture.children()) {
        const auto* w = qobject_cast<const QWidget*>(child);
        if (!w || !w->isVisible()) continue;
        if (qobject_cast<const QScrollBar*>(w)) region -= w->geometry();
    }
    return region;
}
