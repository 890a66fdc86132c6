// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Names and world positions of the point-table slots, as the auxiliary
// windows show them.

#include <QPointF>
#include <QString>

namespace kes {
struct Model;
}

namespace aux_points {

// World position of a slot. The bell-crank and reverse-arm pivots (6, 11)
// and their copies (17, 18) are held relative to the gear mount: they give
// their absolute positions here. An index outside the table gives (0, 0).
QPointF AbsolutePosition(const kes::Model& m, int pointIndex);

// "8  Valve-rod front pin"; a number alone for an index that names nothing.
QString Name(int pointIndex);

} // namespace aux_points
