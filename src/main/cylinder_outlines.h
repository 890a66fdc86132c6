#pragma once
// The screen outlines of the cylinder, its ports, the piston and the valve,
// rebuilt on every tick from the cylinder dimensions, Points 3 and 4 and the
// current view.

#include <QPoint>

#include <array>

namespace kes {
struct Model;
}

struct CylinderOutlines {
    std::array<QPoint, 15> Cylinder{};
    std::array<QPoint, 9> Port{};
    std::array<QPoint, 6> Piston{}; // 5 is the valve-stem end
    std::array<QPoint, 8> Valve{};
};

// Screen x and y of a world coordinate in the current view, rounded half to even.
int WorldToScreenX(const kes::Model& m, double x);
int WorldToScreenY(const kes::Model& m, double y);

void ComputeCylinderOutlines(const kes::Model& m, CylinderOutlines& out);
