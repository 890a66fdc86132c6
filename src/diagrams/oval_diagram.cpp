// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/oval_diagram.h"

#include "model/format.h"
#include "model/model.h"
#include "model/solver.h"

#include <QPainter>

#include <cmath>
#include <numbers>

namespace diagrams {

namespace {

// Background ticks: nine rows, 32 pixels apart, and the two dead-centre lines.
constexpr TickSpan ShortTicks{71, 557, 27, 52, 58};
constexpr TickSpan LongTicks{98, 530, 54, 50, 60};
constexpr int RearDeadCentreX = 44, FrontDeadCentreX = 584;
constexpr int DeadCentreTop = 84, DeadCentreBottom = 346;

// The travel axis: 100 % at the left, 0 % at the right.
constexpr int TravelAxisY = 353;
constexpr AxisLabel TravelLabels[] = {{45, "100"}, {91, "90"},  {145, "80"}, {199, "70"},
                                      {253, "60"}, {307, "50"}, {361, "40"}, {415, "30"},
                                      {469, "20"}, {523, "10"}};
constexpr QPoint ZeroLabelAt{577, 348};
constexpr QPoint PercentTextAt{186, 367};
constexpr QPoint ForwardTextAt{386, 367};
const QString PercentText = QStringLiteral("Percent Piston Travel");
const QString ForwardText = QStringLiteral("Forward End --->");
constexpr int AxisLabelX = 15;

constexpr PortEdgeLayout PortEdges{584, 430, 430, 75, 75, 75, 430};

// px(a) = nint(314 + 270.5 (cos a + 2/s (sqrt(L^2 - (s/2 sin a)^2) - L))).
constexpr double PistonCentreX = 314.0;
constexpr double PistonHalfSpan = 270.5;

// The loop: samples j = 7 .. 52 at driver angle 88 - 8 j (32 degrees, then
// backwards through 0 to 32 again).
constexpr int FirstSample = 7;
constexpr int LastSample = 52;
// The position number stands at two places on each oval: after these
// samples, at the previous sample's height plus an offset that depends on
// the read-out mode.
struct LoopLabel {
    int Sample;
    int X;
    int NormalTop; // nint(top - v k)
    int OtherTop;
};
constexpr LoopLabel LoopLabels[] = {{22, 300, 204, 213}, {46, 334, 213, 204}};

float SampleAngle(int j) {
    float a = static_cast<float>(88 - 8 * j);
    while (a < 0.0f)
        a += 360.0f;
    return a;
}

void PaintFrame(QPainter& p) {
    PaintTickRows(p, ShortTicks, LongTicks);
    Line(p, RearDeadCentreX, DeadCentreTop, RearDeadCentreX, DeadCentreBottom);
    Line(p, FrontDeadCentreX, DeadCentreTop, FrontDeadCentreX, DeadCentreBottom);

    WriteAxisLabels(p, TravelAxisY, TravelLabels);
    WriteText(p, ZeroLabelAt.x(), ZeroLabelAt.y(), QStringLiteral("0"));
    WriteText(p, PercentTextAt.x(), PercentTextAt.y(), PercentText);
    WriteText(p, ForwardTextAt.x(), ForwardTextAt.y(), ForwardText);
}

// One position's loop, with its number at the two label samples.
analysis::JointTravel SweepLoop(QPainter& p, kes::Model& m, int n, bool atMidGear,
                                LabelSpots& labels) {
    const double k = PixelsPerUnit(m);
    const bool normalMode = analysis::NormalReadoutMode(m);
    analysis::JointTravel travel;
    const QString number = QString::fromStdString(kes::FormatInt(n, 2));

    double previousV = 0.0;
    QPoint previous;
    for (int j = FirstSample; j <= LastSample; ++j) {
        const float angle = SampleAngle(j);
        m.DriverAngle = angle;
        kes::SolveLinkage(m);
        const double v = m.Solver.ValveOffset;
        if (atMidGear) travel.Add(m.Points[kes::ValveStemJoint].X);
        const QPoint here(OvalPistonX(m, angle), TravelY(v, k));
        if (j > FirstSample) {
            for (const LoopLabel& label : LoopLabels) {
                if (j != label.Sample) continue;
                const int top = normalMode ? label.NormalTop : label.OtherTop;
                labels.Write(p, {label.X, Nint(top - previousV * k)}, number);
            }
            Line(p, previous.x(), previous.y(), here.x(), here.y());
        }
        previousV = v;
        previous = here;
    }
    return travel;
}

} // namespace

int OvalPistonX(kes::Model& m, double angle) {
    const double a = angle * std::numbers::pi / 180.0;
    const double rod = m.Frame.MainRodLength;
    const double stroke = kes::GuardDivisor(m, m.Frame.StrokeLength);
    const double half = stroke / 2.0 * std::sin(a);
    const double root = kes::GuardRoot(m, static_cast<float>(rod * rod - half * half));
    return Nint(PistonCentreX +
                PistonHalfSpan * (std::cos(a) + 2.0 / stroke * (std::sqrt(root) - rod)));
}

void PaintOvalDiagram(QPainter& p, kes::Model& m, DiagramTextState& text) {
    // The "0" of the travel axis stands a little above its other labels.
    constexpr TravelDiagram Oval{&PaintFrame, AxisLabelX, ZeroLabelAt.y(), PortEdges, &SweepLoop};
    PaintTravelDiagram(p, m, text, Oval);
}

} // namespace diagrams
