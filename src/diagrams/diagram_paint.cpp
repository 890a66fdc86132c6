// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/diagram_paint.h"

#include "analysis/setting_guard.h"
#include "analysis/vertical_scale.h"

#include "model/design_edit.h"
#include "model/dyn_vars.h"
#include "model/format.h"
#include "model/model.h"
#include "model/rounding.h"
#include "model/solver.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace diagrams {

namespace {

// The vertical axis: 0 at y 215, +-150 pixels for +-0.4 * VerticalScale.
constexpr double ZeroLineY = 215.0;
constexpr double PixelsPerScaleUnit = 375.0;
constexpr double CoarseTickScale = 3.75; // above it only every fifth tick

const QString FrontText = QStringLiteral("Front");
const QString RearText = QStringLiteral("Rear");
const QString UnitsTravelText = QStringLiteral("Units Travel");
const QString ScaleText = QStringLiteral("Scale =");
const QString PositionsText = QStringLiteral("Reverse Arm Positions");
const QString CenterText = QStringLiteral("Center");
const QString FwdText = QStringLiteral("Fwd");
const QString RevText = QStringLiteral("Rev");
const QString CenText = QStringLiteral("Cen");
const QString FrontSteamOpenText = QStringLiteral("Front Steam Port Open");
const QString FrontSteamMaxText = QStringLiteral("Front Steam Port Max");
const QString FrontExhaustOpenText = QStringLiteral("Front Exhaust Port Open");
const QString RearSteamOpenText = QStringLiteral("Rear Steam Port Open");
const QString RearSteamMaxText = QStringLiteral("Rear Steam Port Max");
const QString RearExhaustOpenText = QStringLiteral("Rear Exhaust Port Open");
const QString LeadText = QStringLiteral("Lead");
const QString LapText = QStringLiteral("Lap");
const QString ExClText = QStringLiteral("ExCl");
const QString StarsText = QStringLiteral("*******************************");
const QString SelectText = QStringLiteral("* First Select Dimensions *");

constexpr int TickRowCount = 9;
constexpr int TickRowPitch = 32;
constexpr int MaxPositions = 9; // RevArmPositions[1..9]

constexpr int ReadoutLabelX = 595;
constexpr int ReadoutValueX = 592;
constexpr int DynVarBlockLeft = 235; // right of the four scroll bars
constexpr int TravelLabelsLeft = 45; // right of the vertical axis and its labels

double DrawingScale(const kes::Model& m) {
    return analysis::DrawingScale(m.VerticalScale);
}

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// The reverse-arm positions in use: RevArmPositionCount kept within 0..9.
int PositionsInUse(const kes::Model& m) {
    const int count = m.RevArmPositionCount;
    return count < 0 ? 0 : count > MaxPositions ? MaxPositions : count;
}

} // namespace

QFont DiagramFont(bool bold) {
    QFont font(QString::fromLatin1(FontFamily));
    font.setPixelSize(FontPixelSize);
    font.setBold(bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

int Nint(double v) {
    return kes::SaturatedPixel(v);
}

void BeginDiagram(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Black, 1));
    p.setBrush(Qt::NoBrush);
    p.setBackground(White);
    p.setBackgroundMode(Qt::TransparentMode);
    p.setFont(DiagramFont());
}

void WriteText(QPainter& p, int x, int y, const QString& text, const TextStyle& style) {
    if (text.isEmpty()) return;
    const QPen pen = p.pen();
    if (style.Bold) p.setFont(DiagramFont(true));
    const QFontMetrics metrics = p.fontMetrics();
    // Opaque: the text's cell is filled white first, trailing blanks included.
    if (style.Opaque)
        p.fillRect(QRect(x, y, metrics.horizontalAdvance(text), metrics.height()), White);
    p.setPen(style.Color);
    p.drawText(QPoint(x, y + metrics.ascent()), text);
    p.setPen(pen);
    if (style.Bold) p.setFont(DiagramFont(false));
}

void WriteText(QPainter& p, int x, int y, const std::string& text, const TextStyle& style) {
    WriteText(p, x, y, Q(text), style);
}

int FitLeft(const QPainter& p, int x, const QString& text, int right) {
    const int width = p.fontMetrics().horizontalAdvance(text);
    return std::min(x, right - width);
}

void LabelSpots::KeepOff(const QRect& r) {
    if (keptOffCount_ < static_cast<int>(keptOff_.size()))
        keptOff_[static_cast<size_t>(keptOffCount_++)] = r;
}

