// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/port_diagram.h"

#include "analysis/port_events.h"
#include "diagrams/diagram_paint.h"
#include "model/format.h"
#include "model/model.h"
#include "model/rounding.h"

#include <QPainter>
#include <QPen>
#include <QString>

#include <algorithm>
#include <cmath>
#include <memory>

namespace diagrams {

using namespace analysis;

namespace {

// Layout of the port events window, in client pixels.
namespace layout {
constexpr int BottomRowY = 343; // row 0 (mid gear)
constexpr int RowSpacing = 16;
constexpr double TravelScale = StrokeTravelScale;
constexpr int ScaleLeft = 9;    // 0 % of the stroke
constexpr int ScaleRight = 549; // 100 %
constexpr int ScaleWidth = 540;
constexpr int FrameTop = 42;
constexpr int FrameBottom = 353;
constexpr int TickRowTop = 55; // ten tick rows, 32 apart
constexpr int TickRowSpacing = 32;
constexpr int TickRowCount = 10;
constexpr int ShortTickFirstX = 36, ShortTickLastX = 522, ShortTickStep = 27;
constexpr int LongTickFirstX = 63, LongTickLastX = 495, LongTickStep = 54;
constexpr int DashCount = 21, DashFirstX = 5, DashLength = 9, DashStep = 27;
constexpr int RowsHeight = 288; // row 0 to row 18
constexpr int NormalLineLeft = 59, NormalLineRight = ScaleRight;
constexpr int NormalTextX = 345, NormalTextRise = 7;
constexpr int MaximumX = 420, MaximumY = 47;
constexpr int AnnotationRow = 13;
} // namespace layout

const QColor Teal{0, 128, 128};
const QColor Green{0, 128, 0};
const QColor Red{255, 0, 0};
const QColor Maroon{128, 0, 0};
const QColor Blue{0, 0, 255};

struct PlacedText {
    int X, Y;
    const char* Text;
};

constexpr PlacedText AxisTexts[] = {
    {10, 353, "0"},       {56, 353, "10"},  {110, 353, "20"},  {164, 353, "30"},
    {218, 353, "40"},     {272, 353, "50"}, {326, 353, "60"},  {380, 353, "70"},
    {434, 353, "80"},     {488, 353, "90"}, {529, 350, "100"}, {200, 367, "Percent Piston Travel"},
    {568, 350, "Center"},
};

// "REVERSE ARM POSITION" down the right edge.
constexpr PlacedText EdgeLetters[] = {
    {535, 76, "R"},  {535, 90, "E"},  {535, 104, "V"}, {535, 118, "E"}, {535, 132, "R"},
    {535, 146, "S"}, {535, 160, "E"}, {535, 178, "A"}, {535, 192, "R"}, {535, 206, "M"},
    {535, 224, "P"}, {535, 238, "O"}, {535, 252, "S"}, {537, 266, "I"}, {535, 280, "T"},
    {537, 294, "I"}, {535, 308, "O"}, {535, 322, "N"},
};

struct ModeTexts {
    PlacedText Gear;      // "Fwd." / "Rev." beside the legend
    PlacedText FrontPort; // legend
    PlacedText RearPort;  // legend
    PlacedText Heading;   // above the settings column
    int SettingX;         // the settings column
};
constexpr ModeTexts ForwardTexts{{415, 290, "Fwd."},
                                 {446, 284, "Front Port"},
                                 {446, 296, "Rear Port"},
                                 {554, 32, "Forward"},
                                 556};
constexpr ModeTexts ReverseTexts{
    {415, 321, "Rev."}, {446, 315, "Front Port"}, {446, 327, "Rear Port"}, {605, 32, "Rev."}, 596};
constexpr int SettingRowTop = 336; // the setting of row i stands at 336 - 16 i
constexpr int PortCloseLeft = 447; // the "Close" button
constexpr int PortUndoLineY = 384;

QString SettingText(double setting, int decimals) {
    return QString::fromStdString(kes::FormatFixed(setting, 7, decimals));
}

// Where a row's setting starts so that it ends at right or before: at x when
// it fits, else moved left just enough, its leading blanks left out (they
// would cover the column beside it).
int SettingLeft(const QPainter& p, int x, QString& text, int right) {
    if (FitLeft(p, x, text, right) == x) return x;
    text = text.trimmed();
    return FitLeft(p, x, text, right);
}

bool IsReverse(char mode) {
    return mode == 'R';
}

// The decimals a value on a grid of step needs.
int StepDecimals(double step) {
    return std::clamp(static_cast<int>(std::ceil(-std::log10(step) - 1e-9)), 0, 6);
}

const ModeTexts& TextsFor(char mode) {
    return IsReverse(mode) ? ReverseTexts : ForwardTexts;
}

void Write(QPainter& p, const PlacedText& t, const TextStyle& style = {}) {
    WriteText(p, t.X, t.Y, QString::fromLatin1(t.Text), style);
}

// Paints the rows' settings and one line per crossing of an event seen
// before in this drawing, row by row as the sweep found them.
class EventPainter {
  public:
    EventPainter(QPainter& p, char mode)
        : p_(p), texts_(TextsFor(mode)), colours_(PortModeColours(mode)) {
        lastTravel_.fill(-1.0f);
        seen_.fill(false);
        annotationX_.fill(0.0);
    }

