// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagrams/steam_diagram.h"

#include "analysis/setting_guard.h"
#include "diagrams/diagram_paint.h"
#include "model/format.h"
#include "model/model.h"
#include "model/rounding.h"

#include <QColor>
#include <QPainter>
#include <QPen>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace diagrams {

using namespace analysis;

namespace {

// Layout of the steam diagram window, in client pixels.
namespace layout {
constexpr double FrontDeadCentreX = 584; // travel 0
constexpr double TravelScale = StrokeTravelScale;
constexpr double BaseY = 343; // pressure 0
constexpr double PressureScale = 0.9;
constexpr int AxisLeft = 44, AxisRight = 584, AxisTop = 70, AxisBottom = 346;
constexpr int BaseLineLeft = 45, BaseLineRight = 585;
constexpr TickSpan ShortTicks{71, 557, 27, 52, 58};
constexpr TickSpan LongTicks{98, 530, 54, 50, 60};
constexpr int CutOffRowTop = 233, CutOffRowSpacing = 13;
constexpr int CutOffHeadingY = 231;
constexpr int FrontCutOffHeadingX = 587, FrontCutOffNumberX = 588, FrontCutOffValueX = 600;
constexpr int RearCutOffHeadingX = 2, RearCutOffNumberX = 3, RearCutOffValueX = 15;
constexpr double FrontLabelX = 568, RearLabelX = 600, LabelScale = 0.84;
constexpr int FrontLabelY = 122, RearLabelY = 135;
} // namespace layout

const QColor FrontGreen{0, 128, 0};
const QColor RearRed{255, 0, 0};
const QString CutOffHeading = QStringLiteral("%CutOff");

struct PlacedText {
    int X, Y;
    const char* Text;
};

// The arrow head at the top of the pressure axis: its strokes are laid over
// each other, so none may blank out another.
constexpr PlacedText ArrowHead[] = {
    {24, 77, "/"},
    {29, 77, "\\"},
    {28, 81, "|"},
    {28, 94, "|"},
};

constexpr PlacedText FrameTexts[] = {
    // "CYLINDER PRESSURE" down the left edge.
    {20, 108, "C"},
    {20, 123, "Y"},
    {20, 136, "L"},
    {22, 149, "I"},
    {20, 162, "N"},
    {20, 175, "D"},
    {20, 188, "E"},
    {20, 201, "R"},
    {32, 108, "P"},
    {32, 123, "R"},
    {32, 136, "E"},
    {32, 149, "S"},
    {32, 162, "S"},
    {32, 175, "U"},
    {32, 188, "R"},
    {32, 201, "E"},
    // Travel axis.
    {45, 350, "100"},
    {91, 350, "90"},
    {145, 350, "80"},
    {199, 350, "70"},
    {253, 350, "60"},
    {307, 350, "50"},
    {361, 350, "40"},
    {415, 350, "30"},
    {469, 350, "20"},
    {523, 350, "10"},
    {577, 348, "0"},
    {186, 364, "Percent Piston Travel"},
    {386, 364, "Forward End --->"},
};

int TravelX(double t) {
    return kes::SaturatedPixel(layout::FrontDeadCentreX - layout::TravelScale * t);
}
int PressureY(double p) {
    return kes::SaturatedPixel(layout::BaseY - layout::PressureScale * p);
}

// What the drawing paints, kept in the order the simulation asked for it.
// The simulation runs to the end before anything is painted: solving
// between raster operations is markedly slower on some processors.
struct PaintCommand {
    enum Kind : uint8_t { TableRow, PressureLine, CutOff, Label } What = TableRow;
    SteamEnd End = SteamEnd::Front;
    int N = 0;
    int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    float Value = 0;
};

// At most two lines, a cut-off and a label per end and drawn sample, a
// cut-off and a label per end in the settling samples, and the table row.
constexpr size_t MaxCommandsPerPosition =
    1 + (SteamSamplesPerPosition - SteamSettlingSamples) * 2 * 4 + SteamSettlingSamples * 2 * 2;

class RecordingSink final : public SteamPixelSink {
  public:
    explicit RecordingSink(std::vector<PaintCommand>& commands) : c_(commands) {}
    void PositionBegun(int n, float setting) override {
        c_.push_back({PaintCommand::TableRow, SteamEnd::Front, n, 0, 0, 0, 0, setting});
    }
    void PressureLine(SteamEnd end, int x1, int y1, int x2, int y2) override {
        c_.push_back({PaintCommand::PressureLine, end, 0, x1, y1, x2, y2, 0});
    }
    void CutOff(SteamEnd end, int n, float percent) override {
        c_.push_back({PaintCommand::CutOff, end, n, 0, 0, 0, 0, percent});
    }
    void PositionLabel(SteamEnd end, int counter, int x, int y) override {
        c_.push_back({PaintCommand::Label, end, counter, x, y, 0, 0, 0});
    }

  private:
    std::vector<PaintCommand>& c_;
};

class CommandPainter {
  public:
    // The pens are made once: setting a shared pen allocates nothing.
    CommandPainter(QPainter& p, const kes::Model& m, LabelSpots& labels)
        : p_(p), m_(m), labels_(labels), frontPen_(FrontGreen), rearPen_(RearRed) {}