bool LabelSpots::Free(const QRect& cell, const QRect& ink) const {
    if (!box_.isNull() && !box_.contains(cell)) return false;
    for (int i = 0; i < keptOffCount_; ++i)
        if (keptOff_[static_cast<size_t>(i)].intersects(ink)) return false;
    for (int i = 0; i < count_; ++i)
        if (placed_[static_cast<size_t>(i)].intersects(ink)) return false;
    return true;
}

QPoint LabelSpots::Write(QPainter& p, QPoint at, const QString& text) {
    const QFontMetrics metrics(DiagramFont(true), p.device());
    const QSize size(metrics.horizontalAdvance(text), metrics.height());
    // Labels collide where their characters do: the cells of two labels a
    // text line apart touch, their characters do not.
    const QRect ink = metrics.tightBoundingRect(text).translated(0, metrics.ascent());
    // A label asked for beyond the box starts from the nearest place inside.
    if (!box_.isNull()) {
        at.setX(std::clamp(at.x(), box_.left(),
                           std::max(box_.left(), box_.right() + 1 - size.width())));
        at.setY(std::clamp(at.y(), box_.top(),
                           std::max(box_.top(), box_.bottom() + 1 - size.height())));
    }
    QPoint spot = at;
    // Down one line, up one line, down two, ... until the place is free.
    for (int step = 0; step < 2 * static_cast<int>(placed_.size()); ++step) {
        const int lines = (step + 1) / 2 * (step % 2 == 1 ? 1 : -1);
        const QPoint tried(at.x(), at.y() + lines * size.height());
        if (Free(QRect(tried, size), ink.translated(tried))) {
            spot = tried;
            break;
        }
    }
    WriteText(p, spot.x(), spot.y(), text, {Black, true});
    if (count_ < static_cast<int>(placed_.size()))
        placed_[static_cast<size_t>(count_++)] = ink.translated(spot);
    return spot;
}

void Line(QPainter& p, int x1, int y1, int x2, int y2) {
    p.drawLine(x1, y1, x2, y2);
}

void PaintTickRows(QPainter& p, const TickSpan& shortTicks, const TickSpan& longTicks) {
    for (int i = 1; i <= TickRowCount; ++i) {
        const int row = TickRowPitch * i;
        for (const TickSpan* t : {&shortTicks, &longTicks})
            for (int x = t->FirstX; x <= t->LastX; x += t->Pitch)
                Line(p, x, row + t->Top, x, row + t->Bottom);
    }
}

void WriteAxisLabels(QPainter& p, int y, std::span<const AxisLabel> labels) {
    for (const AxisLabel& label : labels)
        WriteText(p, label.X, y, QString::fromLatin1(label.Text));
}

double PixelsPerUnit(const kes::Model& m) {
    return PixelsPerScaleUnit / DrawingScale(m);
}

int TravelY(double v, double k) {
    return Nint(ZeroLineY - v * k);
}

void PaintVerticalAxis(QPainter& p, const kes::Model& m, int labelX) {
    WriteText(p, 9, 46, FrontText);
    WriteText(p, 9, 374, RearText);
    WriteText(p, 9, 32, UnitsTravelText);
    WriteText(p, 9, 18, ScaleText);
    // The scale stands at x 50 unless "Scale =" reaches that far.
    const int scaleX =
        std::max(50, 9 + p.fontMetrics().horizontalAdvance(ScaleText + QLatin1Char(' ')));
    WriteText(p, scaleX, 18, kes::FormatFixed(m.VerticalScale, 3, 1));

    const double s = DrawingScale(m);
    const bool fine = s <= CoarseTickScale;
    const int g = Nint(4.0 * s);
    // Short ticks every 0.02 unit (every 0.1 when coarse).
    for (int h = -5 * g; h <= 5 * g; ++h) {
        if (h % 5 != 0 && !fine) continue;
        const int y = Nint(ZeroLineY + h * 7.5 / s);
        Line(p, 39, y, 44, y);
    }
    // Long ticks and labels every 0.1 unit (every 0.5 when coarse).
    for (int l = -g; l <= g; ++l) {
        if (l % 5 != 0 && !fine) continue;
        const int y = Nint(ZeroLineY + l * 37.5 / s);
        Line(p, 36, y, 44, y);
        WriteText(p, labelX, Nint(210.0 - l * 37.5 / s), kes::FormatFixed(l * 0.1, 1, 1));
    }
}

