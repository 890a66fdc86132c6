// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the main window's controls stand on the top strip of the picture,
// next to the texts that the drawing prints for them ("Pan Vert" at
// (199, 25), the read-outs at x 459 and 545, the reference-point values at
// x 143, the dynamic-variable names at (377, 71..107), the undo line at x 320).
// Window pixels of the 1280 x 1024 picture.

#include "picture/fonts.h"
#include <QRect>
#include <QString>

namespace controls_layout {

// Motion: three rows of a bar and three buttons.
constexpr int BarLeft = 2;
constexpr int BarWidth = 108;
constexpr int RowHeight = 16;
constexpr int ButtonWidth = 26;
constexpr int Button1Left = 112;
constexpr int Button2Left = 140;
constexpr int Button3Left = 168;
constexpr int Row1Top = 2;
constexpr int Row2Top = 20;
constexpr int Row3Top = 38;
constexpr int Row4Top = 56;

constexpr QRect SBRevArm(BarLeft, Row1Top, BarWidth, RowHeight);
constexpr QRect Center(Button1Left, Row1Top, ButtonWidth, RowHeight);
constexpr QRect Fwd(Button2Left, Row1Top, ButtonWidth, RowHeight);
constexpr QRect Rev(Button3Left, Row1Top, ButtonWidth, RowHeight);
constexpr QRect SBDrvAng(BarLeft, Row2Top, BarWidth, RowHeight);
constexpr QRect Deg00(Button1Left, Row2Top, ButtonWidth, RowHeight);
constexpr QRect Deg180(Button2Left, Row2Top, ButtonWidth, RowHeight);
constexpr QRect Run(Button3Left, Row2Top, ButtonWidth, RowHeight);
constexpr QRect SBStepAng(BarLeft, Row3Top, BarWidth, RowHeight);
constexpr QRect Step1(Button1Left, Row3Top, ButtonWidth, RowHeight);
constexpr QRect Step10(Button2Left, Row3Top, ButtonWidth, RowHeight);
constexpr QRect Step45(Button3Left, Row3Top, ButtonWidth, RowHeight);

// View: "Norm", "P", the six presets and the two pans to a reference point.
constexpr QRect NormVHZ(2, Row4Top, 32, RowHeight);
constexpr QRect Preset0(36, Row4Top, 15, RowHeight);
constexpr int PresetLeft = 53; // preset n at PresetLeft + PresetPitch (n - 1)
constexpr int PresetPitch = 17;
constexpr int PresetWidth = 15;
constexpr QRect RefPt1(155, Row4Top, 20, RowHeight);
constexpr QRect RefPt2(177, Row4Top, 20, RowHeight);

// Pan and zoom bars beside the drawing's "Pan Vert", "Pan Horz", "Zoom".
constexpr int PanLeft = 250;
constexpr int PanWidth = 200;
constexpr int PanHeight = 13;
constexpr QRect SBPanVert(PanLeft, 25, PanWidth, PanHeight);
constexpr QRect SBPanHorz(PanLeft, 39, PanWidth, PanHeight);
constexpr QRect SBZoom(PanLeft, 53, PanWidth, PanHeight);

// Reference points: four bars left of the "Pt1V" ... "Pt2H" texts.
constexpr int RefBarHeight = 11;
constexpr QRect SBRef1Vert(BarLeft, 73, BarWidth, RefBarHeight);
constexpr QRect SBRef1Horz(BarLeft, 85, BarWidth, RefBarHeight);
constexpr QRect SBRef2Vert(BarLeft, 97, BarWidth, RefBarHeight);
constexpr QRect SBRef2Horz(BarLeft, 109, BarWidth, RefBarHeight);
constexpr QRect RefPt1Zero(Button1Left, 73, ButtonWidth, 23);
constexpr QRect RefPt2Zero(Button1Left, 97, ButtonWidth, 23);

// Pivot data table button, above the read-outs.
constexpr QRect DataTable(199, 3, 64, 19);

// Dynamic variables: a bar right of each name and value row, and of the
// read-outs, ending inside the window's start width of 800.
constexpr int DynVarLeft = 655;
constexpr int DynVarWidth = 140;
constexpr int DynVarHeight = 11;
constexpr int DynVarTop = 71; // bar n at DynVarTop + DynVarPitch (n - 1)
constexpr int DynVarPitch = 12;

// The undo button, left of the undo line at x 320; its top comes from the model.
constexpr int UnDoLeft = 270;
constexpr int UnDoWidth = 46;
constexpr int UnDoHeight = 16;

const QString FontFamily = shell::FontFamily();
constexpr int FontPoints = 8;

} // namespace controls_layout
