#include "diagrams/sine_diagram.h"

#include "model/format.h"
#include "model/model.h"
#include "model/solver.h"

#include <QPainter>

namespace diagrams {

namespace {

// Background ticks: nine rows, 32 pixels apart; row 5 is the zero line.
constexpr int TickRows = 9;
constexpr int TickRowPitch = 32;
constexpr int ShortTickFirstX = 60, ShortTickLastX = 580, ShortTickPitch = 10;
constexpr int ShortTickTop = 53, ShortTickBottom = 57; // + 32 i
constexpr int LongTickFirstX = 90, LongTickLastX = 540, LongTickPitch = 90;
constexpr int LongTickTop = 50, LongTickBottom = 60; // + 32 i

// The angle axis: x 90 is 0 degrees, one pixel per degree.
constexpr int AngleAxisY = 353;
struct AxisLabel {
    int X;
    const char* Text;
};
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
    for (int i = 1; i <= TickRows; ++i) {
        const int row = TickRowPitch * i;
        for (int x = ShortTickFirstX; x <= ShortTickLastX; x += ShortTickPitch)
            Line(p, x, row + ShortTickTop, x, row + ShortTickBottom);
        for (int x = LongTickFirstX; x <= LongTickLastX; x += LongTickPitch)
            Line(p, x, row + LongTickTop, x, row + LongTickBottom);
    }
    for (const AxisLabel& label : AngleLabels)
        WriteText(p, label.X, AngleAxisY, QString::fromLatin1(label.Text));
    WriteText(p, RotationTextAt.x(), RotationTextAt.y(), RotationText);
}

int PositionCount(const kes::Model& m) {
    const int count = m.RevArmPositionCount;
    return count < 0 ? 0 : count > 9 ? 9 : count;
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

} // namespace

void PaintSineDiagram(QPainter& p, kes::Model& m, DiagramTextState& text) {
    SettingGuard guard(m);
    // The port-edge levels of the dimensions as they are now: a dynamic
    // variable may have changed them since the last solve.
    kes::SolveLinkage(m);

    PaintFrame(p);
    PaintVerticalAxis(p, m, AxisLabelX);
    PaintPositionTableHeader(p, m);
    PaintPortEdgeLines(p, m, PortEdges);

    const int count = PositionCount(m);
    for (int n = 1; n <= count; ++n) {
        const float position = m.RevArmPositions[static_cast<size_t>(n)];
        m.RevArmSetting = position;
        PaintPositionTableRow(p, m, n, position);
        const bool atMidGear = IsAtMidGear(m, position);
        const JointTravel travel = SweepPosition(&p, m, n, atMidGear);
        if (atMidGear) PaintReadouts(p, ComputeReadouts(m, travel));
    }

    PaintDynVarBlock(p, m);
    PaintUndoLine(p, m, text);
}

MidGearReadouts SineReadouts(kes::Model& m, float position) {
    SettingGuard guard(m);
    m.RevArmSetting = position;
    const JointTravel travel = SweepPosition(nullptr, m, 0, true);
    return ComputeReadouts(m, travel);
}

} // namespace diagrams
