// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The screen outlines of the cylinder, its ports, the piston and the valve,
// rebuilt on every tick from the cylinder dimensions, Points 3 and 4 and the
// current view.

#include <QPoint>

#include <array>

namespace kes {
struct Model;
struct View;
} // namespace kes

struct CylinderOutlines {
    std::array<QPoint, 15> Cylinder{};
    std::array<QPoint, 9> Port{};
    std::array<QPoint, 6> Piston{}; // 5 is the valve-stem end
    std::array<QPoint, 8> Valve{};
};

// A window pixel from a real (kes::SaturatedPixel), held at
// +-ScreenPixelLimit.
inline constexpr int ScreenPixelLimit = 1 << 24;
int ScreenPixel(double v);

// Screen x and y of a world coordinate in the current view (ScreenPixel).
int WorldToScreenX(const kes::Model& m, double x);
int WorldToScreenY(const kes::Model& m, double y);
// The same in a given view.
int WorldToScreenX(const kes::View& v, double x);
int WorldToScreenY(const kes::View& v, double y);

void ComputeCylinderOutlines(const kes::Model& m, CylinderOutlines& out);
