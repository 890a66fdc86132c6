// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture/screen_texts.h"

#include "model/absolute_points.h"
#include "model/dyn_vars.h"
#include "model/format.h"
#include "model/model.h"
#include "model/rounding.h"
#include "picture/cylinder_outlines.h"
#include "picture/draw_constants.h"
#include "picture/paint_canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

QString Fixed(double v, int width, int decimals) {
    return QString::fromStdString(kes::FormatFixed(v, width, decimals));
}

QString Str(const std::string& s) {
    return QString::fromStdString(s);
}

QPoint ScreenOf(const kes::Model& m, int index) {
    const auto& p = m.Points[static_cast<size_t>(index)];
    return {p.SX, p.SY};
}

double Distance(const kes::PointSlot& a, const kes::PointSlot& b) {
    return std::hypot(static_cast<double>(a.X) - b.X, static_cast<double>(a.Y) - b.Y);
}

double Distance(const kes::WorldPosition& a, const kes::WorldPosition& b) {
    return std::hypot(a.X - b.X, a.Y - b.Y);
}

void DrawUndoLine(Canvas& canvas, const kes::Model& m, FrameOutcome& out) {
    if (!m.UndoDisplay) return;
    const QPoint at = m.DynVarMode ? drawk::UndoTextDynVarAt : drawk::UndoTextAt;
    canvas.Text(ScaledTextPos(m, at), Str(kes::MainUndoMessage(m)));
    out.UndoButtonTop = m.DynVarMode ? drawk::UndoButtonDynVarTop : drawk::UndoButtonTop;
}

void DrawFixedTexts(Canvas& canvas, const kes::Model& m, const DrawState& s) {
    auto text = [&](QPoint at, const QString& s) { canvas.Text(ScaledTextPos(m, at), s); };
    const auto& sol = m.Solver;
    const QString& blanks = drawk::TrailingBlanks;
    text(drawk::PanVertAt, drawk::PanVert);
    text(drawk::PanHorzAt, drawk::PanHorz);
    text(drawk::ZoomAt, drawk::Zoom);
    text(drawk::RevArmAt, drawk::RevArmLabel + Fixed(m.RevArmSetting, 6, 3) + blanks);
    const float angle = s.SolvedDriverAngle.value_or(m.DriverAngle);
    text(drawk::DrivAngAt, drawk::DrivAngLabel + Fixed(angle, 6, 2) + blanks);
    text(drawk::StepAngAt, drawk::StepAngLabel + Fixed(m.SelectedStepAngle, 6, 2) + blanks);
    text(drawk::PistonAt,
         drawk::PistonLabel + Fixed(sol.PistonTravel640 / 6.4 + 0.00001, 6, 2) + blanks);
    text(drawk::ValveCenAt, drawk::ValveCenLabel + Fixed(sol.ValveOffset, 7, 3) + blanks);
    text(drawk::ValveFStAt, drawk::ValveFStLabel + Fixed(sol.FrontSteamOpen, 7, 3) + blanks);
    text(drawk::ValveFExAt, drawk::ValveFExLabel + Fixed(sol.FrontExhaustOpen, 7, 3) + blanks);
    text(drawk::ValveRStAt, drawk::ValveRStLabel + Fixed(sol.RearSteamOpen, 7, 3) + blanks);
    text(drawk::ValveRExAt, drawk::ValveRExLabel + Fixed(sol.RearExhaustOpen, 7, 3) + blanks);
    text(drawk::ConRodAt,
         drawk::ConRodLabel + Fixed(sol.GearConRodAngle * 180.0 / std::numbers::pi, 7, 2) + blanks);
}

void UpdateErrorIndicator(const kes::Model& m, DrawState& s, FrameOutcome& out) {
    if (!m.SolveError) return;
    ++s.ErrorBlinkCount;
    if (s.ErrorBlinkCount < drawk::ErrorShowFrames) out.ErrorItemVisible = true;
    if (s.ErrorBlinkCount == drawk::ErrorShowFrames) {
        out.ErrorItemVisible = false;
        out.PlayError = true;
    }
    if (s.ErrorBlinkCount > drawk::ErrorResetAfter) {
        s.ErrorBlinkCount = 0;
        out.ClearSolveError = true;
    }
}