QRect TravelPlotArea(const kes::Model&) {
    // The axis' ticks span 150 pixels either side of the zero line at every
    // vertical scale (+-0.6 at the scale of 1.5).
    constexpr int Half = 150;
    const int zero = Nint(ZeroLineY);
    return QRect(QPoint(0, zero - Half), QPoint(PictureRight, zero + Half));
}

int PositionTableShift(const QPainter& p, const kes::Model& m) {
    // The widest value the table prints: six characters.
    const QFontMetrics metrics = p.fontMetrics();
    const int valueWidth = std::max(metrics.horizontalAdvance(QStringLiteral("-9.999")),
                                    metrics.horizontalAdvance(QStringLiteral("99.999")));
    const int headerRight =
        Nint(500 * m.TextScaleX) + p.fontMetrics().horizontalAdvance(PositionsText);
    const int valuesRight = Nint(580 * m.TextScaleX) + valueWidth;
    return std::max(0, std::max(headerRight, valuesRight) - PictureRight);
}

int PositionTableLeft(const QPainter& p, const kes::Model& m) {
    return std::min(Nint(500 * m.TextScaleX), Nint(533 * m.TextScaleX)) - PositionTableShift(p, m);
}

void PaintPositionTableHeader(QPainter& p, const kes::Model& m) {
    const double fx = m.TextScaleX;
    const int shift = PositionTableShift(p, m);
    WriteText(p, Nint(500 * fx) - shift, 0, PositionsText);
    WriteText(p, Nint(520 * fx) - shift, 13, CenterText);
    WriteText(p, Nint(580 * fx) - shift, 13, kes::FormatFixed(m.MidGear(), 6, 3));
}

void PaintPositionTableRow(QPainter& p, const kes::Model& m, int n, float position) {
    const double fx = m.TextScaleX;
    const int shift = PositionTableShift(p, m);
    const int y = Nint(12.0 * n * m.TextScaleY) + 12;
    WriteText(p, Nint(545 * fx) - shift, y, kes::FormatInt(n, 5));
    WriteText(p, Nint(580 * fx) - shift, y, kes::FormatFixed(position, 6, 3));
    const float mid = m.MidGear();
    const QString& direction = position > mid ? FwdText : position < mid ? RevText : CenText;
    WriteText(p, Nint(533 * fx) - shift, y, direction);
}

void PaintPortEdgeLines(QPainter& p, const kes::Model& m, const PortEdgeLayout& layout,
                        LabelSpots* labels) {
    const double k = PixelsPerUnit(m);
    const kes::SolverOutputs& s = m.Solver;
    const int left = 15;
    const int right = layout.LineRight;
    // The lines are clipped to the travel axis and a level beyond it has no
    // label: its line would strike through the captions and its label land
    // on the controls.
    const QRect plot = TravelPlotArea(m);
    auto edge = [&](double level, bool front, int labelX, int labelRise, const QString& label) {
        const int y = front ? TravelY(level, k) : Nint(ZeroLineY + level * k);
        p.save();
        p.setClipRect(plot);
        Line(p, left, y, right, y);
        p.restore();
        if (y < plot.top() || y > plot.bottom()) return;
        const int labelY = Nint(labelRise + (front ? -level : level) * k);
        WriteText(p, labelX, labelY, label);
        if (labels)
            labels->KeepOff(QRect(labelX, labelY, p.fontMetrics().horizontalAdvance(label),
                                  p.fontMetrics().height()));
    };

    p.setPen(QPen(PortGreen, 1));
    edge(s.FrontSteamOpenLevel(), true, layout.FrontSteamOpenX, 199, FrontSteamOpenText);
    edge(s.FrontSteamMaxLevel(), true, layout.FrontSteamMaxX, 216, FrontSteamMaxText);
    edge(s.FrontExhaustOpenLevel(), true, layout.FrontExhaustOpenX, 216, FrontExhaustOpenText);

    p.setPen(QPen(PortRed, 1));
    edge(s.RearSteamOpenLevel(), false, layout.RearSteamOpenX, 216, RearSteamOpenText);
    edge(s.RearSteamMaxLevel(), false, layout.RearSteamMaxX, 199, RearSteamMaxText);
    edge(s.RearExhaustOpenLevel(), false, layout.RearExhaustOpenX, 199, RearExhaustOpenText);

    p.setPen(QPen(Black, 1));
}

