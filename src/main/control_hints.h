// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The hints (tool tips) of the main window's controls and tool buttons.

#include <QString>

#include <array>

namespace control_hints {
inline const QString RevArm = QStringLiteral("Set Reverse Arm Between Max & Min");
inline const QString DrvAng = QStringLiteral("Set Driver Angle From 0 to 360 Deg");
inline const QString StepAng = QStringLiteral("Set Driver Step Angle to Predefined Values");
inline const QString Run = QStringLiteral("Start / Stop Driver Rotation");
inline const QString Center = QStringLiteral("Set Reverse Arm to Mid Gear");
inline const QString Fwd = QStringLiteral("Set Reverse Arm to Normal Forward");
inline const QString Rev = QStringLiteral("Set Reverse Arm to Normal Reverse");
inline const QString Deg00 = QStringLiteral("Set Driver to 0 Deg");
inline const QString Deg180 = QStringLiteral("Set Driver Angle to 180 Deg");
inline const QString Step1 = QStringLiteral("Set Driver Step Angle to 1 Deg");
inline const QString Step10 = QStringLiteral("Set Driver Step Angle to 10 Deg");
inline const QString Step45 = QStringLiteral("Set Driver Step Angle to 45 Deg");
inline const QString PanVert = QStringLiteral("Pan Vertical");
inline const QString PanHorz = QStringLiteral("Pan Horizontal");
inline const QString Zoom = QStringLiteral("Zoom In / Out");
inline const QString Norm = QStringLiteral("Return Pan & Zoom to Normal");
inline const QString Preset0 = QStringLiteral("Select First to Change Presets");
inline const QString Preset = QStringLiteral("Pan & Zoom to Preset %1");
inline const QString Ref1Vert = QStringLiteral("Change Ref Point 1 Vert");
inline const QString Ref1Horz = QStringLiteral("Change Ref Point 1 Horz");
inline const QString Ref2Vert = QStringLiteral("Change Ref Point 2 Vert");
inline const QString Ref2Horz = QStringLiteral("Change Ref Point 2 Horz");
inline const QString RefPt = QStringLiteral("Pan to Ref Point %1");
inline const QString RefPtZero = QStringLiteral("Zero Reference Point %1");
inline const QString DataTable = QStringLiteral("Show Pivot Data Table");
inline const QString UnDo = QStringLiteral("UnDo Last Dimension Change");
inline const std::array<QString, 4> DynVar = {
    QStringLiteral("Change Last Variable Clicked"),
    QStringLiteral("Change Next to Last Variable Clicked"),
    QStringLiteral("Change 2nd to Last Variable Clicked"),
    QStringLiteral("Change 3rd to Last Variable Clicked"),
};
// Tool buttons.
inline const QString RevArmPos = QStringLiteral("Set Reverse Arm to Desired Position");
inline const QString DriverAng = QStringLiteral("Set Driver Angle to Desired Position");
inline const QString StepAngDlg = QStringLiteral("Set Step Angle to Desired Amount");
inline const QString MidGear = QStringLiteral("Calculate Mid Gear Position if Necessary");
inline const QString RefPoints = QStringLiteral("Turn On Reference Points");
inline const QString PivotData = QStringLiteral("Turn On Pivot Data");
inline const QString DynamicVari = QStringLiteral("Turn On Dynamic Variables");
inline const QString UnDoDisplay = QStringLiteral("Turn On UnDo");
inline const QString DrawLines = QStringLiteral("Draw Lines and Circles");
} // namespace control_hints
