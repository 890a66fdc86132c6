#include "diagrams/steam_diagram.h"

#include "diagrams/diagram_paint.h"
#include "model/format.h"
#include "model/model.h"
#include "model/rounding.h"
#include "model/solver.h"

#include <QColor>
#include <QPainter>
#include <QPen>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace diagrams {

namespace {

// Layout of the steam diagram window, in client pixels.
namespace layout {
constexpr double FrontDeadCentreX = 584; // travel 0
constexpr double TravelScale = 0.84375;  // 540 pixels for the 640 of a stroke
constexpr double BaseY = 343;            // pressure 0
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

constexpr PlacedText FrameTexts[] = {
    // The arrow head at the top of the pressure axis.
    {24, 77, "/"},
    {29, 77, "\\"},
    {28, 81, "|"},
    {28, 94, "|"},
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

// Pixel positions far outside the window are held where adding offsets
// cannot overflow; they are clipped anyway.
constexpr int PixelLimit = 1000000;
int SafeNint(double v) {
    return std::clamp(kes::RoundHalfEven(v), -PixelLimit, PixelLimit);
}

int TravelX(double t) {
    return SafeNint(layout::FrontDeadCentreX - layout::TravelScale * t);
}
int PressureY(double p) {
    return SafeNint(layout::BaseY - layout::PressureScale * p);
}

float F(double v) {
    return static_cast<float>(v);
}

// The pressure steps. T and Tp are this and the previous sample's travel.
void Exhaust(float& p, float q) {
    p = F(p - q / 15.0);
    if (p < 5.0f) p = 5.0f;
}
void FrontCompression(float& p, float Tp, float T) {
    const double q = Tp / (T + 1.0) + 0.3;
    p = F(p + q * q * q * q);
}
void RearCompression(float& p, float Tp, float T) {
    const double q = (640.0 - Tp) / (641.0 - T) + 0.3;
    p = F(p + q * q * q * q);
}
// A port just opening admits at least a little steam; the raised opening
// is also what the next sample sees as the previous one.
void FrontAdmission(float& p, float& fs, float T) {
    if (fs < 0.005f) fs = 0.005f;
    p = F(p + fs * 100000.0 / (T + 45.0));
    if (p > 303.0f) p = 303.0f;
}
void RearAdmission(float& p, float& rs, float T) {
    if (rs < 0.005f) rs = 0.005f;
    p = F(p + rs * 100000.0 / (685.0 - T));
    if (p > 303.0f) p = 303.0f;
}
void FrontExpansion(float& p, float Tp, float T) {
    p = F((Tp + 100.0) * p / (T + 100.0) * 0.96);
}
void RearExpansion(float& p, float Tp, float T) {
    p = F((740.0 - Tp) * p / (740.0 - T) * 0.96);
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

class RecordingSink final : public SteamSink {
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
    CommandPainter(QPainter& p, const kes::Model& m)
        : p_(p), m_(m), frontPen_(FrontGreen), rearPen_(RearRed) {}

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
            WriteText(p_, front ? layout::FrontCutOffHeadingX : layout::RearCutOffHeadingX,
                      layout::CutOffHeadingY, CutOffHeading,
                      TextStyle{front ? FrontGreen : RearRed, false});
            WriteText(p_, front ? layout::FrontCutOffNumberX : layout::RearCutOffNumberX, y,
                      kes::FormatInt(c.N, 1));
            WriteText(p_, front ? layout::FrontCutOffValueX : layout::RearCutOffValueX, y,
                      kes::FormatFixed(c.Value, 4, 1));
            break;
        }
        case PaintCommand::Label:
            WriteText(p_, c.X1, c.Y1, kes::FormatInt(c.N, 1), TextStyle{Black, true});
            break;
        }
    }

  private:
    QPainter& p_;
    const kes::Model& m_;
    const QPen frontPen_;
    const QPen rearPen_;
};

class CutOffSink final : public SteamSink {
  public:
    explicit CutOffSink(SteamCutOffs& c) : c_(c) {}
    void PositionBegun(int n, float setting) override {
        c_.PositionCount = n;
        c_.Setting[n] = setting;
    }
    void CutOff(SteamEnd end, int n, float percent) override {
        if (end == SteamEnd::Front) {
            c_.Front[n] = percent;
            c_.FrontFound[n] = true;
        } else {
            c_.Rear[n] = percent;
            c_.RearFound[n] = true;
        }
    }

