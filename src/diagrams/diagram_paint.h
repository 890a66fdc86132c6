// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Painting helpers shared by the four diagrams: the font, opaque texts placed
// by their top-left corner, and the parts every diagram draws alike (vertical
// axis, position table, port-edge lines, mid-gear read-outs, the
// dynamic-variable block and the undo line).

#include "analysis/stroke_scale.h"
#include "analysis/travel_readouts.h"
#include "picture/fonts.h"

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>

#include <array>
#include <span>
#include <string>

class QPainter;

namespace kes {
struct Model;
}

// The undo line that the diagram windows share: each drawing shows the line
// the previous drawing built and then rebuilds it. The main window owns one
// and hands it to all four windows.
struct DiagramTextState {
    QString UndoMessage;
};

namespace diagrams {

// The diagrams' text font: 11 pixels high.
inline constexpr int FontPixelSize = 11;
inline constexpr const char* FontFamily = shell::FontFamilyName;

inline const QColor Black{0, 0, 0};
inline const QColor White{255, 255, 255};
inline const QColor PortGreen{0, 255, 0}; // front port edges
inline const QColor PortRed{255, 0, 0};   // rear port edges, warnings

QFont DiagramFont(bool bold = false);

// Every diagram picture is this wide; texts end one pixel inside it.
inline constexpr int PictureWidth = 632;
inline constexpr int PictureRight = PictureWidth - 1;
// The left edge of the "Close" button of the sine, oval and steam windows.
inline constexpr int CloseButtonLeft = 408;

// Travel diagrams across the stroke: 540 pixels for the whole stroke.
inline constexpr double StrokeTravelScale = 540.0 / analysis::StrokeUnits;

// nint: to the nearest integer, ties to even, held at +-kes::PixelLimit
// (kes::SaturatedPixel).
int Nint(double v);

struct TextStyle {
    QColor Color = Black;
    bool Bold = false;
    // Opaque texts fill their cell white first; a glyph laid over another
    // (the steam diagram's arrow head) is drawn without.
    bool Opaque = true;
};

// Sets up a painter for a diagram: font, black pen, white background, no
// antialiasing (one-pixel lines on whole pixels).
void BeginDiagram(QPainter& p);
// Writes a text with its top-left corner at (x, y), opaque on white. The pen
// and font are back to black and normal afterwards.
void WriteText(QPainter& p, int x, int y, const QString& text, const TextStyle& style = {});
void WriteText(QPainter& p, int x, int y, const std::string& text, const TextStyle& style = {});
// The x at which text starts so that it ends at right or before: x itself
// when the text fits, else moved left just far enough.
int FitLeft(const QPainter& p, int x, const QString& text, int right = PictureRight);

// The position numbers of one drawing's curves: each goes where it was
// asked to unless it would cover one placed before or a text it is to keep
// off; then it moves down or up by whole text lines to the nearest free
// place. Within a plot box they stay inside it, off the axes and their
// labels.
class LabelSpots {
  public:
    LabelSpots() = default;
    explicit LabelSpots(const QRect& plotBox) : box_(plotBox) {}
    // A text on the picture (drawn before or after the labels) to keep off.
    void KeepOff(const QRect& r);
    // Writes text in bold at the free place nearest to at; returns its top left.
    QPoint Write(QPainter& p, QPoint at, const QString& text);