void DrawPivotData(Canvas& canvas, const kes::Model& m) {
    auto text = [&](QPoint at, const QString& s) { canvas.Text(ScaledTextPos(m, at), s); };
    text(drawk::PivotTitleAt, drawk::PivotTitle);
    text(drawk::PivotHeaderAt, drawk::PivotHeader);
    auto active = [&](int k) {
        const auto& slot = m.PivotSlots[static_cast<size_t>(k)];
        return slot.Active && slot.PointIndex >= 0 && slot.PointIndex < kes::PointCount;
    };
    // Positions, as the data table shows them: the pivots held relative to
    // the gear mount are shown where they lie.
    auto point = [&](int k) {
        return kes::AbsolutePosition(m, m.PivotSlots[static_cast<size_t>(k)].PointIndex);
    };
    for (int k = 1; k <= 6; ++k) {
        const int y = drawk::PivotFirstRow + drawk::PivotRowStep * (k - 1);
        const QString label = QString::number(k);
        canvas.SetFontColor(drawk::Red);
        text({drawk::PivotLabelX, y}, label);
        if (!active(k)) continue;
        const kes::WorldPosition p = point(k);
        canvas.SetFontColor(drawk::Black);
        text({drawk::PivotVertX, y}, Fixed(p.Y, 7, 3));
        text({drawk::PivotHorzX, y}, Fixed(p.X, 7, 3));
        canvas.SetFontColor(drawk::Red);
        const QPoint at(WorldToScreenX(m, p.X), WorldToScreenY(m, p.Y));
        canvas.Text(at + drawk::PivotMarkOffset, label);
    }
    canvas.SetFontColor(drawk::Black);
    for (int pair = 0; pair < 3; ++pair) {
        const int a = 2 * pair + 1, b = a + 1;
        if (active(a) && active(b))
            text({drawk::PivotDistanceX, drawk::PivotDistanceY[static_cast<size_t>(pair)]},
                 Fixed(Distance(point(a), point(b)), 7, 3));
    }
}

void DrawPickPrompts(Canvas& canvas, const kes::Model& m) {
    const auto& lines = m.LinesPickRefChoice < 3 ? drawk::PickOnePrompt : drawk::PickTwoPrompt;
    const double points = canvas.FontPoints();
    canvas.SetFont(points, true);
    canvas.SetFontColor(drawk::Red);
    for (size_t i = 0; i < lines.size(); ++i)
        canvas.Text(ScaledTextPos(m, drawk::PromptAt[i]), lines[i]);
    canvas.SetFont(points, false);
    canvas.SetFontColor(drawk::Black);
}

// Where the piston was when a steam port closed, by linear interpolation
// between this frame and the last. A new read-out goes back to the model
// through out and is shown at once.
void DrawCutOff(Canvas& canvas, const kes::Model& m, DrawState& s, FrameOutcome& out) {
    const auto& sol = m.Solver;
    auto text = [&](QPoint at, const QString& str) { canvas.Text(ScaledTextPos(m, at), str); };
    const bool shown = m.StepAngle != 0.0f && m.StepAngle < drawk::CutOffMaxStep;
    const int hold = kes::RoundHalfEven(drawk::CutOffShowSteps / (m.StepAngle + 0.1));

    if (s.PrevFrontSteamOpen > 0 && sol.FrontSteamOpen < 0) {
        s.CutOffFrontHold = hold;
        const float p = s.PrevPistonTravel - s.PrevFrontSteamOpen *
                                                 (sol.PistonTravel640 - s.PrevPistonTravel) /
                                                 (sol.FrontSteamOpen - s.PrevFrontSteamOpen);
        s.PrevPistonTravel = p;
        out.CutOffFrontText = kes::FormatFixed(p / 6.4, 4, 1);
    }
    if (shown) {
        text(drawk::FrontCutOffAt, drawk::FrontCutOffLabel);
        if (s.CutOffFrontHold > 0) {
            text(drawk::FrontCutOffValueAt,
                 Str(out.CutOffFrontText ? *out.CutOffFrontText : m.CutOffFrontText));
            --s.CutOffFrontHold;
        }
    }
    if (s.PrevRearSteamOpen > 0 && sol.RearSteamOpen < 0) {
        s.CutOffRearHold = hold;
        const float p = s.PrevPistonTravel - s.PrevRearSteamOpen *
                                                 (sol.PistonTravel640 - s.PrevPistonTravel) /
                                                 (sol.RearSteamOpen - s.PrevRearSteamOpen);
        out.CutOffRearText = kes::FormatFixed((640.0 - p) / 6.4, 4, 1);
    }
    if (shown) {
        text(drawk::RearCutOffAt, drawk::RearCutOffLabel);
        if (s.CutOffRearHold > 0) {
            text(drawk::RearCutOffValueAt,
                 Str(out.CutOffRearText ? *out.CutOffRearText : m.CutOffRearText));
            --s.CutOffRearHold;
        }
    }
    s.PrevPistonTravel = sol.PistonTravel640;
    s.PrevFrontSteamOpen = sol.FrontSteamOpen;
    s.PrevRearSteamOpen = sol.RearSteamOpen;
}

