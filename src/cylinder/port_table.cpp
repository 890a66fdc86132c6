// SPDX-License-Identifier: GPL-3.0-or-later
#include "cylinder/port_table.h"

#include <cmath>
#include <numbers>

namespace kes {

namespace {

constexpr double StepDeg = 360.0 / PortTable::Samples;

// Where a sampled value turns from open (> 0) to shut or back, as a
// fraction of a step past sample i.
double Crossing(double a, double b) {
    return a == b ? 0.0 : a / (a - b);
}

// The piston position of the first crossing from sample `from` on.
std::optional<double> FirstCrossingX(const PortTable& t, int from,
                                     double (*value)(const PortSample&), bool rising) {
    for (int n = 0; n < PortTable::Samples; ++n) {
        const int i = (from + n) % PortTable::Samples;
        const int j = (i + 1) % PortTable::Samples;
        const double a = value(t.At[i]), b = value(t.At[j]);
        const bool hit = rising ? (a < 0.0 && b >= 0.0) : (a > 0.0 && b <= 0.0);
        if (hit) {
            const double f = Crossing(a, b);
            return t.At[i].PistonX + f * (t.At[j].PistonX - t.At[i].PistonX);
        }
    }
    return std::nullopt;
}

int RearDeadCentreSample(const PortTable& t) {
    int best = 0;
    for (int i = 1; i < PortTable::Samples; ++i)
        if (t.At[i].PistonX < t.At[best].PistonX) best = i;
    return best;
}

} // namespace

std::optional<PortTable> GearPortTable(PreciseLinkage& linkage, double setting, RunDirection dir,
                                       double metresPerUnit, std::string& why) {
    const std::optional<DeadCentres> dc = FindDeadCentres(linkage);
    if (!dc) {
        why = "the main rod cannot reach the cylinder line";
        return std::nullopt;
    }
    PortTable t;
    t.FrontDeadCentreDeg = dc->FrontDeg;
    t.XMax = dc->XMax * metresPerUnit;
    t.XMin = dc->XMin * metresPerUnit;
    t.FrontPortWidth = linkage.FrontSteamPortWidth() * metresPerUnit;
    t.RearPortWidth = linkage.RearSteamPortWidth() * metresPerUnit;
    const double sign = dir == RunDirection::Forward ? 1.0 : -1.0;
    std::optional<PreciseSeed> seed;
    for (int i = 0; i < PortTable::Samples; ++i) {
        const double theta = dc->FrontDeg + sign * StepDeg * i;
        const PreciseSolution s = linkage.Solve(theta, setting, seed);
        if (!s.Closes()) {
            why = std::string(ClosureFailureText(s.Failure)) + " at crank angle " +
                  std::to_string(static_cast<int>(std::lround(std::fmod(theta + 720.0, 360.0))));
            return std::nullopt;
        }
        seed = s.Seed();
        const PortOpenings o = linkage.Openings(s.ValveOffset);
        PortSample& p = t.At[i];
        p.PistonX = s.PistonX * metresPerUnit;
        p.FrontSteam = o.FrontSteam * metresPerUnit;
        p.FrontExhaust = o.FrontExhaust * metresPerUnit;
        p.RearSteam = o.RearSteam * metresPerUnit;
        p.RearExhaust = o.RearExhaust * metresPerUnit;
    }
    return t;
}

PortTable InstantEventsTable(double stroke, double rodRatio, double width, double cutOff,
                             double release, double compression) {
    PortTable t;
    const double r = stroke / 2.0, l = rodRatio * stroke;
    t.XMax = r + l;
    t.XMin = l - r;
    t.FrontPortWidth = t.RearPortWidth = width;
    // Half a step between samples puts each event on a sample boundary's
    // interpolation without bias.
    for (int i = 0; i < PortTable::Samples; ++i) {
        const double th = StepDeg * i * std::numbers::pi / 180.0;
        const double x = r * std::cos(th) + std::sqrt(l * l - r * r * std::sin(th) * std::sin(th));
        const double front = (t.XMax - x) / stroke; // from the front dead centre
        const double rear = (x - t.XMin) / stroke;
        const bool outward = i < PortTable::Samples / 2; // piston leaving the front
        PortSample& p = t.At[i];
        p.PistonX = x;
        const double open = 10.0 * width, shut = -10.0 * width;
        p.FrontSteam = outward && front < cutOff ? open : shut;
        p.FrontExhaust =
            (outward && front >= release) || (!outward && front > compression) ? open : shut;
        p.RearSteam = !outward && rear < cutOff ? open : shut;
        p.RearExhaust =
            (!outward && rear >= release) || (outward && rear > compression) ? open : shut;
    }
    return t;
}

CardEvents FrontEvents(const PortTable& t) {
    const auto pct = [&](const std::optional<double>& x) -> std::optional<double> {
        if (!x) return std::nullopt;
        return (t.XMax - *x) / t.Stroke() * 100.0;
    };
    const auto steam = [](const PortSample& s) { return s.FrontSteam; };
    const auto exhaust = [](const PortSample& s) { return s.FrontExhaust; };
    CardEvents e;
    e.CutOffPct = pct(FirstCrossingX(t, 0, steam, false));
    e.ReleasePct = pct(FirstCrossingX(t, 0, exhaust, true));
    e.CompressionPct = pct(FirstCrossingX(t, RearDeadCentreSample(t), exhaust, false));
    return e;
}

CardEvents RearEvents(const PortTable& t) {
    const auto pct = [&](const std::optional<double>& x) -> std::optional<double> {
        if (!x) return std::nullopt;
        return (*x - t.XMin) / t.Stroke() * 100.0;
    };
    const auto steam = [](const PortSample& s) { return s.RearSteam; };
    const auto exhaust = [](const PortSample& s) { return s.RearExhaust; };
    const int rdc = RearDeadCentreSample(t);
    CardEvents e;
    e.CutOffPct = pct(FirstCrossingX(t, rdc, steam, false));
    e.ReleasePct = pct(FirstCrossingX(t, rdc, exhaust, true));
    e.CompressionPct = pct(FirstCrossingX(t, 0, exhaust, false));
    return e;
}

} // namespace kes
