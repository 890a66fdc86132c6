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

// The curve: samples j = 7 .. 73, driver angle 8 j + 272 (328 degrees, then
// on through 360 to 136 degrees of the next turn), sample j at x = 8 j + 2.
constexpr int FirstSample = 7;
constexpr int LastSample = 73;
constexpr int LabelSample = 8;           // the position number goes up with this sample
constexpr QPoint PositionLabelAt{45, 0}; // y: the height of the first sample

float SampleAngle(int j) {
    float a = static_cast<float>(8 * j + 272);
    while (a > 360.0f)
        a -= 360.0f;
    return a;
}
int SampleX(int j) {
    return 8 * j + 2;
}

void PaintFrame(QPainter& p) {
    PaintTickRows(p, ShortTicks, LongTicks);
    WriteAxisLabels(p, AngleAxisY, AngleLabels);
    WriteText(p, RotationTextAt.x(), RotationTextAt.y(), RotationText);
}

// One position's sweep; paints the curve when a painter is given and
// returns the joint travel seen (meaningful at mid gear).
JointTravel SweepPosition(QPainter* p, kes::Model& m, int n, bool atMidGear) {
    const double k = PixelsPerUnit(m);
    JointTravel travel;
    int previousY = 0;
    for (int j = FirstSample; j <= LastSample; ++j) {
        m.DriverAngle = SampleAngle(j);
        kes::SolveLinkage(m);
        const int y = TravelY(m.Solver.ValveOffset, k);
        if (atMidGear) travel.Add(m.Points[kes::ValveStemJoint].X);
        if (p) {
            if (j == LabelSample)
                WriteText(*p, PositionLabelAt.x(), previousY,
                          QString::fromStdString(kes::FormatInt(n, 2)), {Black, true});
            if (j > FirstSample) Line(*p, SampleX(j - 1), previousY, SampleX(j), y);
        }
        previousY = y;
    }
    return travel;
}

JointTravel PaintPosition(QPainter& p, kes::Model& m, int n, bool atMidGear) {
    return SweepPosition(&p, m, n, atMidGear);
}

} // namespace

void PaintSineDiagram(QPainter& p, kes::Model& m, DiagramTextState& text) {
    constexpr TravelDiagram Sine{&PaintFrame, AxisLabelX, PortEdges, &PaintPosition};
    PaintTravelDiagram(p, m, text, Sine);
}

MidGearReadouts SineReadouts(kes::Model& m, float position) {
    SettingGuard guard(m);
    m.RevArmSetting = position;
    const JointTravel travel = SweepPosition(nullptr, m, 0, true);
    return ComputeReadouts(m, travel);
}

} // namespace diagrams