void DrawReferencePoints(Canvas& canvas, const kes::Model& m) {
    auto text = [&](QPoint at, const QString& s) { canvas.Text(ScaledTextPos(m, at), s); };
    const auto& p1 = m.Points[kes::RefPoint1];
    const auto& p2 = m.Points[kes::RefPoint2];
    for (int index : {kes::RefPoint2, kes::RefPoint1}) {
        const QPoint at = ScreenOf(m, index);
        const int h = drawk::RefCrossHalf;
        canvas.Line(at - QPoint(h, 0), at + QPoint(h, 0));
        canvas.Line(at - QPoint(0, h), at + QPoint(0, h));
    }
    // A dimension highlight writes its name over the values' place.
    if (m.HighlightedDimension > 0) return;
    text(drawk::Pt2VAt, drawk::Pt2V + Fixed(p2.Y, 6, 3));
    text(drawk::Pt2HAt, drawk::Pt2H + Fixed(p2.X, 6, 3));
    canvas.Text(ScreenOf(m, kes::RefPoint2) + drawk::RefLabelOffset, QStringLiteral("2"));
    text(drawk::Pt1VAt, drawk::Pt1V + Fixed(p1.Y, 6, 3));
    text(drawk::Pt1HAt, drawk::Pt1H + Fixed(p1.X, 6, 3));
    canvas.Text(ScreenOf(m, kes::RefPoint1) + drawk::RefLabelOffset, QStringLiteral("1"));
    text(drawk::RefDiffVAt, Fixed(static_cast<double>(p1.Y) - p2.Y, 6, 3));
    text(drawk::RefDiffHAt, Fixed(static_cast<double>(p1.X) - p2.X, 6, 3));
    text(drawk::Pt1Pt2At, drawk::Pt1Pt2);
    text(drawk::RefDistanceAt, Fixed(Distance(p1, p2), 6, 3));
}

void DrawDynVars(Canvas& canvas, const kes::Model& m) {
    auto text = [&](QPoint at, const QString& s) { canvas.Text(ScaledTextPos(m, at), s); };
    if (m.DynVarSlots[1].Name == kes::EmptySlotName) {
        canvas.SetFontColor(drawk::Red);
        text(drawk::DynVarStarsAt, drawk::DynVarStars);
        text(drawk::DynVarSelectFirstAt, drawk::DynVarSelectFirst);
        text(drawk::DynVarStars2At, drawk::DynVarStars);
        canvas.SetFontColor(drawk::Black);
        return;
    }
    // A long name pushes its value right, up to the read-outs at x 545;
    // a name too long even then is cut short with an ellipsis.
    const QFontMetrics metrics = canvas.Painter().fontMetrics();
    const int gap = metrics.horizontalAdvance(QLatin1Char(' '));
    const int readouts = ScaledTextPos(m, drawk::ValveRStAt).x() - gap;
    for (size_t i = 0; i < drawk::DynVarRowY.size(); ++i) {
        const auto& slot = m.DynVarSlots[i + 1];
        const int y = drawk::DynVarRowY[i];
        const QPoint nameAt = ScaledTextPos(m, {drawk::DynVarNameX, y});
        const QString name = Str(slot.Name);
        const QString value = Fixed(slot.Value, 6, 3);
        const int valueX =
            std::min(std::max(ScaledTextPos(m, {drawk::DynVarValueX, y}).x(),
                              nameAt.x() + metrics.horizontalAdvance(name.trimmed()) + gap),
                     readouts - metrics.horizontalAdvance(value));
        canvas.Text(nameAt, metrics.elidedText(name, Qt::ElideRight,
                                               std::max(0, valueX - gap - nameAt.x())));
        canvas.Text({valueX, nameAt.y()}, value);
    }
}

} // namespace

QPoint ScaledTextPos(const kes::Model& m, QPoint p) {
    return {kes::RoundHalfEven(p.x() * static_cast<double>(m.TextScaleX)),
            kes::RoundHalfEven(p.y() * static_cast<double>(m.TextScaleY))};
}

void DrawScreenTexts(Canvas& canvas, const kes::Model& m, DrawState& s, FrameOutcome& out) {
    DrawUndoLine(canvas, m, out);
    DrawFixedTexts(canvas, m, s);
    UpdateErrorIndicator(m, s, out);
    if (m.PivotDataOn) DrawPivotData(canvas, m);
    if (m.LinesPickWaiting) DrawPickPrompts(canvas, m);
    DrawCutOff(canvas, m, s, out);
    if (m.ReferencePointsOn) DrawReferencePoints(canvas, m);
    if (m.DynVarMode) DrawDynVars(canvas, m);
}
