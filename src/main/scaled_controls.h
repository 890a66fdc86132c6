// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the controls beside the drawing's texts stand at the text scale in
// use. With the normal font they keep their fixed places; with the large
// font the texts grow and move, and the controls are placed from the font's
// metrics so that they cover none of them.

#include <QFont>
#include <QRect>

#include <array>

namespace kes {
struct Model;
}

struct ScaledControlRects {
    QRect PanVert, PanHorz, Zoom;
    std::array<QRect, 4> DynVar; // bars 1..4
    QRect UnDo;
};

// The font the drawing prints its screen texts in at the model's scale.
QFont ScreenTextFont(const kes::Model& m);
ScaledControlRects ControlRectsFor(const kes::Model& m);
