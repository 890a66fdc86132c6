// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/valve_events.h"

#include "analysis/root_near.h"

#include <boost/math/tools/minima.hpp>

#include <algorithm>
#include <cmath>
#include <limits>

namespace kes {

namespace {

constexpr int Samples = 360;               // one per degree of the turn
constexpr double EventTolerance = 1e-9;    // degrees
constexpr int EventPolishIterations = 100; // TOMS 748 passes per event
constexpr int ExtremumBits = std::numeric_limits<double>::digits / 2;
constexpr double RadToDeg = 180.0 / 3.14159265358979323846;

double Wrap180(double deg) {
    double d = std::fmod(deg, 360.0);
    if (d <= -180.0) d += 360.0;
    if (d > 180.0) d -= 360.0;
    return d;
}

double Wrap360(double deg) {
    double d = std::fmod(deg, 360.0);
    return d < 0.0 ? d + 360.0 : d;
}

// Which opening an event watches and which way it must cross zero.
struct EventRule {
    bool Front;
    bool Steam;
    EventKind Kind;
    bool Opens;
};
constexpr std::array<EventRule, 8> Rules{{
    {true, true, Admission, true},
    {true, true, CutOff, false},
    {true, false, Release, true},
    {true, false, Compression, false},
    {false, true, Admission, true},
    {false, true, CutOff, false},
    {false, false, Release, true},
    {false, false, Compression, false},
}};

double OpeningOf(const PortOpenings& o, const EventRule& r) {
    if (r.Front) return r.Steam ? o.FrontSteam : o.FrontExhaust;
    return r.Steam ? o.RearSteam : o.RearExhaust;
}

// The port diagram's rule: exactly 0 counts as open for an opening event and
// as closed for a closing one.
bool Crosses(bool opens, double before, double now) {
    return opens ? (now >= 0.0 && before < 0.0) : (now <= 0.0 && before > 0.0);
}

// The angle of b seen from a, in degrees.
double AngleBetween(const Vec2& a, const Vec2& b) {
    return std::atan2(a.X * b.Y - a.Y * b.X, a.X * b.X + a.Y * b.Y) * RadToDeg;
}

Vec2 Dir(const Vec2& from, const Vec2& to) {
    return {to.X - from.X, to.Y - from.Y};
}

// Tracks the swing of each link, measured from its direction at the first
// sample so that no angle wraps.
class SwingTracker {
  public:
    void Add(const PreciseSolution& s) {
        const auto& P = s.P;
        const std::array<Vec2, 4> dirs{Dir(P[RevArmRadiusPin], P[GearConRodRadiusPin]),
                                       Dir(P[EccRodFrontPin], P[BellCrankHorzPin]),
                                       Dir(P[BellCrankPivotAbs], P[BellCrankHorzPin]),
                                       Dir(P[CombLeverLowerPin], P[ValveRodFrontPin])};
        for (size_t i = 0; i < dirs.size(); ++i) {
            if (!started_) first_[i] = dirs[i];
            const double a = AngleBetween(first_[i], dirs[i]);
            lo_[i] = started_ ? std::min(lo_[i], a) : a;
            hi_[i] = started_ ? std::max(hi_[i], a) : a;
        }
        const Vec2 ecc = Dir(P[EccCrankPin], P[EccRodFrontPin]);
        ecc_ = std::max(ecc_, std::atan2(std::fabs(ecc.Y), std::fabs(ecc.X)) * RadToDeg);
        started_ = true;
    }
    LinkageSwing Result() const {
        return LinkageSwing{hi_[0] - lo_[0], hi_[1] - lo_[1], hi_[2] - lo_[2], hi_[3] - lo_[3],
                            ecc_};
    }

  private:
    bool started_ = false;
    std::array<Vec2, 4> first_{};
    std::array<double, 4> lo_{}, hi_{};
    double ecc_ = 0.0;
};

struct Sample {
    bool Ok = false;
    double ValveOffset = 0.0;
    PreciseSeed Seed;
};

class TurnSweep {
  public:
    TurnSweep(PreciseLinkage& linkage, double setting, RunDirection dir)
        : linkage_(linkage), setting_(setting), sign_(dir == RunDirection::Forward ? 1.0 : -1.0) {}

