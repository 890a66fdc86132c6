// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every pixel position, colour and text of the main window's picture, so
// the drawing can be checked against the screen in one place. Positions of
// the screen texts are before the text scale is applied.

#include <QColor>
#include <QPoint>
#include <QString>

#include "picture/fonts.h"
#include <array>
#include <string_view>

namespace drawk {

inline constexpr int ImageWidth = 1280;
inline constexpr int ImageHeight = 1024;
inline constexpr int ImageDotsPerMeter = 3780; // 96 dots per inch

inline const QString FontFamily = shell::FontFamily();
inline constexpr int FontPoints = 8;
// A little narrower than normal, so the read-out columns keep clear of each other.
inline constexpr int FontStretch = 87;
inline constexpr int HighlightFontPoints = 14;

// Colours of the picture.
inline constexpr QRgb Background = 0xFFFFFF;
inline constexpr QRgb Black = 0x000000;
inline constexpr QRgb White = 0xFFFFFF;
inline constexpr QRgb Red = 0xFF0000;
inline constexpr QRgb Maroon = 0x800000;
inline constexpr QRgb Lime = 0x00FF00;
inline constexpr QRgb Magenta = 0xFF00FF;
inline constexpr QRgb Cyan = 0x00FFFF;
inline constexpr QRgb Blue = 0x0000FF;
inline constexpr QRgb DarkGreen = 0x008000;
inline constexpr QRgb Gray = 0x808080;

// Links.
inline constexpr QRgb RevArm = Lime;
inline constexpr QRgb ReachRod = Black;
inline constexpr QRgb RadiusBar = Maroon;
inline constexpr QRgb GearConRod = Magenta;
inline constexpr QRgb BellCrank = Cyan;
inline constexpr QRgb ValveRod = Blue;
inline constexpr QRgb CombLever = Magenta;
inline constexpr QRgb UnionLink = Lime;
inline constexpr QRgb DropLink = Cyan;
inline constexpr QRgb MainRod = Red;
inline constexpr QRgb ReturnCrank = Lime;
inline constexpr QRgb EccRod = Blue;
inline constexpr QRgb Outline = Gray;
inline constexpr QRgb FixedPivot = Red;

// Steam phases.
inline constexpr QRgb Admission = Red;
inline constexpr QRgb Expansion = Magenta;
inline constexpr QRgb Exhaust = Blue;
inline constexpr QRgb Compression = DarkGreen;

// Fixed-pivot crosses: (x+5, y+5)-(x-6, y-6) and (x+5, y-5)-(x-6, y+6).
inline constexpr int CrossNear = 5;
inline constexpr int CrossFar = 6;
// Reference-point crosses: two lines of +-10 pixels.
inline constexpr int RefCrossHalf = 10;

// Radii as fractions of the driver diameter.
inline constexpr double WheelRadius = 0.5;
inline constexpr double CounterweightRadius = 0.35;
inline constexpr double CounterweightHalfSpan = 110.0; // degrees each side
inline constexpr double AxleRadius = 0.08;
inline constexpr double CrankPinRadius = 0.05;
inline constexpr double EccPinRadius = 0.04;
inline constexpr double CrossheadRadius = 0.04;
inline constexpr double PinRadius = 0.02;

// Steam legend, relative to the bore's bottom rear corner.
inline const QString LegendAdmission = QStringLiteral("ADMISSION");
inline const QString LegendExpansion = QStringLiteral("EXPANSION");
inline const QString LegendExhaust = QStringLiteral("EXHAUST");
inline const QString LegendCompression = QStringLiteral("COMPRESSION");
inline constexpr QPoint LegendAdmissionAt{-40, 5};
inline constexpr QPoint LegendExpansionAt{40, 5};
inline constexpr QPoint LegendExhaustAt{-40, 17};
inline constexpr QPoint LegendCompressionAt{24, 17};

// Steam dot counts per unit of view scale, and the pressure rules.
inline constexpr double ChestTopDots = 5.4;
inline constexpr double ChestDots = 10.8;
inline constexpr double PressureToDots = 18.5;
inline constexpr float PressureMin = 25.0f;
inline constexpr float PressureMax = 2000.0f;
inline constexpr float AdmissionRate = 50.0f;
inline constexpr float ExhaustRate = 60.0f;

// Undo line.
inline constexpr QPoint UndoTextAt{320, 73};
inline constexpr QPoint UndoTextDynVarAt{320, 128};
inline constexpr int UndoButtonTop = 72;
inline constexpr int UndoButtonDynVarTop = 127;

// Fixed texts.
inline const QString PanVert = QStringLiteral("Pan Vert");
inline const QString PanHorz = QStringLiteral("Pan Horz");
inline const QString Zoom = QStringLiteral("Zoom");
inline constexpr QPoint PanVertAt{199, 25};
inline constexpr QPoint PanHorzAt{199, 39};
inline constexpr QPoint ZoomAt{199, 53};
inline const QString RevArmLabel = QStringLiteral("Rev Arm ");
inline const QString DrivAngLabel = QStringLiteral("Driv Ang ");
inline const QString StepAngLabel = QStringLiteral("Step Ang");
inline constexpr QPoint RevArmAt{459, 25};
inline constexpr QPoint DrivAngAt{459, 39};
inline constexpr QPoint StepAngAt{459, 53};
inline const QString PistonLabel = QStringLiteral("Piston % ");
inline const QString ValveCenLabel = QStringLiteral("ValveCen");
inline const QString ValveFStLabel = QStringLiteral("ValveFSt");
inline const QString ValveFExLabel = QStringLiteral("ValveFEx");
inline const QString ValveRStLabel = QStringLiteral("ValveRSt");
inline const QString ValveRExLabel = QStringLiteral("ValveREx");
inline const QString ConRodLabel = QStringLiteral("ConRodA");
inline constexpr QPoint PistonAt{545, 25};
inline constexpr QPoint ValveCenAt{545, 37};
inline constexpr QPoint ValveFStAt{545, 49};
inline constexpr QPoint ValveFExAt{545, 61};
inline constexpr QPoint ValveRStAt{545, 73};
inline constexpr QPoint ValveRExAt{545, 85};
inline constexpr QPoint ConRodAt{545, 97};
inline const QString TrailingBlanks = QStringLiteral("  ");

// Error indicator: frames shown, then the sound, then the reset.
inline constexpr int ErrorShowFrames = 10;
inline constexpr int ErrorResetAfter = 20;

// Pivot data.
inline const QString PivotTitle = QStringLiteral("    Pivot Data");
inline const QString PivotHeader = QStringLiteral("No.  Vert     Horz");
inline constexpr QPoint PivotTitleAt{1, 128};
inline constexpr QPoint PivotHeaderAt{1, 138};
inline constexpr int PivotFirstRow = 150;
inline constexpr int PivotRowStep = 10;
inline constexpr int PivotLabelX = 3;
inline constexpr int PivotVertX = 12;
inline constexpr int PivotHorzX = 50;
inline constexpr QPoint PivotMarkOffset{4, -12};
inline constexpr int PivotDistanceX = 90;
inline constexpr std::array<int, 3> PivotDistanceY{155, 175, 195};

// Point-selection prompts of the lines-and-circles window.
inline const std::array<QString, 3> PickOnePrompt{
    QStringLiteral("STOP MOTION AND SELECT PIVOT 1"), QStringLiteral("USE LEFT MOUSE BUTTON"),
    QStringLiteral("MOVE MOTION IF NECESSARY TO CLEAR PIVOT")};
inline const std::array<QString, 3> PickTwoPrompt{
    QStringLiteral("STOP MOTION AND SELECT PIVOT 1 AND PIVOT 2"),
    QStringLiteral("USE LEFT MOUSE BUTTON FIRST THEN RIGHT"),
    QStringLiteral("MOVE MOTION IF NECESSARY TO CLEAR PIVOTS")};
inline constexpr std::array<QPoint, 3> PromptAt{QPoint{10, 130}, QPoint{10, 143}, QPoint{10, 156}};

// Cut-off read-outs.
inline const QString FrontCutOffLabel = QStringLiteral("FrontCO% ");
inline const QString RearCutOffLabel = QStringLiteral("RearCO% ");
inline constexpr QPoint FrontCutOffAt{545, 109};
inline constexpr QPoint FrontCutOffValueAt{600, 109};
inline constexpr QPoint RearCutOffAt{545, 121};
inline constexpr QPoint RearCutOffValueAt{600, 121};
inline constexpr float CutOffShowSteps = 400.0f; // hold = round(400 / (step + 0.1)) frames
inline constexpr float CutOffMaxStep = 23.0f;

// Reference points.
inline const QString Pt1V = QStringLiteral("Pt1V ");
inline const QString Pt1H = QStringLiteral("Pt1H ");
inline const QString Pt2V = QStringLiteral("Pt2V ");
inline const QString Pt2H = QStringLiteral("Pt2H ");
inline const QString Pt1Pt2 = QStringLiteral("Pt1-Pt2");
inline constexpr QPoint Pt1VAt{143, 71};
inline constexpr QPoint Pt1HAt{143, 83};
inline constexpr QPoint Pt2VAt{143, 95};
inline constexpr QPoint Pt2HAt{143, 107};
inline constexpr QPoint RefDiffVAt{210, 71};
inline constexpr QPoint RefDiffHAt{210, 83};
inline constexpr QPoint Pt1Pt2At{207, 95};
inline constexpr QPoint RefDistanceAt{209, 107};
inline constexpr QPoint RefLabelOffset{3, -17};

// Dynamic variables.
inline const QString DynVarStars = QStringLiteral("*******************************");
inline const QString DynVarSelectFirst = QStringLiteral("* First Select Dimensions *");
inline constexpr QPoint DynVarStarsAt{377, 71};
inline constexpr QPoint DynVarSelectFirstAt{377, 81};
inline constexpr QPoint DynVarStars2At{377, 95};
inline constexpr int DynVarNameX = 377;
inline constexpr int DynVarValueX = 498;
inline constexpr std::array<int, 4> DynVarRowY{71, 83, 95, 107};

// Dimension highlight: the hourglass, then the name of the dimension.
struct PolyLine {
    int Count;
    std::array<QPoint, 6> Points;
};
inline constexpr std::array<PolyLine, 4> HourglassFrame{{
    {5, {QPoint{20, 100}, {44, 100}, {44, 104}, {20, 104}, {20, 100}}},
    {6, {QPoint{22, 100}, {22, 112}, {30, 120}, {30, 122}, {22, 130}, {22, 142}}},
    {6, {QPoint{42, 100}, {42, 112}, {34, 120}, {34, 122}, {42, 130}, {42, 142}}},
    {5, {QPoint{20, 142}, {44, 142}, {44, 138}, {20, 138}, {20, 142}}},
}};
inline constexpr std::array<PolyLine, 3> HourglassSand{{
    {2, {QPoint{24, 136}, {32, 127}}},
    {2, {QPoint{39, 136}, {31, 127}}},
    {4, {QPoint{31, 117}, {26, 111}, {37, 111}, {31, 118}}},
}};
inline constexpr int HourglassFrameWidth = 2;
inline constexpr int HourglassSandWidth = 1;
inline constexpr int HighlightPenWidth = 3;
inline constexpr int HighlightRedFrames = 3; // then three black
inline constexpr QPoint HighlightNameAt{30, 75};

// The view each dimension is shown in: scale = K / GraphicZoom * 7.5, and
// the offsets when the dimension moves them.
struct HighlightView {
    int Id;
    std::string_view Name;
    float K;
    bool SetsOffsets;
    float OffsetX;
    float OffsetY;
};
inline constexpr float GraphicZoomBase = 7.5f;
inline constexpr std::array<HighlightView, 52> HighlightViews{{
    {1, "Driver Dia", 30, true, 290, 212},
    {2, "Stroke", 30, true, 290, 212},
    {3, "Main Rod Length", 19, false, 0, 0},
    {4, "Drop Link to CrossH Vert", 62, true, -780, 212},
    {5, "Drop Link to CrossH BkS", 62, true, -780, 212},
    {6, "Union Link Length", 62, true, -780, 212},
    {7, "Combo Lever Upper", 62, true, -872, 335},
    {8, "Combo Lever Back Set", 62, true, -872, 335},
    {9, "Combo Lever Lower", 62, true, -872, 335},
    {10, "Valve Rod Length", 33, true, -100, 320},
    {11, "Ecc Crank Length", 33, true, 200, 220},
    {12, "Ecc Crank Cir Dia", 33, true, 200, 220},
    {13, "Ecc Rod Length", 33, true, 100, 220},
    {14, "Baker Gear Mtg Vert", 30, true, 100, 300},
    {15, "Baker Gear Mtg Horz", 30, true, 100, 300},
    {16, "Rev Arm Upper Length", 40, true, -100, 400},
    {17, "Rev Arm Lower Length", 40, true, -100, 400},
    {18, "Rev Arm Pivot Vert", 40, true, -100, 400},
    {19, "Rev Arm Pivot Horz", 40, true, -100, 400},
    {20, "Radius Bar Length", 40, true, -100, 400},
    {21, "Gear Con Rod Upper", 40, true, -100, 400},
    {22, "Gear Con Rod Lower", 40, true, -100, 400},
    {23, "Gear Con Rod Lower BkS", 40, true, -100, 400},
    {24, "Bell Crank Vert Length", 40, true, -100, 400},
    {25, "Bell Crank Backset", 40, true, -100, 400},
    {26, "Bell Crank Horz Length", 40, true, -100, 400},
    {27, "Bell Crank Pivot Vert", 40, true, -100, 400},
    {28, "Bell Crank Pivot Horz", 40, true, -100, 400},
    {29, "Rev Arm to Cent Norm", 40, true, -100, 400},
    {30, "Rev Arm to Cent Max", 40, true, -100, 400},
    {101, "Cyl ctr to Driver ctr", 19, false, 0, 0},
    {102, "Cyl CL above Driver ctr", 55, true, -1100, 295},
    {103, "Cylinder Bore Dia", 55, true, -900, 250},
    {104, "Cylinder Bore Length", 55, true, -1000, 250},
    {105, "Cyl Steam Port Width", 55, true, -900, 250},
    {106, "Piston ctr to Crosshead", 40, true, -500, 260},
    {107, "Piston Width", 55, true, -1000, 295},
    {108, "Valve Surface to Cyl CL", 55, true, -1000, 295},
    {109, "Valve Stem CL to Cyl CL", 55, true, -1000, 295},
    {110, "Exhaust Port  Width", 55, true, -1000, 295},
    {111, "Bridge Width   Rear", 55, true, -1000, 295},
    {112, "Bridge Width   Front", 55, true, -1000, 295},
    {113, "Steam Port Width  Rear", 55, true, -1000, 295},
    {114, "Steam Port Width   Front", 55, true, -1000, 295},
    {115, "Valve Chamber    Height", 55, true, -1000, 295},
    {116, "Valve Chamber Length", 55, true, -1000, 295},
    {117, "Valve Height", 55, true, -1000, 295},
    {118, "Valve Length  Rear Half", 55, true, -1000, 295},
    {119, "Valve Length   Front Half", 55, true, -1000, 295},
    {120, "Valve Exh CavityRearHalf", 55, true, -1000, 295},
    {121, "Valve ExhCavityFrontHalf", 55, true, -1000, 295},
    {122, "Valve Stem", 55, true, -1000, 295},
}};

// Marks of the reverse arm's travel from mid gear (ids 29 and 30).
inline constexpr int MidGearTickHalf = 10;
// Id 108 draws its line this far behind the chest's rear wall.
inline constexpr int ValveSurfaceMarkDx = 5;

} // namespace drawk
