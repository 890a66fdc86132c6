// SPDX-License-Identifier: GPL-3.0-or-later
#include "auxiliary/point_names.h"

#include "model/absolute_points.h"
#include "model/model.h"

namespace aux_points {

namespace {

const char* const PointNames[kes::RevArmPivotAbs + 1] = {
    "Driver centre",
    "Reverse arm top",
    "Reverse arm radius-bar pin",
    "Crosshead pin",
    "Valve-stem joint",
    "Bell-crank horizontal pin",
    "Bell-crank pivot",
    "Bell-crank vertical pin",
    "Valve-rod front pin",
    "Gear con-rod radius-bar pin",
    "Combination lever lower pin",
    "Reverse-arm pivot",
    "Crank pin",
    "Crank offset",
    "Return-crank pin",
    "Eccentric-rod front pin",
    "Baker gear mount",
    "Reverse-arm pivot (copy)",
    "Bell-crank pivot (copy)",
    "Reference point 1",
    "Reference point 2",
    "Union-link rear pin",
    "Bell-crank pivot",
    "Reverse-arm pivot",
};

} // namespace

QPointF AbsolutePosition(const kes::Model& m, int pointIndex) {
    const kes::WorldPosition p = kes::AbsolutePosition(m, pointIndex);
    return {p.X, p.Y};
}

QString Name(int pointIndex) {
    if (pointIndex < 0 || pointIndex > kes::RevArmPivotAbs) return QString::number(pointIndex);
    return QStringLiteral("%1  %2")
        .arg(pointIndex)
        .arg(QString::fromLatin1(PointNames[pointIndex]));
}

} // namespace aux_points
