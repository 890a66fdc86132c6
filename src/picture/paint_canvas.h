// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A thin drawing surface over a QPainter with the habits the mechanism
// picture is written in: a pen (colour and width) for lines and a separate
// font colour for texts, texts placed by their top-left corner, clear brush,
// and one-pixel dots gathered and painted in batches. Lines are clipped to a
// generous box first, so impossible dimensions that throw points far off
// the screen never hand the painter huge coordinates.

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>

#include "picture/drawn_items.h"

#include <vector>

class QPainter;

class Canvas {
  public:
    // dots: storage reused between frames for the batched dots. drawn, when
    // given, is cleared and then lists every item drawn.
    Canvas(QPainter& painter, std::vector<QPoint>& dots, DrawnItems* drawn = nullptr);

    QPainter& Painter() { return painter_; }

    void SetPen(QRgb color, int width);
    void SetPenColor(QRgb color) { SetPen(color, penWidth_); }
    void SetPenWidth(int width) { SetPen(penColor_, width); }
    QRgb PenColor() const { return penColor_; }
    int PenWidth() const { return penWidth_; }

    void MoveTo(QPoint p) { at_ = p; }
    void LineTo(QPoint p);
    void Line(QPoint a, QPoint b);
    // The outline of the ellipse in the box with these two corners (in any order).
    void Ellipse(int x1, int y1, int x2, int y2);
    // An arc of the ellipse in box, from startDeg anticlockwise on the screen
    // for spanDeg (0 degrees points right).
    void Arc(const QRect& box, double startDeg, double spanDeg);

    void SetFont(double points, bool bold = false);
    double FontPoints() const { return fontPoints_; }
    void SetFontColor(QRgb color) { fontColor_ = color; }
    QRgb FontColor() const { return fontColor_; }
    // Text with its top-left corner at p, in the font colour, transparent.
    void Text(QPoint p, const QString& text);

    // One-pixel dots in one colour: gather with Dot, paint with FlushDots.
    void Dot(int x, int y);
    void FlushDots(QRgb color);

  private:
    void UseLinePen();
    void UseTextPen();
    ItemKey LineKey(uint64_t kind) const;
    void Record(const ItemKey& key, const QRect& box);
    void RecordSegment(const ItemKey& key, QPoint a, QPoint b);

    QPainter& painter_;
    std::vector<QPoint>& dots_;
    DrawnItems* drawn_;
    QRgb penColor_ = 0;
    int penWidth_ = 1;
    QRgb fontColor_ = 0;
    QFont font_;
    double fontPoints_ = 0;
    int ascent_ = 0;
    int textHeight_ = 0;
    int widestChar_ = 0; // of the characters the picture writes
    enum class PainterPen { Unknown, Line, Text, Dot } painterPen_ = PainterPen::Unknown;
    QPoint at_;
};

// Clips the segment a-b to the square of half-width limit about the origin.
// Returns false when nothing of it is inside.
bool ClipSegment(double& ax, double& ay, double& bx, double& by, double limit);