    // Crank angle of a running angle u (degrees turned from 0).
    double Theta(double u) const { return sign_ * u; }
    double Running(double theta) const { return Wrap360(sign_ * theta); }

    PreciseSolution SolveAt(double u, const std::optional<PreciseSeed>& seed) {
        return linkage_.Solve(Theta(u), setting_, seed);
    }

    void SampleTurn(TurnEvents& out) {
        SwingTracker swing;
        bool all = true;
        for (int k = 0; k < Samples; ++k) {
            std::optional<PreciseSeed> seed;
            if (k >= 2 && samples_[k - 1].Ok && samples_[k - 2].Ok) {
                const PreciseSeed& a = samples_[k - 2].Seed;
                const PreciseSeed& b = samples_[k - 1].Seed;
                seed = PreciseSeed{2.0 * b.BellCrankPinY - a.BellCrankPinY,
                                   2.0 * b.ValveRodPinY - a.ValveRodPinY, 1e-5};
            } else if (k >= 1 && samples_[k - 1].Ok) {
                seed = samples_[k - 1].Seed;
            }
            const PreciseSolution s = SolveAt(k, seed);
            Sample& smp = samples_[k];
            smp.Ok = s.Closes();
            if (smp.Ok) {
                smp.ValveOffset = s.ValveOffset;
                smp.Seed = s.Seed();
                swing.Add(s);
            } else if (all) {
                all = false;
                out.FailureDeg = Wrap360(Theta(k));
                out.Failure = s.Failure;
            }
        }
        out.Closes = all;
        if (all) out.Swing = swing.Result();
    }

    // The running angle in [u0, u0 + 1] where the rule's opening crosses zero.
    std::optional<double> Refine(const EventRule& r, int k0, double f0, double f1) {
        std::optional<PreciseSeed> seed = samples_[k0].Seed;
        bool failed = false;
        auto f = [&](double u) {
            const PreciseSolution s = SolveAt(u, seed);
            if (!s.Closes()) {
                failed = true;
                return std::numeric_limits<double>::quiet_NaN();
            }
            seed = s.Seed();
            return OpeningOf(linkage_.Openings(s.ValveOffset), r);
        };
        const std::optional<double> u = analysis_detail::PolishBracket(
            f, static_cast<double>(k0), f0, k0 + 1.0, f1, EventTolerance, EventPolishIterations);
        if (failed) return std::nullopt;
        return u;
    }

    void FindEvents(const DeadCentres& dc, TurnEvents& out) {
        const double uFront = Running(dc.FrontDeg), uRear = Running(dc.RearDeg);
        for (int k = 1; k <= Samples; ++k) {
            const Sample& a = samples_[k - 1];
            const Sample& b = samples_[k % Samples];
            if (!a.Ok || !b.Ok) continue;
            const PortOpenings oa = linkage_.Openings(a.ValveOffset);
            const PortOpenings ob = linkage_.Openings(b.ValveOffset);
            for (const EventRule& r : Rules) {
                const double fa = OpeningOf(oa, r), fb = OpeningOf(ob, r);
                if (!Crosses(r.Opens, fa, fb)) continue;
                PortEventSet& port = r.Front ? out.Front : out.Rear;
                ++port.Times[r.Kind];
                const std::optional<double> u = Refine(r, k - 1, fa, fb);
                if (!u) continue;
                const std::optional<double> x = linkage_.PistonX(Theta(*u));
                if (!x) continue;
                const double deg = Wrap180(*u - (r.Front ? uFront : uRear));
                std::optional<EventPosition>& ev = port.Event[r.Kind];
                if (ev && ev->CrankDeg <= deg) continue;
                ev = EventPosition{deg, r.Front ? dc.FrontPercent(*x) : dc.RearPercent(*x)};
            }
        }
    }