void PaintReadouts(QPainter& p, const analysis::MidGearReadouts& r) {
    using analysis::FormatReadout;
    WriteText(p, ReadoutLabelX, 153, LeadText);
    WriteText(p, ReadoutLabelX, 182, LapText);
    WriteText(p, ReadoutLabelX, 211, ExClText);
    WriteText(p, ReadoutLabelX, 253, LapText);
    WriteText(p, ReadoutLabelX, 282, LeadText);
    // A value wider than its six characters (-18.710) moves left to stay
    // inside the picture.
    const auto value = [&p](int y, const std::string& text) {
        const QString s = Q(text);
        WriteText(p, FitLeft(p, ReadoutValueX, s), y, s);
    };
    value(166, FormatReadout(r.RearLead));
    value(195, FormatReadout(r.FrontSteamLap));
    value(224, FormatReadout(r.FrontExhaustClearance));
    value(237, FormatReadout(r.RearExhaustClearance));
    value(266, FormatReadout(r.RearSteamLap));
    value(295, FormatReadout(r.FrontLead));
}

bool DynVarSlotChosen(const kes::Model& m, int n) {
    if (n < 1 || n > 4) return false;
    return m.DynVarSlots[static_cast<size_t>(n)].Name != kes::EmptySlotName;
}

bool DynVarSlotsChosen(const kes::Model& m) {
    return DynVarSlotChosen(m, 1);
}

namespace {

int DynVarBlockBottom(const QPainter& p, const kes::Model& m) {
    return Nint(38 * m.TextScaleY) + p.fontMetrics().height();
}

// The undo line's top when drawn at its scaled place (PaintUndoLine).
int UndoLineTop(const QPainter& p, const kes::Model& m) {
    constexpr int Top = UndoLineSpot{}.At.y();
    return std::max(Top, m.DynVarMode ? DynVarBlockBottom(p, m) + 1 : 0);
}

} // namespace

QRect PositionTableRect(const QPainter& p, const kes::Model& m) {
    const int left = PositionTableLeft(p, m);
    const int bottom =
        Nint(12.0 * PositionsInUse(m) * m.TextScaleY) + 12 + p.fontMetrics().height();
    return QRect(QPoint(left, 0), QPoint(PictureRight, bottom));
}

QRect TopStripRect(const QPainter& p, const kes::Model& m) {
    int bottom = -1;
    if (m.DynVarMode) bottom = DynVarBlockBottom(p, m);
    if (m.UndoDisplay) bottom = std::max(bottom, UndoLineTop(p, m) + p.fontMetrics().height());
    return bottom < 0 ? QRect() : QRect(QPoint(0, 0), QPoint(PictureRight, bottom));
}

void PaintDynVarBlock(QPainter& p, const kes::Model& m, int closeLeft) {
    if (!m.DynVarMode) return;
    const double fx = m.TextScaleX;
    const double fy = m.TextScaleY;
    const QFontMetrics metrics = p.fontMetrics();
    const int gap = metrics.horizontalAdvance(QLatin1Char(' '));
    const int right = closeLeft - gap; // the block ends before "Close"
    const int x = Nint(235 * fx);
    if (DynVarSlotsChosen(m)) {
        const int rows[4] = {2, Nint(14 * fy), Nint(26 * fy), Nint(38 * fy)};
        for (int s = 1; s <= 4; ++s) {
            const kes::DynVarSlot& slot = m.DynVarSlots[static_cast<size_t>(s)];
            const QString name = Q(slot.Name);
            const QString value = Q(kes::FormatFixed(slot.Value, 6, 3));
            const int nameWidth = metrics.horizontalAdvance(name.trimmed());
            // The value stands clear of its name and ends before "Close";
            // the name gives way to the left when both do not fit.
            const int valueX = std::min(std::max(Nint(363 * fx), x + nameWidth + gap),
                                        right - metrics.horizontalAdvance(value));
            const int nameX = std::max(DynVarBlockLeft, std::min(x, valueX - gap - nameWidth));
            // A name too long even then is cut short with an ellipsis.
            const QString shown =
                metrics.elidedText(name, Qt::ElideRight, std::max(0, valueX - gap - nameX));
            WriteText(p, nameX, rows[s - 1], shown);
            WriteText(p, valueX, rows[s - 1], value);
        }
    } else {
        const TextStyle red{PortRed, false};
        const int starsX = std::max(DynVarBlockLeft, FitLeft(p, x, StarsText, right));
        WriteText(p, starsX, 2, StarsText, red);
        WriteText(p, std::max(DynVarBlockLeft, FitLeft(p, x, SelectText, right)), Nint(12 * fy),
                  SelectText, red);
        WriteText(p, starsX, Nint(26 * fy), StarsText, red);
    }
}

