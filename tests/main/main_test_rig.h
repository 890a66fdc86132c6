// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A model at its start-up state, the drawing's state and a frame image, and
// helpers to look at the pixels a user would see.

#include "model/model.h"
#include "model/solver.h"
#include "picture/animation_tick.h"
#include "picture/cylinder_outlines.h"
#include "picture/draw_state.h"
#include "picture/mechanism_painter.h"

#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QtGlobal>

#include <cstdlib>

struct FrameRig {
    kes::Model m;
    DrawState s;
    QImage image = NewFrameImage();

    FrameRig() {
        kes::InitialiseModel(m);
        s.FixedSeed = 12345u;
    }

    // A whole tick.
    FrameOutcome Tick() {
        FrameOutcome out;
        RunTick(m, s, image, out);
        return out;
    }

    // The picture at the current angle, the driver standing still.
    FrameOutcome DrawStill() {
        const float step = m.StepAngle;
        m.StepAngle = 0.0f;
        FrameOutcome out = Tick();
        m.StepAngle = step;
        return out;
    }

    QPoint Screen(int slot) const {
        const auto& p = m.Points[static_cast<size_t>(slot)];
        return {p.SX, p.SY};
    }

    QRgb Pixel(QPoint p) const {
        if (!image.rect().contains(p)) return 0xFFFFFFu;
        return image.pixel(p) & 0xFFFFFFu;
    }

    // True when a pixel of this colour lies within radius of p.
    bool ColourNear(QPoint p, QRgb rgb, int radius = 1) const {
        for (int dy = -radius; dy <= radius; ++dy)
            for (int dx = -radius; dx <= radius; ++dx)
                if (Pixel(p + QPoint(dx, dy)) == rgb) return true;
        return false;
    }

    // Pixels that are not the white background inside r.
    int InkIn(const QRect& r) const {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (Pixel(QPoint(x, y)) != 0xFFFFFFu) ++n;
        return n;
    }

    int CountColour(QRgb rgb) const {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((image.pixel(x, y) & 0xFFFFFFu) == rgb) ++n;
        return n;
    }
};

inline QPoint Midpoint(QPoint a, QPoint b) {
    return (a + b) / 2;
}

// QT_QPA_PLATFORM=offscreen prints this on every show(); nothing else is hidden.
// Call it from initTestCase: QTest installs its own handler when it starts.
inline void QuietOffscreenMessages() {
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (message.contains(QLatin1String("propagateSizeHints"))) return;
            if (previous) previous(type, context, message);
        });
}