  private:
    SteamCutOffs& c_;
};

// Everything that differs between the two ends when the sample is drawn.
struct EndView {
    SteamEnd End;
    float& P;
    float PPrev;
    float OpenPrev;
    float Open;
    char Phase;
    char& Label;
    double LabelX;
    int LabelY;
};

// The drawing part of one sample for one end: the cut-off (which moves the
// previous travel and pressure to the interpolated closing point), the
// pressure line and the bold label.
void DrawEnd(SteamSink& sink, SteamState& st, const EndView& v, float T, int n, int s) {
    const bool drawn = s > SteamSettlingSamples;
    if (v.OpenPrev > 0.0f && v.Open <= 0.0f) {
        const double u = v.OpenPrev / (static_cast<double>(v.OpenPrev) - v.Open);
        if (drawn) {
            const int y = PressureY(v.PPrev);
            sink.PressureLine(v.End, TravelX(st.Tp), y,
                              SafeNint(layout::FrontDeadCentreX - layout::TravelScale * st.Tp +
                                       layout::TravelScale * (st.Tp - T) * u),
                              y);
        }
        st.Tp = F(st.Tp + (T - st.Tp) * u);
        v.P = F(v.P - u * (v.P - v.PPrev));
        const double percent = v.End == SteamEnd::Front ? st.Tp / 6.4 : (640.0 - st.Tp) / 6.4;
        sink.CutOff(v.End, n, F(percent));
    }
    if (drawn)
        sink.PressureLine(v.End, TravelX(st.Tp), PressureY(v.PPrev), TravelX(T), PressureY(v.P));
    if (v.Phase == PhaseExpansion && v.P > 150.0f && v.P < 250.0f && v.Label == LabelArmed) {
        v.Label = LabelWritten;
        sink.PositionLabel(v.End, st.PositionCounter,
                           SafeNint(v.LabelX - layout::LabelScale * st.Tp), v.LabelY);
    }
}

void PaintFrame(QPainter& p) {
    using namespace layout;
    p.setPen(Black);
    PaintTickRows(p, ShortTicks, LongTicks);
    Line(p, AxisLeft, AxisTop, AxisLeft, AxisBottom);
    Line(p, AxisRight, AxisTop, AxisRight, AxisBottom);
    for (const PlacedText& t : FrameTexts)
        WriteText(p, t.X, t.Y, QString::fromLatin1(t.Text));
    p.setPen(Black);
    Line(p, BaseLineLeft, static_cast<int>(BaseY), BaseLineRight, static_cast<int>(BaseY));
}

} // namespace

void StepFrontPhase(SteamState& s, SteamSample& now) {
    switch (s.PhaseF) {
    case PhaseExhaust:
        if (now.FX > 0.0f) {
            Exhaust(s.Pf, s.Qf);
        } else {
            FrontCompression(s.Pf, s.Tp, now.T);
            s.PhaseF = PhaseCompression;
        }
        break;
    case PhaseCompression:
        if (now.FS > 0.0f) {
            FrontAdmission(s.Pf, now.FS, now.T);
            s.PhaseF = PhaseAdmission;
        } else {
            FrontCompression(s.Pf, s.Tp, now.T);
        }
        // The piston has turned away from the front end: compression is over.
        if (s.Tp < now.T) s.PhaseF = PhaseAdmission;
        break;
    case PhaseAdmission:
        if (now.FS > 0.0f) {
            FrontAdmission(s.Pf, now.FS, now.T);
        } else {
            FrontExpansion(s.Pf, s.Tp, now.T);
            s.PhaseF = PhaseExpansion;
        }
        if (s.LabelF == LabelWritten) s.LabelF = LabelArmed;
        break;
    default: // expansion
        if (now.FX > 0.0f) {
            s.Qf = s.Pf;
            Exhaust(s.Pf, s.Qf);
            s.PhaseF = PhaseExhaust;
        } else {
            FrontExpansion(s.Pf, s.Tp, now.T);
        }
        if (now.FS > 0.0f) s.PhaseF = PhaseAdmission;
        break;
    }
}

