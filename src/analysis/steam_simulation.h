// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The steam (indicator) simulation: the pressure in each end of the
// cylinder against the piston's travel, stepped forward sample by sample by
// a four-phase model (exhaust, compression, admission, expansion) that the
// port openings drive, with the cut-off of each end for every reverse-arm
// position. The simulation reports to a sink in travel and pressure, so the
// steam diagram, the cut-off table of the command line and the tests share
// one run.

#include <array>

namespace kes {
struct Mechanism;
}

namespace analysis {

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

// The pressure model, in plot units of pressure and stroke units of travel.
namespace steam {
// Exhaust: each sample lets out a fifteenth of the pressure at release, down
// to the back pressure.
inline constexpr double ExhaustSamples = 15.0;
inline constexpr float BackPressure = 5.0f;
// Compression: the pressure rises by (travel ratio + 0.3) to the fourth; the
// 1 keeps the ratio finite at the dead centre.
inline constexpr double CompressionRise = 0.3;
inline constexpr double CompressionGuard = 1.0;
// Admission: each sample admits steam in proportion to the port opening,
// into the swept volume plus a clearance of 45 stroke units, up to the
// boiler pressure. A port just opening admits at least a little.
inline constexpr double AdmissionGain = 100000.0;
inline constexpr double AdmissionClearance = 45.0;
inline constexpr float BoilerPressure = 303.0f;
inline constexpr float LeastAdmittingOpening = 0.005f;
// Expansion: the pressure falls with the volume (swept plus 100 stroke
// units) and loses 4 % a sample to the cylinder walls.
inline constexpr double ExpansionClearance = 100.0;
inline constexpr double ExpansionKept = 0.96;
// The bold position label is written in expansion within this band.
inline constexpr float LabelPressureLow = 150.0f;
inline constexpr float LabelPressureHigh = 250.0f;
} // namespace steam

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

// Receives the run. Lines are reported only for the drawn samples (after
// the settling ones); cut-offs and labels for every sample.
class SteamSink {
  public:
    virtual ~SteamSink() = default;
    // Position n (1 .. 9) begins at this reverse-arm setting.
    virtual void PositionBegun(int /*n*/, float /*setting*/) {}
    // The pressure line of one sample: from (travel, pressure) of the
    // previous sample to this one's.
    virtual void PressureStep(SteamEnd, float /*fromTravel*/, float /*fromPressure*/,
                              float /*toTravel*/, float /*pressure*/) {}
    // The level line to the cut-off: at the previous sample's pressure from
    // its travel, the fraction u of the way to this sample's travel.
    virtual void CutOffLevel(SteamEnd, float /*fromTravel*/, float /*toTravel*/, double /*u*/,
                             float /*pressure*/) {}
    // A cut-off of position n, in percent of the stroke from that end's dead
    // centre. A later one overwrites an earlier one of the same position.
    virtual void CutOff(SteamEnd, int /*n*/, float /*percent*/) {}
    // The bold position label is due, at the travel where the line starts.
    virtual void LabelDue(SteamEnd, int /*counter*/, float /*travel*/) {}
    // After each sample s (1 .. 150) of position n: the state as the next
    // sample will find it (Tp is this sample's travel).
    virtual void SampleDone(int /*n*/, int /*s*/, float /*driverAngle*/, const SteamSample&,
                            const SteamState&) {}
};

// Runs the whole simulation over positions 1 .. RevArmPositionCount (at most
// 9). RevArmSetting and DriverAngle are put back afterwards; nothing is
// allocated.
void RunSteamSimulation(kes::Mechanism& m, SteamSink& sink);

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
SteamCutOffs ComputeSteamCutOffs(kes::Mechanism& m);

} // namespace analysis