  private:
    bool Free(const QRect& cell, const QRect& ink) const;
    QRect box_;
    std::array<QRect, 32> keptOff_{};
    int keptOffCount_ = 0;
    std::array<QRect, 32> placed_{};
    int count_ = 0;
};

// A one-pixel line in the painter's current pen.
void Line(QPainter& p, int x1, int y1, int x2, int y2);

// One kind of background tick: at x from FirstX to LastX every Pitch pixels,
// from Top to Bottom below the top of its row.
struct TickSpan {
    int FirstX, LastX, Pitch;
    int Top, Bottom;
};
// The background ticks of the sine, oval and steam diagrams: nine rows,
// row i 32 i pixels down, each with its short and then its long ticks.
void PaintTickRows(QPainter& p, const TickSpan& shortTicks, const TickSpan& longTicks);

// A label of a horizontal axis: its left x and its text.
struct AxisLabel {
    int X;
    const char* Text;
};
// Writes the labels with their tops at y.
void WriteAxisLabels(QPainter& p, int y, std::span<const AxisLabel> labels);

// k = 375 / VerticalScale: pixels per unit of valve travel.
double PixelsPerUnit(const kes::Model& m);
// y(v) = nint(215 - v * k): a positive valve offset is drawn upward.
int TravelY(double v, double k);

// "Front", "Rear", "Units Travel", "Scale =" and the scale, then the ticks and
// labels of the vertical axis with the labels at labelX (14 for the sine
// diagram, 15 for the oval).
void PaintVerticalAxis(QPainter& p, const kes::Model& m, int labelX);
// The band of the travel axis, where the curves of the sine and oval
// diagrams are drawn; they are clipped to it.
QRect TravelPlotArea(const kes::Model& m);
// "Reverse Arm Positions", "Center" and MidGear.
void PaintPositionTableHeader(QPainter& p, const kes::Model& m);
// Row n of the position table: number, direction and value.
void PaintPositionTableRow(QPainter& p, const kes::Model& m, int n, float position);
// How far the table moves left so that its values end inside the picture
// (0 unless the text scale pushes it out).
int PositionTableShift(const QPainter& p, const kes::Model& m);
// The table's left edge: its "Fwd"/"Rev" column.
int PositionTableLeft(const QPainter& p, const kes::Model& m);
// Where the six port-edge labels stand (x only; the heights follow the levels)
// and where the lines end.
struct PortEdgeLayout {
    int LineRight = 583;
    int FrontSteamOpenX = 60;
    int FrontSteamMaxX = 60;
    int FrontExhaustOpenX = 230;
    int RearSteamOpenX = 230;
    int RearSteamMaxX = 230;
    int RearExhaustOpenX = 60;
};
// The six port-edge lines (front green, rear red) with their labels, from the
// levels of the last solve. The pen is black afterwards. The curves' labels,
// when given, keep off the port-edge labels.
void PaintPortEdgeLines(QPainter& p, const kes::Model& m, const PortEdgeLayout& layout,
                        LabelSpots* labels = nullptr);
// The position table's place, header and the rows in use, for the curves'
// labels to keep off.
QRect PositionTableRect(const QPainter& p, const kes::Model& m);
// The strip above the plot that the dynamic-variable block and the undo line
// take when shown (empty otherwise).
QRect TopStripRect(const QPainter& p, const kes::Model& m);

// The labels and the values at x 592 as the windows print them.
void PaintReadouts(QPainter& p, const analysis::MidGearReadouts& r);

// The dynamic-variable block's texts (names and values, or the red "First
// Select Dimensions" block) when DynVarMode is on.
// Its texts end before closeLeft (the window's "Close" button): a long name
// pushes its value to the right, and the block moves left when needed.
void PaintDynVarBlock(QPainter& p, const kes::Model& m, int closeLeft = CloseButtonLeft);
// True when dynamic-variable slot 1 holds a dimension.
bool DynVarSlotsChosen(const kes::Model& m);
// True when slot n (1..4) holds a dimension: its scroll bar is enabled.
bool DynVarSlotChosen(const kes::Model& m, int n);
// The undo line when UndoDisplay is on: writes the message the last drawing
// built, rebuilds it and, when DynVarMode is on, writes the new one.
// The blanks that end the message erase an earlier longer line only up to
// right, so they never cover the drawing beside the line.
struct UndoLineSpot {
    QPoint At{150, 55}; // scaled by the text scale
    bool Scaled = true;
    int Right = -1; // -1: the position table's left edge
};
void PaintUndoLine(QPainter& p, const kes::Model& m, DiagramTextState& text,
                   const UndoLineSpot& spot = {});
// The undo line as this drawing builds it.
QString BuildUndoMessage(const kes::Model& m);

// What the sine and the oval diagram draw alike around their curves.
struct TravelDiagram {
    void (*PaintFrame)(QPainter& p);
    int AxisLabelX;
    // The curves' labels stand above this height, clear of the travel or
    // angle axis' labels.
    int LabelsAbove;
    PortEdgeLayout PortEdges;
    // Turns the driver through position n's samples at the RevArmSetting
    // set, paints the curve and returns the valve-stem joint travel seen
    // (meaningful at mid gear).
    analysis::JointTravel (*Sweep)(QPainter& p, kes::Model& m, int n, bool atMidGear,
                                   LabelSpots& labels);
};
// Paints such a diagram: the frame, the vertical axis, the position table's
// header and the port-edge lines; then for each reverse-arm position in use
// its table row, its curve and, within 0.05 of mid gear, the read-outs; last
// the dynamic-variable block and the undo line. Restores RevArmSetting and
// DriverAngle.
void PaintTravelDiagram(QPainter& p, kes::Model& m, DiagramTextState& text,
                        const TravelDiagram& diagram);

} // namespace diagrams