    void Paint(const PaintCommand& c) {
        const bool front = c.End == SteamEnd::Front;
        switch (c.What) {
        case PaintCommand::TableRow:
            PaintPositionTableRow(p_, m_, c.N, c.Value);
            break;
        case PaintCommand::PressureLine:
            p_.setPen(front ? frontPen_ : rearPen_);
            Line(p_, c.X1, c.Y1, c.X2, c.Y2);
            break;
        case PaintCommand::CutOff: {
            const int y = CutOffRowY(c.N);
            // The front heading ends inside the window's edge.
            WriteText(p_,
                      front ? FitLeft(p_, layout::FrontCutOffHeadingX, CutOffHeading)
                            : layout::RearCutOffHeadingX,
                      layout::CutOffHeadingY, CutOffHeading,
                      TextStyle{front ? FrontGreen : RearRed, false});
            WriteText(p_, front ? layout::FrontCutOffNumberX : layout::RearCutOffNumberX, y,
                      kes::FormatInt(c.N, 1));
            WriteText(p_, front ? layout::FrontCutOffValueX : layout::RearCutOffValueX, y,
                      kes::FormatFixed(c.Value, 4, 1));
            break;
        }
        case PaintCommand::Label:
            labels_.Write(p_, {c.X1, c.Y1}, QString::fromStdString(kes::FormatInt(c.N, 1)));
            break;
        }
    }

  private:
    QPainter& p_;
    const kes::Model& m_;
    LabelSpots& labels_;
    const QPen frontPen_;
    const QPen rearPen_;
};

// A label that a later one of the same position and end replaces: the
// settling turns label the curve too, a few pixels from where the drawn
// turn does, and both together would read as "11".
bool Superseded(const std::vector<PaintCommand>& commands, size_t i) {
    const PaintCommand& c = commands[i];
    if (c.What != PaintCommand::Label) return false;
    for (size_t j = i + 1; j < commands.size(); ++j) {
        const PaintCommand& later = commands[j];
        if (later.What == PaintCommand::Label && later.End == c.End && later.N == c.N) return true;
    }
    return false;
}

void PaintFrame(QPainter& p) {
    using namespace layout;
    p.setPen(Black);
    PaintTickRows(p, ShortTicks, LongTicks);
    Line(p, AxisLeft, AxisTop, AxisLeft, AxisBottom);
    Line(p, AxisRight, AxisTop, AxisRight, AxisBottom);
    for (const PlacedText& t : ArrowHead)
        WriteText(p, t.X, t.Y, QString::fromLatin1(t.Text), TextStyle{Black, false, false});
    for (const PlacedText& t : FrameTexts)
        WriteText(p, t.X, t.Y, QString::fromLatin1(t.Text));
    p.setPen(Black);
    Line(p, BaseLineLeft, static_cast<int>(BaseY), BaseLineRight, static_cast<int>(BaseY));
}

} // namespace

void SteamPixelSink::PressureStep(SteamEnd end, float fromTravel, float fromPressure,
                                  float toTravel, float pressure) {
    PressureLine(end, TravelX(fromTravel), PressureY(fromPressure), TravelX(toTravel),
                 PressureY(pressure));
}

void SteamPixelSink::CutOffLevel(SteamEnd end, float fromTravel, float toTravel, double u,
                                 float pressure) {
    const int y = PressureY(pressure);
    PressureLine(end, TravelX(fromTravel), y,
                 kes::SaturatedPixel(layout::FrontDeadCentreX - layout::TravelScale * fromTravel +
                                     layout::TravelScale * (fromTravel - toTravel) * u),
                 y);
}

void SteamPixelSink::LabelDue(SteamEnd end, int counter, float travel) {
    const bool front = end == SteamEnd::Front;
    PositionLabel(end, counter,
                  kes::SaturatedPixel((front ? layout::FrontLabelX : layout::RearLabelX) -
                                      layout::LabelScale * travel),
                  front ? layout::FrontLabelY : layout::RearLabelY);
}

int CutOffRowY(int n) {
    return layout::CutOffRowSpacing * n + layout::CutOffRowTop;
}

void PaintSteamDiagram(QPainter& p, kes::Model& m, DiagramTextState& text) {
    const analysis::SettingGuard keep(m);
    PaintFrame(p);
    PaintPositionTableHeader(p, m);
    std::vector<PaintCommand> commands;
    commands.reserve(MaxCommandsPerPosition *
                     static_cast<size_t>(std::clamp(m.RevArmPositionCount, 0, MaxSteamPositions)));
    RecordingSink recorder(commands);
    RunSteamSimulation(m, recorder);
    // The position labels stay inside the axes, clear of each other and of
    // the position table.
    using namespace layout;
    LabelSpots labels(QRect(QPoint(AxisLeft + 1, AxisTop + 1),
                            QPoint(AxisRight - 1, static_cast<int>(BaseY) - 1)));
    labels.KeepOff(PositionTableRect(p, m));
    labels.KeepOff(TopStripRect(p, m));
    CommandPainter painter(p, m, labels);
    for (size_t i = 0; i < commands.size(); ++i)
        if (!Superseded(commands, i)) painter.Paint(commands[i]);
    PaintDynVarBlock(p, m);
    PaintUndoLine(p, m, text);
}

} // namespace diagrams
