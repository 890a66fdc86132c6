// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/steam_simulation.h"

#include "analysis/setting_guard.h"
#include "analysis/stroke_scale.h"
#include "model/model.h"
#include "model/solver.h"

#include <algorithm>

namespace analysis {

namespace {

using namespace steam;

float F(double v) {
    return static_cast<float>(v);
}

// The pressure steps. T and Tp are this and the previous sample's travel.
void Exhaust(float& p, float q) {
    p = F(p - q / ExhaustSamples);
    if (p < BackPressure) p = BackPressure;
}
void FrontCompression(float& p, float Tp, float T) {
    const double q = Tp / (T + CompressionGuard) + CompressionRise;
    p = F(p + q * q * q * q);
}
void RearCompression(float& p, float Tp, float T) {
    const double q = (StrokeUnits - Tp) / (StrokeUnits + CompressionGuard - T) + CompressionRise;
    p = F(p + q * q * q * q);
}
// The raised opening is also what the next sample sees as the previous one.
void FrontAdmission(float& p, float& fs, float T) {
    if (fs < LeastAdmittingOpening) fs = LeastAdmittingOpening;
    p = F(p + fs * AdmissionGain / (T + AdmissionClearance));
    if (p > BoilerPressure) p = BoilerPressure;
}
void RearAdmission(float& p, float& rs, float T) {
    if (rs < LeastAdmittingOpening) rs = LeastAdmittingOpening;
    p = F(p + rs * AdmissionGain / (StrokeUnits + AdmissionClearance - T));
    if (p > BoilerPressure) p = BoilerPressure;
}
void FrontExpansion(float& p, float Tp, float T) {
    p = F((Tp + ExpansionClearance) * p / (T + ExpansionClearance) * ExpansionKept);
}
void RearExpansion(float& p, float Tp, float T) {
    constexpr double rearEnd = StrokeUnits + ExpansionClearance;
    p = F((rearEnd - Tp) * p / (rearEnd - T) * ExpansionKept);
}

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

// Everything that differs between the two ends after the sample's step.
struct EndView {
    SteamEnd End;
    float& P;
    float PPrev;
    float OpenPrev;
    float Open;
    char Phase;
    char& Label;
};

// What one sample reports for one end: the cut-off (which moves the
// previous travel and pressure to the interpolated closing point), the
// pressure line and the bold label.
void ReportEnd(SteamSink& sink, SteamState& st, const EndView& v, float T, int n, int s) {
    const bool drawn = s > SteamSettlingSamples;
    if (v.OpenPrev > 0.0f && v.Open <= 0.0f) {
        const double u = v.OpenPrev / (static_cast<double>(v.OpenPrev) - v.Open);
        if (drawn) sink.CutOffLevel(v.End, st.Tp, T, u, v.PPrev);
        st.Tp = F(st.Tp + (T - st.Tp) * u);
        v.P = F(v.P - u * (v.P - v.PPrev));
        const double percent = v.End == SteamEnd::Front ? FrontPercent(st.Tp) : RearPercent(st.Tp);
        sink.CutOff(v.End, n, F(percent));
    }
    if (drawn) sink.PressureStep(v.End, st.Tp, v.PPrev, T, v.P);
    if (v.Phase == PhaseExpansion && v.P > LabelPressureLow && v.P < LabelPressureHigh &&
        v.Label == LabelArmed) {
        v.Label = LabelWritten;
        sink.LabelDue(v.End, st.PositionCounter, st.Tp);
    }
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

void RunSteamSimulation(kes::Mechanism& m, SteamSink& sink) {
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
                ReportEnd(sink, st,
                          EndView{SteamEnd::Front, st.Pf, st.PfPrev, st.FSPrev, now.FS, st.PhaseF,
                                  st.LabelF},
                          now.T, n, s);
                ReportEnd(sink, st,
                          EndView{SteamEnd::Rear, st.Pr, st.PrPrev, st.RSPrev, now.RS, st.PhaseR,
                                  st.LabelR},
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

SteamCutOffs ComputeSteamCutOffs(kes::Mechanism& m) {
    SteamCutOffs c;
    CutOffSink sink(c);
    RunSteamSimulation(m, sink);
    return c;
}

} // namespace analysis