    std::optional<double> SteamOpeningAt(double theta, bool front) {
        const double u = Running(theta);
        const int near = static_cast<int>(std::lround(u)) % Samples;
        std::optional<PreciseSeed> seed;
        if (samples_[near].Ok) seed = samples_[near].Seed;
        const PreciseSolution s = linkage_.Solve(theta, setting_, seed);
        if (!s.Closes()) return std::nullopt;
        const PortOpenings o = linkage_.Openings(s.ValveOffset);
        return front ? o.FrontSteam : o.RearSteam;
    }

    // The valve offset's extreme over the turn (largest when sign is +1),
    // polished with Brent's method around the best sample.
    std::optional<double> ValveExtreme(double sign) {
        int best = 0;
        for (int k = 1; k < Samples; ++k)
            if (sign * samples_[k].ValveOffset > sign * samples_[best].ValveOffset) best = k;
        std::optional<PreciseSeed> seed = samples_[best].Seed;
        bool failed = false;
        auto f = [&](double u) {
            const PreciseSolution s = SolveAt(u, seed);
            if (!s.Closes()) {
                failed = true;
                return 0.0;
            }
            seed = s.Seed();
            return -sign * s.ValveOffset;
        };
        std::uintmax_t iter = 200;
        const auto r =
            boost::math::tools::brent_find_minima(f, best - 1.0, best + 1.0, ExtremumBits, iter);
        if (failed) return std::nullopt;
        // The sample itself is a floor: the minimiser never does worse.
        return sign * std::max(-r.second, sign * samples_[best].ValveOffset);
    }

  private:
    PreciseLinkage& linkage_;
    double setting_;
    double sign_;
    std::array<Sample, Samples> samples_{};
};

} // namespace

const char* EventKindName(EventKind k) {
    switch (k) {
    case Admission:
        return "admission";
    case CutOff:
        return "cutoff";
    case Release:
        return "release";
    case Compression:
        return "compression";
    default:
        return "";
    }
}

std::optional<double> PortEventSet::Pct(EventKind k) const {
    const auto& e = Event[static_cast<size_t>(k)];
    return e ? std::optional<double>(e->StrokePct) : std::nullopt;
}

std::optional<double> PortEventSet::Deg(EventKind k) const {
    const auto& e = Event[static_cast<size_t>(k)];
    return e ? std::optional<double>(e->CrankDeg) : std::nullopt;
}

void ComputeTurnEvents(PreciseLinkage& linkage, const std::optional<DeadCentres>& centres,
                       double setting, RunDirection dir, TurnEvents& out) {
    out = TurnEvents{};
    out.Setting = setting;
    out.Direction = dir;
    out.Centres = centres;
    TurnSweep sweep(linkage, setting, dir);
    sweep.SampleTurn(out);
    if (centres) {
        sweep.FindEvents(*centres, out);
        out.Front.Lead = sweep.SteamOpeningAt(centres->FrontDeg, true);
        out.Rear.Lead = sweep.SteamOpeningAt(centres->RearDeg, false);
    }
    if (!out.Closes) return;
    const std::optional<double> hi = sweep.ValveExtreme(1.0);
    const std::optional<double> lo = sweep.ValveExtreme(-1.0);
    if (!hi || !lo) return;
    out.MaxValveOffset = hi;
    out.MinValveOffset = lo;
    out.ValveTravel = *hi - *lo;
    // Each opening is a port edge level less or more the valve offset.
    const PortOpenings atLo = linkage.Openings(*lo), atHi = linkage.Openings(*hi);
    out.Front.MaxSteamOpening = atLo.FrontSteam;
    out.Front.MaxExhaustOpening = atHi.FrontExhaust;
    out.Rear.MaxSteamOpening = atHi.RearSteam;
    out.Rear.MaxExhaustOpening = atLo.RearExhaust;
}

TurnEvents ComputeTurnEvents(PreciseLinkage& linkage, double setting, RunDirection dir) {
    TurnEvents out;
    ComputeTurnEvents(linkage, FindDeadCentres(linkage), setting, dir, out);
    return out;
}

} // namespace kes
