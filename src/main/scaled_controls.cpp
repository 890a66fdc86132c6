// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/scaled_controls.h"

#include "controls/display.h"
#include "main/controls_layout.h"
#include "model/model.h"
#include "model/rounding.h"
#include "picture/draw_constants.h"

#include <QFontMetrics>
#include <QImage>

#include <algorithm>

namespace {

namespace L = controls_layout;

int Scaled(int v, float f) {
    return kes::RoundHalfEven(v * static_cast<double>(f));
}

bool IsLarge(const kes::Model& m) {
    return m.TextScaleX != 1.0f || m.TextScaleY != 1.0f;
}

} // namespace

QFont ScreenTextFont(const kes::Model& m) {
    QFont font(drawk::FontFamily);
    font.setPointSizeF(drawk::FontPoints * static_cast<double>(m.TextScaleY));
    font.setStretch(drawk::FontStretch);
    return font;
}

ScaledControlRects ControlRectsFor(const kes::Model& m) {
    ScaledControlRects r{L::SBPanVert, L::SBPanHorz, L::SBZoom, {}, {}};
    for (int n = 0; n < 4; ++n)
        r.DynVar[static_cast<size_t>(n)] = QRect(L::DynVarLeft, L::DynVarTop + L::DynVarPitch * n,
                                                 L::DynVarWidth, L::DynVarHeight);
    r.UnDo = QRect(L::UnDoLeft, kes::UndoButtonTop(m), L::UnDoWidth, L::UnDoHeight);
    if (!IsLarge(m)) return r;

    const float fx = m.TextScaleX, fy = m.TextScaleY;
    // Measured as the drawing measures: on an image of its resolution.
    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(drawk::ImageDotsPerMeter);
    device.setDotsPerMeterY(drawk::ImageDotsPerMeter);
    const QFontMetrics metrics(ScreenTextFont(m), &device);
    const int gap = metrics.horizontalAdvance(QLatin1Char(' '));

    // The pan and zoom bars right of their names, on the names' rows, and
    // left of the read-outs at x 459.
    const int namesRight = Scaled(drawk::PanVertAt.x(), fx) +
                           std::max({metrics.horizontalAdvance(drawk::PanVert),
                                     metrics.horizontalAdvance(drawk::PanHorz),
                                     metrics.horizontalAdvance(drawk::Zoom)}) +
                           gap;
    const int panLeft = std::max(L::PanLeft, namesRight);
    const int panWidth = std::min(L::PanWidth, Scaled(drawk::RevArmAt.x(), fx) - gap - panLeft);
    const int rowPitch = Scaled(drawk::PanHorzAt.y(), fy) - Scaled(drawk::PanVertAt.y(), fy);
    const int panHeight = std::min(Scaled(L::PanHeight, fy), rowPitch - 1);
    r.PanVert = QRect(panLeft, Scaled(drawk::PanVertAt.y(), fy), panWidth, panHeight);
    r.PanHorz = QRect(panLeft, Scaled(drawk::PanHorzAt.y(), fy), panWidth, panHeight);
    r.Zoom = QRect(panLeft, Scaled(drawk::ZoomAt.y(), fy), panWidth, panHeight);

    // The dynamic-variable bars: right of the read-outs there is no room, so
    // they stand left of the names, right of the reference-point texts.
    const int refRight =
        std::max({Scaled(drawk::RefDiffVAt.x(), fx) +
                      metrics.horizontalAdvance(QStringLiteral("-00.000")),
                  Scaled(drawk::Pt1Pt2At.x(), fx) + metrics.horizontalAdvance(drawk::Pt1Pt2),
                  Scaled(drawk::RefDistanceAt.x(), fx) +
                      metrics.horizontalAdvance(QStringLiteral("00.000"))}) +
        gap;
    const int barRight = Scaled(drawk::DynVarNameX, fx) - gap;
    const int barLeft = std::max(refRight, barRight - L::DynVarWidth);
    for (int n = 0; n < 4; ++n)
        r.DynVar[static_cast<size_t>(n)] =
            QRect(barLeft, Scaled(L::DynVarTop + L::DynVarPitch * n, fy),
                  std::max(20, barRight - barLeft), L::DynVarHeight);

    // The UnDo button moves with the undo line it stands before.
    r.UnDo = QRect(Scaled(L::UnDoLeft, fx), Scaled(kes::UndoButtonTop(m), fy), L::UnDoWidth,
                   L::UnDoHeight);
    return r;
}
