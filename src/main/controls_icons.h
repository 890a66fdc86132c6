// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tool-bar pictures of the main window's motion, view and display
// commands, painted small for this program.

#include <QIcon>

enum class ControlIcon {
    RevArmPos,   // reverse arm set to a position
    DriverAng,   // driver set to an angle
    StepAng,     // step angle
    MidGear,     // mid gear found and the arm centred
    RefPoints,   // reference points on
    PivotData,   // pivot data on
    DynamicVari, // dynamic variables on
    UnDo,        // undo line on
    DrawLines,   // lines and circles
};

QIcon MakeControlIcon(ControlIcon which);