    void RowBegun() { Write(p_, texts_.Heading); }

    void Crossing(int row, PortEvent e, float travel) {
        const bool front = IsFrontEvent(e);
        if (seen_[e]) {
            pen_ = front ? frontPen_ : rearPen_;
            p_.setPen(pen_);
            const int x1 = front ? FrontTravelX(lastTravel_[e]) : RearTravelX(lastTravel_[e]);
            const int x2 = front ? FrontTravelX(travel) : RearTravelX(travel);
            Line(p_, x1, PortRowY(row - 1), x2, PortRowY(row));
        }
        lastTravel_[e] = travel;
        seen_[e] = true;
        if (row == layout::AnnotationRow && front)
            annotationX_[e] = layout::TravelScale * travel + layout::ScaleLeft;
    }

    // The pen the last event line used (black when none was drawn).
    QColor Pen() const { return pen_.color(); }
    double AnnotationX(PortEvent e) const { return annotationX_[e]; }

  private:
    QPainter& p_;
    const ModeTexts& texts_;
    PortColours colours_;
    // Made once: setting a shared pen allocates nothing.
    const QPen frontPen_{colours_.Front};
    const QPen rearPen_{colours_.Rear};
    QPen pen_{Black};
    std::array<float, PortEventCount> lastTravel_{};
    std::array<bool, PortEventCount> seen_{};
    std::array<double, PortEventCount> annotationX_{};
};

void PaintFrame(QPainter& p, const kes::Model& m) {
    using namespace layout;
    p.setPen(Black);
    Line(p, ScaleLeft, FrameTop, ScaleLeft, FrameBottom);
    Line(p, ScaleLeft, BottomRowY, ScaleRight, BottomRowY);
    Line(p, ScaleRight, FrameBottom, ScaleRight, FrameTop);
    for (int k = 0; k < TickRowCount; ++k) {
        const int y = TickRowTop + TickRowSpacing * k;
        for (int x = ShortTickFirstX; x <= ShortTickLastX; x += ShortTickStep)
            Line(p, x, y - 3, x, y + 3);
        for (int x = LongTickFirstX; x <= LongTickLastX; x += LongTickStep)
            Line(p, x, y - 10, x, y + 10);
        for (int d = 0; d < DashCount; ++d)
            Line(p, DashFirstX + DashStep * d, y, DashFirstX + DashStep * d + DashLength, y);
    }

    WriteText(p, MaximumX, MaximumY, QStringLiteral("Maximum"), TextStyle{Red, false});
    // The normal full-gear setting on the same scale as the rows.
    // Kept inside the frame: beyond it the line would strike through the
    // settings column and the axis texts.
    const int normalY =
        std::clamp(kes::SaturatedPixel(BottomRowY - static_cast<double>(m.Frame.RevArmNorm) *
                                                        RowsHeight / m.Frame.RevArmMax),
                   FrameTop, BottomRowY);
    p.setPen(Blue);
    Line(p, NormalLineLeft, normalY, NormalLineRight, normalY);
    WriteText(p, NormalTextX, normalY - NormalTextRise, QStringLiteral("Normal"),
              TextStyle{Blue, false});
    p.setPen(Black);

    for (const PlacedText& t : AxisTexts)
        Write(p, t);
    for (const PlacedText& t : EdgeLetters)
        Write(p, t);
}

void PaintLegend(QPainter& p, char mode) {
    const ModeTexts& t = TextsFor(mode);
    const PortColours c = PortModeColours(mode);
    Write(p, t.Gear);
    Write(p, t.FrontPort, TextStyle{c.Front, false});
    Write(p, t.RearPort, TextStyle{c.Rear, false});
}

void Polyline(QPainter& p, const QColor& pen, std::initializer_list<QPoint> points) {
    p.setPen(pen);
    const QPoint* previous = nullptr;
    for (const QPoint& point : points) {
        if (previous) Line(p, previous->x(), previous->y(), point.x(), point.y());
        previous = &point;
    }
}

// A closed, filled arrow head with its tip at tip and its base across the
// line at x = baseX, 4 pixels above and below.
void ArrowHead(QPainter& p, const QColor& pen, QPoint tip, int baseX) {
    const QPoint corners[3] = {{baseX, tip.y() - 4}, {baseX, tip.y() + 4}, tip};
    p.save();
    p.setPen(pen);
    p.setBrush(pen);
    p.drawPolygon(corners, 3);
    p.restore();
}

// The front port's cycle at row 13: expansion from cut-off, exhaust from
// release, compression from its closing, admission from its opening, each an
// arrow to the point where the phase begins.
void PaintAnnotation(QPainter& p, const EventPainter& events) {
    const int A = kes::SaturatedPixel(events.AnnotationX(FrontAdmission));
    const int C = kes::SaturatedPixel(events.AnnotationX(FrontCutOff));
    const int R = kes::SaturatedPixel(events.AnnotationX(FrontRelease));
    const int P = kes::SaturatedPixel(events.AnnotationX(FrontCompression));
    const QColor pen = events.Pen();
    const TextStyle bold{Black, true};
    constexpr int Upper = 101, Middle = 135, Lower = 169;

    Polyline(p, pen, {{C - 110, Upper}, {C - 70, Upper}, {C - 20, Middle}, {C, Middle}});
    ArrowHead(p, pen, {C, Middle}, C - 12);
    WriteText(p, C + 10, 129, QStringLiteral("Exp"), bold);

    Polyline(p, pen, {{C + 40, Middle}, {R, Middle}});
    ArrowHead(p, pen, {R, Middle}, R - 12);
    Polyline(p, pen,
             {{R + 8, Middle}, {layout::ScaleRight, Middle}, {529, Lower}, {R - 160, Lower}});
    WriteText(p, R - 190, 163, QStringLiteral("Exh"), bold);

    Polyline(p, pen, {{R - 200, Lower}, {P + 100, Lower}, {P + 50, Middle}, {P, Middle}});
    ArrowHead(p, pen, {P, Middle}, P + 12);
    WriteText(p, P - 25, 129, QStringLiteral("Com"), bold);

    Polyline(p, pen, {{P - 30, Middle}, {A, Middle}});
    ArrowHead(p, pen, {A, Middle}, A + 12);
    Polyline(p, pen, {{A, Middle}, {layout::ScaleLeft, Middle}, {27, Upper}, {C - 150, Upper}});
    WriteText(p, C - 140, 95, QStringLiteral("Adm"), bold);
    p.setPen(Black);
}

// The reverse-arm axis, labelled at round settings (steps of 1, 2 or 5 x
// 10^n, at least a row apart) from mid gear to the maximum, each at the
// height of its setting on the rows' scale. besideReverse: the reverse
// graph's column stands to the right.
void PaintSettingAxis(QPainter& p, const kes::Model& m, char mode, double mid, bool besideReverse) {
    using namespace layout;
    const double max = m.Frame.RevArmMax;
    if (!(max > 0.0) || !std::isfinite(max) || !std::isfinite(mid)) return;
    const double step = RoundAxisStep(max, RowsHeight, RowSpacing);
    const int decimals = StepDecimals(step);
    const double sign = IsReverse(mode) ? -1.0 : 1.0;
    const int right =
        besideReverse ? ReverseTexts.SettingX - p.fontMetrics().horizontalAdvance(QLatin1Char(' '))
                      : PictureRight;
    // The first round setting at or beyond mid gear in the graph's direction.
    const double first = sign > 0 ? std::ceil(mid / step - 1e-9) : std::floor(mid / step + 1e-9);
    for (int k = 0; k <= PortRowCount * 2; ++k) {
        const double v = (first + sign * k) * step;
        const double offset = sign * (v - mid);
        if (offset > max * (1.0 + 1e-9)) break;
        const int y = kes::SaturatedPixel(BottomRowY - offset * RowsHeight / max);
        QString text = SettingText(v, decimals);
        const int x = SettingLeft(p, TextsFor(mode).SettingX, text, right);
        WriteText(p, x, y - (BottomRowY - SettingRowTop), text);
    }
}

// One graph from its sweep's table.
// beside: the reverse graph that a both-graphs picture draws over this one.
void PaintOneGraph(QPainter& p, const kes::Model& m, const PortEventTable& table, bool annotate,
                   DiagramTextState& text, const PortEventTable* beside = nullptr) {
    const char mode = table.Mode;
    PaintFrame(p, m);
    PaintLegend(p, mode);
    EventPainter painter(p, mode);
    int k = 0;
    PaintSettingAxis(p, m, mode, table.Setting[0], beside != nullptr);
    for (int row = 0; row < PortRowCount; ++row) {
        painter.RowBegun();
        for (; k < table.CrossingCount && table.Crossings[k].Row == row; ++k) {
            const PortCrossing& c = table.Crossings[k];
            painter.Crossing(row, static_cast<PortEvent>(c.Event), c.Travel);
        }
    }
    if (annotate) PaintAnnotation(p, painter);
    // The block ends before "Close" and, a row lower, before "Maximum".
    PaintDynVarBlock(p, m, std::min(PortCloseLeft, layout::MaximumX));
    // Below the axis titles: at the sine window's place it would cover the
    // top row and "Maximum".
    PaintUndoLine(p, m, text, UndoLineSpot{{150, PortUndoLineY}, false, PictureRight});
}

} // namespace

double RoundAxisStep(double range, double pixels, double minGapPixels) {
    const double raw = range * minGapPixels / pixels;
    if (!(raw > 0.0) || !std::isfinite(raw)) return 1.0;
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double f : {1.0, 2.0, 5.0})
        if (f * decade >= raw * (1.0 - 1e-12)) return f * decade;
    return 10.0 * decade;
}