void StepRearPhase(SteamState& s, SteamSample& now) {
    switch (s.PhaseR) {
    case PhaseExhaust:
        if (now.RX > 0.0f) {
            Exhaust(s.Pr, s.Qr);
        } else {
            RearCompression(s.Pr, s.Tp, now.T);
            s.PhaseR = PhaseCompression;
        }
        break;
    case PhaseCompression:
        if (now.RS > 0.0f) {
            RearAdmission(s.Pr, now.RS, now.T);
            s.PhaseR = PhaseAdmission;
        } else {
            RearCompression(s.Pr, s.Tp, now.T);
        }
        // The piston has turned away from the rear end.
        if (s.Tp > now.T) s.PhaseR = PhaseAdmission;
        break;
    case PhaseAdmission:
        if (now.RS > 0.0f) {
            RearAdmission(s.Pr, now.RS, now.T);
        } else {
            RearExpansion(s.Pr, s.Tp, now.T);
            s.PhaseR = PhaseExpansion;
        }
        if (s.LabelR == LabelWritten) s.LabelR = LabelArmed;
        break;
    default: // expansion
        if (now.RX > 0.0f) {
            s.Qr = s.Pr;
            Exhaust(s.Pr, s.Qr);
            s.PhaseR = PhaseExhaust;
        } else {
            RearExpansion(s.Pr, s.Tp, now.T);
        }
        if (now.RS > 0.0f) s.PhaseR = PhaseAdmission;
        break;
    }
}

void RunSteamSimulation(kes::Model& m, SteamSink& sink) {
    const SettingGuard keep(m);
    SteamState st;
    // The previous openings start from whatever the last solve left.
    st.FSPrev = m.Solver.FrontSteamOpen;
    st.RSPrev = m.Solver.RearSteamOpen;
    m.DriverAngle = SteamStartAngle;

    const int count = std::clamp(m.RevArmPositionCount, 0, MaxSteamPositions);
    for (int n = 1; n <= count; ++n) {
        if (m.RevArmPositions[n] == 0.0f) continue; // a slot left unused below one in use
        m.RevArmSetting = m.RevArmPositions[n];
        ++st.PositionCounter;
        if (st.LabelF == LabelWritten) st.LabelF = LabelArmed;
        if (st.LabelR == LabelWritten) st.LabelR = LabelArmed;
        sink.PositionBegun(n, m.RevArmSetting);

        for (int s = 1; s <= SteamSamplesPerPosition; ++s) {
            // Reverse gear turns the driver backwards.
            if (m.RevArmSetting < m.MidGear()) {
                m.DriverAngle -= SteamStepAngle;
                while (m.DriverAngle < 0.0f)
                    m.DriverAngle += 360.0f;
            } else {
                m.DriverAngle += SteamStepAngle;
                while (m.DriverAngle > 360.0f)
                    m.DriverAngle -= 360.0f;
            }
            kes::SolveLinkage(m);
            kes::SolvePortOpenings(m);
            SteamSample now{m.Solver.PistonTravel640, m.Solver.FrontSteamOpen,
                            m.Solver.FrontExhaustOpen, m.Solver.RearSteamOpen,
                            m.Solver.RearExhaustOpen};
            StepFrontPhase(st, now);
            StepRearPhase(st, now);

            if (st.PfPrev != 0.0f) {
                DrawEnd(sink, st,
                        EndView{SteamEnd::Front, st.Pf, st.PfPrev, st.FSPrev, now.FS, st.PhaseF,
                                st.LabelF, layout::FrontLabelX, layout::FrontLabelY},
                        now.T, n, s);
                DrawEnd(sink, st,
                        EndView{SteamEnd::Rear, st.Pr, st.PrPrev, st.RSPrev, now.RS, st.PhaseR,
                                st.LabelR, layout::RearLabelX, layout::RearLabelY},
                        now.T, n, s);
            }

            st.Tp = now.T;
            st.PfPrev = st.Pf;
            st.PrPrev = st.Pr;
            st.FSPrev = now.FS;
            st.RSPrev = now.RS;
            sink.SampleDone(n, s, m.DriverAngle, now, st);
        }
    }
}

SteamCutOffs ComputeSteamCutOffs(kes::Model& m) {
    SteamCutOffs c;
    CutOffSink sink(c);
    RunSteamSimulation(m, sink);
    return c;
}

int CutOffRowY(int n) {
    return layout::CutOffRowSpacing * n + layout::CutOffRowTop;
}

void PaintSteamDiagram(QPainter& p, kes::Model& m, DiagramTextState& text) {
    const SettingGuard keep(m);
    PaintFrame(p);
    PaintPositionTableHeader(p, m);
    std::vector<PaintCommand> commands;
    commands.reserve(MaxCommandsPerPosition *
                     static_cast<size_t>(std::clamp(m.RevArmPositionCount, 0, MaxSteamPositions)));
    RecordingSink recorder(commands);
    RunSteamSimulation(m, recorder);
    CommandPainter painter(p, m);
    for (const PaintCommand& c : commands)
        painter.Paint(c);
    PaintDynVarBlock(p, m);
    PaintUndoLine(p, m, text);
}

} // namespace diagrams
