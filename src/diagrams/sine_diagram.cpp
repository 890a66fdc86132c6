// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/sine_diagram.h"

#include "model/format.h"
#include "model/model.h"
#include "model/solver.h"

#include <QPainter>

namespace diagrams {

namespace {

// Background ticks: nine rows, 32 pixels apart; row 5 is the zero line.
constexpr TickSpan ShortTicks{60, 580, 10, 53, 57};
constexpr TickSpan LongTicks{90, 540, 90, 50, 60};

// The angle axis: x 90 is 0 degrees, one pixel per degree.
constexpr int AngleAxisY = 353;
constexpr AxisLabel AngleLabels[] = {{86, "0"},    {173, "90"}, {260, "180"},
                                     {350, "270"}, {446, "0"},  {533, "90"}};
constexpr QPoint RotationTextAt{86, 367};
const QString RotationText = QStringLiteral("Driver Clockwise Rotation --->");
constexpr int AxisLabelX = 14;

constexpr PortEdgeLayout PortEdges{583, 60, 60, 230, 230, 230, 60};

// The curve: the read-outs' samples, sample j at x = 8 j + 2.
constexpr int FirstSample = analysis::SineFirstSample;
constexpr int LastSample = analysis::SineLastSample;
constexpr int LabelSample = 8;           // the position number goes up with this sample
constexpr QPoint PositionLabelAt{45, 0}; // y: the height of the first sample

int SampleX(int j) {
    return 8 * j + 2;
}

void PaintFrame(QPainter& p) {
    PaintTickRows(p, ShortTicks, LongTicks);
    WriteAxisLabels(p, AngleAxisY, AngleLabels);
    WriteText(p, RotationTextAt.x(), RotationTextAt.y(), RotationText);
}

// One position's curve; returns the joint travel seen (meaningful at mid
// gear).
analysis::JointTravel PaintPosition(QPainter& p, kes::Model& m, int n, bool atMidGear,
                                    LabelSpots& labels) {
    const double k = PixelsPerUnit(m);
    analysis::JointTravel travel;
    int previousY = 0;
    for (int j = FirstSample; j <= LastSample; ++j) {
        m.DriverAngle = analysis::SineSampleAngle(j);
        kes::SolveLinkage(m);
        const int y = TravelY(m.Solver.ValveOffset, k);
        if (atMidGear) travel.Add(m.Points[kes::ValveStemJoint].X);
        if (j == LabelSample)
            labels.Write(p, {PositionLabelAt.x(), previousY},
                         QString::fromStdString(kes::FormatInt(n, 2)));
        if (j > FirstSample) Line(p, SampleX(j - 1), previousY, SampleX(j), y);
        previousY = y;
    }
    return travel;
}

} // namespace

void PaintSineDiagram(QPainter& p, kes::Model& m, DiagramTextState& text) {
    constexpr TravelDiagram Sine{&PaintFrame, AxisLabelX, AngleAxisY, PortEdges, &PaintPosition};
    PaintTravelDiagram(p, m, text, Sine);
}

} // namespace diagrams
