// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads the texts of one frame of the mechanism picture through the
// recording paint device, the size of the main window's picture.

#include "picture/mechanism_painter.h"
#include "support/recording_paint_device.h"

#include <QPainter>
#include <QSize>

#include <vector>

// Draws one frame onto the recorder and returns its texts.
inline std::vector<RecordedText> RecordFrameTexts(kes::Model& m, DrawState& s) {
    RecordingPaintDevice device(QSize(1280, 1024));
    QPainter p(&device);
    FrameOutcome out;
    DrawMechanism(p, m, s, out);
    p.end();
    ApplyFrameOutcome(m, out);
    return device.Texts();
}