PortColours PortModeColours(char mode) {
    return IsReverse(mode) ? PortColours{Green, Maroon} : PortColours{Teal, Red};
}

int FrontTravelX(double travel) {
    return kes::SaturatedPixel(layout::TravelScale * travel) + layout::ScaleLeft;
}

int RearTravelX(double travel) {
    return kes::SaturatedPixel(layout::ScaleWidth - layout::TravelScale * travel) +
           layout::ScaleLeft;
}

int PortRowY(int row) {
    return layout::BottomRowY - layout::RowSpacing * row;
}

void PaintPortDiagram(QPainter& p, kes::Model& m, char mode, bool annotate,
                      DiagramTextState& text) {
    // The sweeps run before any painting: solving between raster operations
    // is markedly slower on some processors.
    const auto forward = std::make_unique<PortEventTable>();
    if (mode != 'B') {
        ComputePortEvents(m, mode, *forward);
        PaintOneGraph(p, m, *forward, annotate, text);
        return;
    }
    const auto reverse = std::make_unique<PortEventTable>();
    ComputePortEvents(m, 'F', *forward);
    ComputePortEvents(m, 'R', *reverse);
    PaintOneGraph(p, m, *forward, annotate, text, reverse.get());
    PaintOneGraph(p, m, *reverse, false, text);
}

void PaintPortDiagramForMode(QPainter& p, kes::Model& m, DiagramTextState& text) {
    PaintPortDiagram(p, m, m.PortGraphMode, true, text);
}

} // namespace diagrams
