#pragma once
// The steam (indicator) diagram: the pressure in each end of the cylinder
// against the piston's travel, stepped forward sample by sample by a
// four-phase model (exhaust, compression, admission, expansion) that the port
// openings drive, with the cut-off of each end for every reverse-arm
// position. The simulation reports to a sink, so the painting, the cut-off
// table of the command line and the tests share one run.

#include <QSize>

#include <array>

class QPainter;
struct DiagramTextState;

namespace kes {
struct Model;
}

namespace diagrams {

inline constexpr QSize SteamClientSize{632, 414};

enum class SteamEnd { Front, Rear };

// Phases of each end.
constexpr char PhaseExhaust = '1';
constexpr char PhaseCompression = '2';
constexpr char PhaseAdmission = '3';
constexpr char PhaseExpansion = '4';
// The bold position label: armed, or written in this admission.
constexpr char LabelArmed = '1';
constexpr char LabelWritten = '2';

constexpr int SteamSamplesPerPosition = 150; // 600 degrees of driver rotation
constexpr int SteamSettlingSamples = 60;     // the first 240 degrees are not drawn
constexpr float SteamStepAngle = 4.0f;
constexpr float SteamStartAngle = 96.0f;
constexpr int MaxSteamPositions = 9;

// The simulation state, set up once per drawing and carried on from one
// position to the next. Pressures are in plot units (5 .. 303 once running),
// travels 0 .. 640 from the front dead centre.
struct SteamState {
    float Pf = 0, Pr = 0;         // pressure in the front and the rear end
    float PfPrev = 0, PrPrev = 0; // of the previous sample
    float Qf = 0, Qr = 0;         // pressure at the last release
    char PhaseF = PhaseExhaust, PhaseR = PhaseAdmission;
    float Tp = 0;                 // travel of the previous sample
    float FSPrev = 0, RSPrev = 0; // steam openings of the previous sample
    char LabelF = LabelArmed, LabelR = LabelArmed;
    int PositionCounter = 0;
};

// One sample's reading of the solver.
struct SteamSample {
    float T = 0;          // piston travel
    float FS = 0, FX = 0; // front steam and exhaust openings
    float RS = 0, RX = 0; // rear
};

// The pressure steps and the phase machine of one end, exposed for tests.
// Each changes the state as one sample of the drawing does.
void StepFrontPhase(SteamState& s, SteamSample& now);
void StepRearPhase(SteamState& s, SteamSample& now);

class SteamSink {
  public:
    virtual ~SteamSink() = default;
    // Position n (1 .. 9) begins at this reverse-arm setting.
    virtual void PositionBegun(int /*n*/, float /*setting*/) {}
    // A pressure line, in client pixels.
    virtual void PressureLine(SteamEnd, int /*x1*/, int /*y1*/, int /*x2*/, int /*y2*/) {}
    // A cut-off of position n, in percent of the stroke from that end's dead
    // centre. A later one overwrites an earlier one of the same position.
    virtual void CutOff(SteamEnd, int /*n*/, float /*percent*/) {}
    // The bold position label at (x, y).
    virtual void PositionLabel(SteamEnd, int /*counter*/, int /*x*/, int /*y*/) {}
    // After each sample s (1 .. 150) of position n: the state as the next
    // sample will find it (Tp is this sample's travel).
    virtual void SampleDone(int /*n*/, int /*s*/, float /*driverAngle*/, const SteamSample&,
                            const SteamState&) {}
};

// Runs the whole simulation over positions 1 .. RevArmPositionCount (at most
// 9). RevArmSetting and DriverAngle are put back afterwards; nothing is
// allocated.
void RunSteamSimulation(kes::Model& m, SteamSink& sink);

// The cut-off list as the window finally shows it: the last cut-off written
// for each position and end.
struct SteamCutOffs {
    int PositionCount = 0;
    std::array<float, MaxSteamPositions + 1> Setting{}; // 1 .. PositionCount used
    std::array<float, MaxSteamPositions + 1> Front{};
    std::array<float, MaxSteamPositions + 1> Rear{};
    std::array<bool, MaxSteamPositions + 1> FrontFound{};
    std::array<bool, MaxSteamPositions + 1> RearFound{};
};
SteamCutOffs ComputeSteamCutOffs(kes::Model& m);

// Where the n-th row of the cut-off lists stands.
int CutOffRowY(int n);

// One whole drawing over what the painter holds.
void PaintSteamDiagram(QPainter& p, kes::Model& m, DiagramTextState& text);

} // namespace diagrams
