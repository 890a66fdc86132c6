// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/cutoff_settings.h"

#include "analysis/root_near.h"
#include "analysis/valve_events.h"

#include <array>
#include <cmath>
#include <limits>

namespace kes {

namespace {

constexpr int ScanSteps = 8;              // mid gear to the largest offset
constexpr double SettingTolerance = 1e-9; // length units
constexpr int SettingPolishIterations = 60;

enum class Which { Front, Rear, Mean };

std::optional<double> CutOffOf(const TurnEvents& t, Which w) {
    const std::optional<double> f = t.Front.Pct(CutOff), r = t.Rear.Pct(CutOff);
    switch (w) {
    case Which::Front:
        return f;
    case Which::Rear:
        return r;
    case Which::Mean:
        if (f && r) return (*f + *r) / 2.0;
        return std::nullopt;
    }
    return std::nullopt;
}

// The cut-offs at evenly spaced offsets from mid gear to the largest.
struct Scan {
    std::array<double, ScanSteps + 1> Offset{};
    std::array<std::optional<double>, ScanSteps + 1> Front{}, Rear{};
};

std::optional<double> Pick(const std::optional<double>& f, const std::optional<double>& r,
                           Which w) {
    if (w == Which::Front) return f;
    if (w == Which::Rear) return r;
    if (f && r) return (*f + *r) / 2.0;
    return std::nullopt;
}

class SideSolver {
  public:
    SideSolver(PreciseLinkage& linkage, const std::optional<DeadCentres>& dc, double mid,
               double maxOffset, RunDirection dir)
        : linkage_(linkage), dc_(dc), mid_(mid), dir_(dir),
          sign_(dir == RunDirection::Forward ? 1.0 : -1.0) {
        for (int i = 0; i <= ScanSteps; ++i) {
            scan_.Offset[i] = maxOffset * i / ScanSteps;
            ComputeTurnEvents(linkage_, dc_, Setting(scan_.Offset[i]), dir_, turn_);
            scan_.Front[i] = turn_.Front.Pct(CutOff);
            scan_.Rear[i] = turn_.Rear.Pct(CutOff);
        }
    }

    // The first offset, going out from mid gear, whose cut-off is wanted.
    std::optional<double> Solve(double wanted, Which w) {
        bool failed = false;
        auto gap = [&](double offset) {
            ComputeTurnEvents(linkage_, dc_, Setting(offset), dir_, turn_);
            const std::optional<double> c = CutOffOf(turn_, w);
            if (!c) {
                failed = true;
                return std::numeric_limits<double>::quiet_NaN();
            }
            return *c - wanted;
        };
        for (int i = 0; i <= ScanSteps; ++i) {
            const std::optional<double> now = Pick(scan_.Front[i], scan_.Rear[i], w);
            if (!now) continue;
            if (*now == wanted) return Setting(scan_.Offset[i]);
            if (i == 0) continue;
            const std::optional<double> before = Pick(scan_.Front[i - 1], scan_.Rear[i - 1], w);
            if (!before || !analysis_detail::SignsDiffer(*before - wanted, *now - wanted)) continue;
            const std::optional<double> root = analysis_detail::PolishBracket(
                gap, scan_.Offset[i - 1], *before - wanted, scan_.Offset[i], *now - wanted,
                SettingTolerance, SettingPolishIterations);
            if (!root || failed) return std::nullopt;
            return Setting(*root);
        }
        return std::nullopt;
    }

  private:
    double Setting(double offset) const { return mid_ + sign_ * offset; }

    PreciseLinkage& linkage_;
    const std::optional<DeadCentres>& dc_;
    double mid_;
    RunDirection dir_;
    double sign_;
    Scan scan_;
    TurnEvents turn_;
};

CutOffSide Side(PreciseLinkage& linkage, const std::optional<DeadCentres>& dc, double mid,
                double maxOffset, double wanted, RunDirection dir) {
    SideSolver solver(linkage, dc, mid, maxOffset, dir);
    return CutOffSide{solver.Solve(wanted, Which::Front), solver.Solve(wanted, Which::Rear),
                      solver.Solve(wanted, Which::Mean)};
}

} // namespace

CutOffSettings FindCutOffSettings(PreciseLinkage& linkage,
                                  const std::optional<DeadCentres>& centres, double midGear,
                                  double maxOffset, double wantedPct) {
    CutOffSettings out;
    out.WantedPct = wantedPct;
    if (!std::isfinite(wantedPct) || !std::isfinite(maxOffset) || !(maxOffset > 0.0)) return out;
    out.Forward = Side(linkage, centres, midGear, maxOffset, wantedPct, RunDirection::Forward);
    out.Reverse = Side(linkage, centres, midGear, maxOffset, wantedPct, RunDirection::Reverse);
    return out;
}

std::optional<double> FindMeanCutOffSetting(PreciseLinkage& linkage,
                                            const std::optional<DeadCentres>& centres,
                                            double midGear, double maxOffset, double wantedPct,
                                            RunDirection dir) {
    if (!std::isfinite(wantedPct) || !std::isfinite(maxOffset) || !(maxOffset > 0.0))
        return std::nullopt;
    SideSolver solver(linkage, centres, midGear, maxOffset, dir);
    return solver.Solve(wantedPct, Which::Mean);
}

} // namespace kes