QString BuildUndoMessage(const kes::Model& m) {
    const kes::UndoEntry& e = m.UndoRecord[1];
    // A step of several dimensions or of the whole design has no one value.
    if (kes::NewestStepDimensionCount(m) != 1)
        return Q(kes::FormatInt(m.UndoCount, 2)) + QStringLiteral("- ") + Q(kes::UndoStepTitle(m)) +
               QString(46, QLatin1Char(' '));
    return Q(kes::FormatInt(m.UndoCount, 2)) + QStringLiteral("- ") + Q(e.Name) +
           QStringLiteral(" ") + Q(kes::FormatFixed(e.After, 6, 3)) + QStringLiteral(" to ") +
           Q(kes::FormatFixed(e.Before, 6, 3)) + QString(46, QLatin1Char(' '));
}

namespace {

// The message opaque as far as right, its blanks no further.
void WriteUndoMessage(QPainter& p, int x, int y, const QString& message, int right) {
    if (message.isEmpty()) return;
    const QFontMetrics metrics = p.fontMetrics();
    QString shown = message;
    while (shown.endsWith(QLatin1Char(' ')) && x + metrics.horizontalAdvance(shown) > right)
        shown.chop(1);
    WriteText(p, x, y, shown);
}

} // namespace

void PaintUndoLine(QPainter& p, const kes::Model& m, DiagramTextState& text,
                   const UndoLineSpot& spot) {
    if (!m.UndoDisplay) return;
    const int x = spot.Scaled ? Nint(spot.At.x() * m.TextScaleX) : spot.At.x();
    int y = spot.Scaled ? Nint(spot.At.y() * m.TextScaleY) : spot.At.y();
    // Just below the dynamic-variable block, not further: the scaled place
    // would reach the port-edge labels.
    if (spot.Scaled) y = std::max(spot.At.y(), m.DynVarMode ? DynVarBlockBottom(p, m) + 1 : 0);
    const int gap = p.fontMetrics().horizontalAdvance(QLatin1Char(' '));
    const int right = spot.Right >= 0 ? spot.Right : PositionTableLeft(p, m) - gap;
    WriteUndoMessage(p, x, y, text.UndoMessage, right);
    text.UndoMessage = BuildUndoMessage(m);
    if (m.DynVarMode) WriteUndoMessage(p, x, y, text.UndoMessage, right);
}

void PaintTravelDiagram(QPainter& p, kes::Model& m, DiagramTextState& text,
                        const TravelDiagram& diagram) {
    const analysis::SettingGuard guard(m);
    // The port-edge levels of the dimensions as they are now: a dynamic
    // variable may have changed them since the last solve.
    kes::SolveLinkage(m);

    diagram.PaintFrame(p);
    PaintVerticalAxis(p, m, diagram.AxisLabelX);
    PaintPositionTableHeader(p, m);
    // The curves' labels stay between the axes, above the axis' labels, and
    // keep off every text that stands there.
    const QRect plot = TravelPlotArea(m);
    LabelSpots labels(QRect(QPoint(TravelLabelsLeft, plot.top()),
                            QPoint(diagram.PortEdges.LineRight, diagram.LabelsAbove - 1)));
    labels.KeepOff(PositionTableRect(p, m));
    labels.KeepOff(TopStripRect(p, m));
    PaintPortEdgeLines(p, m, diagram.PortEdges, &labels);

    const int count = PositionsInUse(m);
    for (int n = 1; n <= count; ++n) {
        const float position = m.RevArmPositions[static_cast<size_t>(n)];
        if (position == 0.0f) continue; // a slot left unused below one in use
        m.RevArmSetting = position;
        PaintPositionTableRow(p, m, n, position);
        const bool atMidGear = analysis::IsAtMidGear(m, position);
        // A curve beyond the travel axis would run through the captions.
        p.save();
        p.setClipRect(plot);
        const analysis::JointTravel travel = diagram.Sweep(p, m, n, atMidGear, labels);
        p.restore();
        if (atMidGear) PaintReadouts(p, analysis::ComputeReadouts(m, travel));
    }

    PaintDynVarBlock(p, m);
    PaintUndoLine(p, m, text);
}

} // namespace diagrams
