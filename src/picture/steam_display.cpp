// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture/steam_display.h"

#include "model/model.h"
#include "model/rounding.h"
#include "picture/draw_constants.h"
#include "picture/paint_canvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

constexpr int64_t DotsPerPixel = 8;

int64_t DotCount(double v) {
    return std::max<int64_t>(kes::RoundHalfEven(v), 0);
}

// One axis of a dot group: positions Base + Random(Span), or Base -
// Random(Span) when Down; Random of a span of 0 or less gives 0.
struct DotAxis {
    int64_t Base = 0;
    int64_t Span = 0;
    bool Down = false;
};

// The positions of an axis that fall on the picture (0 .. limit - 1), and
// the share of all its positions they are.
struct OnPicture {
    int64_t Low = 0;
    int64_t Count = 0; // 0: none
    double Share = 0.0;
    bool Whole() const { return Share >= 1.0; }
};

OnPicture Visible(const DotAxis& a, int64_t limit) {
    const int64_t n = std::max<int64_t>(a.Span, 1);
    const int64_t lo = a.Down ? a.Base - (n - 1) : a.Base;
    const int64_t hi = a.Down ? a.Base : a.Base + (n - 1);
    const int64_t vlo = std::max<int64_t>(lo, 0), vhi = std::min<int64_t>(hi, limit - 1);
    if (vlo > vhi) return {};
    const int64_t count = vhi - vlo + 1;
    return {vlo, count, static_cast<double>(count) / static_cast<double>(n)};
}

// How many of a group's n dots to draw: those that would land on the
// picture, never more than eight for each pixel they can land on (by then
// all but a few in ten thousand are covered), nor MaxSteamGroupDots.
int64_t DotsOnPicture(int64_t n, double share, int64_t pixels) {
    if (n <= 0 || pixels <= 0) return 0;
    const double expected = static_cast<double>(n) * share;
    const int64_t k = share >= 1.0 ? n : DotCount(std::ceil(expected));
    return std::min({k, DotsPerPixel * pixels, MaxSteamGroupDots});
}

// A position on an axis: as the axis gives it while the whole axis is on
// the picture, otherwise uniform over the part that is.
int64_t Pick(DotRandom& random, const DotAxis& a, const OnPicture& v) {
    if (v.Whole()) return a.Down ? a.Base - random(a.Span) : a.Base + random(a.Span);
    return v.Low + random(v.Count);
}

struct VolumeBand {
    int Low, High;
    uint32_t Value;
};
constexpr std::array<VolumeBand, 8> VolumeTable{{
    {24, 100, 0x07000700u},
    {101, 200, 0x14001400u},
    {201, 400, 0x28002800u},
    {401, 600, 0x40004000u},
    {601, 800, 0x50005000u},
    {801, 1000, 0x60006000u},
    {1001, 1200, 0x70007000u},
    {1201, 2001, 0x80008000u},
}};

} // namespace

std::optional<uint32_t> BeatVolume(int v) {
    for (const VolumeBand& b : VolumeTable)
        if (v >= b.Low && v <= b.High) return b.Value;
    return std::nullopt;
}

int64_t SpanGuard(int64_t span, const kes::Model& m, FrameOutcome& out) {
    if (span != 0) return span;
    if (m.BeepOnError) ++out.Beeps;
    return 1;
}

int64_t DotRandom::operator()(int64_t n) {
    // xorshift32: plenty for scattering dots.
    uint32_t x = state_;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    state_ = x;
    if (n <= 0) return 0;
    if (n > 0xFFFFFFFFLL) n = 0xFFFFFFFFLL;
    return static_cast<int64_t>((static_cast<uint64_t>(x) * static_cast<uint64_t>(n)) >> 32);
}

void UpdateSteamPhase(float steamOpen, float exhaustOpen, char& phase, QRgb& c) {
    if (steamOpen > 0) {
        phase = 'E';
        c = drawk::Admission;
    } else if (phase == 'E') {
        c = drawk::Expansion;
    }
    if (exhaustOpen > 0) {
        phase = 'C';
        c = drawk::Exhaust;
    } else if (phase == 'C') {
        c = drawk::Compression;
    }
}

void UpdateSteamPressure(float& pressure, QRgb c, float stepAngle, float steamOpen,
                         float exhaustOpen) {
    if (c == drawk::Admission) pressure += stepAngle * drawk::AdmissionRate * (steamOpen + 0.1f);
    if (c == drawk::Exhaust) pressure -= stepAngle * drawk::ExhaustRate * exhaustOpen;
    if (!(pressure >= drawk::PressureMin)) pressure = drawk::PressureMin; // NaN too
    if (pressure > drawk::PressureMax) pressure = drawk::PressureMax;
}

void UpdateExhaustBeats(const kes::Model& m, DrawState& s, FrameOutcome& out) {
    const auto& sol = m.Solver;
    auto fire = [&](std::optional<uint32_t> volume) {
        if (out.BeatCount < static_cast<int>(out.Beats.size()))
            out.Beats[static_cast<size_t>(out.BeatCount++)].Volume = volume;
    };
    if (sol.FrontExhaustOpen < 0 && m.HighlightedDimension == 0) s.FrontBeatArmed = true;
    if (sol.FrontExhaustOpen > 0 && s.FrontBeatArmed) {
        s.FrontBeatArmed = false;
        s.FrontBeatPressure = s.FrontSteamPressure;
        fire(BeatVolume(kes::RoundHalfEven(s.RearBeatPressure)));
    }
    if (sol.RearExhaustOpen < 0 && m.HighlightedDimension == 0) s.RearBeatArmed = true;
    if (sol.RearExhaustOpen > 0 && s.RearBeatArmed) {
        s.RearBeatArmed = false;
        s.RearBeatPressure = s.RearSteamPressure;
        fire(BeatVolume(kes::RoundHalfEven(s.FrontBeatPressure)));
    }
}

void DrawSteam(Canvas& canvas, const kes::Model& m, DrawState& s, FrameOutcome& out, QRgb& c) {
    const auto& cyl = s.Outlines.Cylinder;
    const auto& port = s.Outlines.Port;
    const auto& pis = s.Outlines.Piston;
    const auto& val = s.Outlines.Valve;
    const auto& sol = m.Solver;
    const double scale = m.CurrentView.Scale;
    const int64_t sy4 = m.Points[kes::ValveStemJoint].SY;
    DotRandom random(s.RandomState);
    auto X = [](const QPoint& p) { return int64_t{p.x()}; };
    auto Y = [](const QPoint& p) { return int64_t{p.y()}; };
    auto dot = [&](int64_t x, int64_t y) {
        if (x >= 0 && y >= 0 && x < drawk::ImageWidth && y < drawk::ImageHeight)
            canvas.Dot(static_cast<int>(x), static_cast<int>(y));
    };
    // n dots over a box: x on one axis, y on the other.
    auto box = [&](int64_t n, DotAxis ax, DotAxis ay) {
        const OnPicture vx = Visible(ax, drawk::ImageWidth), vy = Visible(ay, drawk::ImageHeight);
        const int64_t k = DotsOnPicture(n, vx.Share * vy.Share, vx.Count * vy.Count);
        for (int64_t i = 0; i < k; ++i) {
            const int64_t x = Pick(random, ax, vx);
            dot(x, Pick(random, ay, vy));
        }
    };
    // n dots whose x follows their height r on the y axis (a passage or the
    // plume); xLow..xHigh bounds every x the group can give.
    auto slanted = [&](int64_t n, DotAxis ay, int64_t xLow, int64_t xHigh, auto xAt) {
        const OnPicture vy = Visible(ay, drawk::ImageHeight);
        const OnPicture vx = Visible({xLow, xHigh - xLow + 1, false}, drawk::ImageWidth);
        const int64_t k = DotsOnPicture(n, vy.Share, vx.Count * vy.Count);
        for (int64_t i = 0; i < k; ++i) {
            const int64_t y = Pick(random, ay, vy);
            dot(xAt(ay.Down ? ay.Base - y : y - ay.Base), y);
        }
    };

    // Live steam in the chest, round the valve.
    const int64_t chestTop = DotCount(drawk::ChestTopDots * scale);
    const int64_t chest = DotCount(drawk::ChestDots * scale);
    box(chestTop, {X(cyl[0]), X(cyl[13]) - X(cyl[0])}, {Y(cyl[0]), Y(cyl[2]) - sy4, true});
    box(chest, {X(cyl[1]), X(cyl[12]) - X(cyl[1])}, {Y(cyl[0]), Y(val[0]) - Y(cyl[0])});
    if (cyl[1].x() < val[0].x())
        box(chest, {X(cyl[1]), X(val[0]) - X(cyl[1])}, {Y(val[0]), Y(cyl[2]) - Y(val[0])});
    if (val[1].x() < cyl[12].x())
        box(chest, {X(val[1]), X(cyl[12]) - X(val[1])}, {Y(val[0]), Y(cyl[2]) - Y(val[0])});
    canvas.FlushDots(drawk::Admission);

    const DotAxis bore{Y(cyl[5]), Y(cyl[6]) - Y(cyl[5])};
    const int64_t passage = Y(cyl[5]) - Y(port[2]);
    const DotAxis passageAxis{Y(port[2]), passage};
    // The passage's x moves across it by dx as r goes from 0 to its span;
    // on top comes +-Random(spread).
    auto passageDots = [&](int64_t count, int64_t x0, int64_t dx, int64_t spread, bool back) {
        if (count <= 0) return;
        const double h = static_cast<double>(SpanGuard(passage, m, out));
        const int64_t reach = std::max<int64_t>(spread - 1, 0);
        const int64_t lo = x0 + std::min<int64_t>(dx, 0) - (back ? reach : 0);
        const int64_t hi = x0 + std::max<int64_t>(dx, 0) + (back ? 0 : reach);
        slanted(count, passageAxis, lo, hi, [&](int64_t r) {
            const int64_t along =
                kes::RoundHalfEven(static_cast<double>(dx) * (static_cast<double>(r) / h));
            const int64_t jitter = random(spread);
            return x0 + along + (back ? -jitter : jitter);
        });
    };

    // Front end.
    UpdateSteamPhase(sol.FrontSteamOpen, sol.FrontExhaustOpen, s.FrontPhase, c);
    UpdateSteamPressure(s.FrontSteamPressure, c, m.StepAngle, sol.FrontSteamOpen,
                        sol.FrontExhaustOpen);
    const int64_t n = DotCount(s.FrontSteamPressure * scale / drawk::PressureToDots);
    if (pis[4].x() < cyl[7].x()) box(n, {X(pis[4]), X(cyl[7]) - X(pis[4])}, bore);
    passageDots(n / 8, X(port[5]), X(port[4]) - X(port[5]), X(cyl[8]) - X(port[4]), false);
    box(n / 20, {X(port[6]), X(cyl[10]) - X(port[6])}, {Y(cyl[2]), Y(port[5]) - Y(cyl[2])});
    canvas.FlushDots(c);

    // Rear end; c carries over from the front while the rear has no phase yet.
    UpdateSteamPhase(sol.RearSteamOpen, sol.RearExhaustOpen, s.RearPhase, c);
    UpdateSteamPressure(s.RearSteamPressure, c, m.StepAngle, sol.RearSteamOpen,
                        sol.RearExhaustOpen);
    const int64_t mm = DotCount(s.RearSteamPressure * scale / drawk::PressureToDots);
    if (cyl[5].x() < pis[1].x()) box(mm, {X(cyl[5]), X(pis[1]) - X(cyl[5])}, bore);
    passageDots(mm / 8, X(port[2]), X(port[3]) - X(port[2]), X(port[3]) - X(cyl[5]), true);
    box(mm / 20, {X(cyl[3]), X(port[1]) - X(cyl[3])}, {Y(cyl[2]), Y(port[2]) - Y(cyl[2])});
    canvas.FlushDots(c);

    // Exhaust of each end: blue while its exhaust is open, otherwise white,
    // which clears the passage of the last frame's blue.
    const std::array<std::pair<int64_t, bool>, 2> ends{
        {{n, sol.FrontExhaustOpen > 0}, {mm, sol.RearExhaustOpen > 0}}};
    const int64_t chestHeight = Y(cyl[2]) - Y(cyl[0]);
    for (const auto& [k, open] : ends) {
        c = open ? drawk::Exhaust : drawk::White;
        box(k / 10, {X(val[5]), X(val[3]) - X(val[5])}, {Y(val[4]), Y(cyl[2]) - Y(val[4])});
        box(k / 15, {X(port[0]), X(port[7]) - X(port[0])}, {Y(cyl[2]), Y(cyl[2]) - sy4});
        box(k / 20, {X(cyl[13]), X(cyl[13]) - X(cyl[0])}, {Y(cyl[0]), chestHeight, true});
        if (k / 6 > 0) {
            // The plume widens with its height r above the chest, by w for
            // every chest height.
            const double hh = static_cast<double>(SpanGuard(chestHeight, m, out));
            const double w = static_cast<double>(X(cyl[13]) - X(cyl[0]));
            const DotAxis rise{2 * Y(cyl[0]) - Y(cyl[2]), 3 * chestHeight, true};
            const double widest = std::fabs(w) *
                                  static_cast<double>(std::max<int64_t>(rise.Span - 1, 0)) /
                                  std::fabs(hh);
            const double x6 = static_cast<double>(X(port[6]));
            const double bound = static_cast<double>(std::numeric_limits<int32_t>::max());
            const auto lo = static_cast<int64_t>(std::max(x6 - widest - 1.0, -bound));
            const auto hi = static_cast<int64_t>(std::min(x6 + widest + 1.0, bound));
            slanted(k / 6, rise, lo, hi, [&](int64_t r) {
                const double f = static_cast<double>(r) / hh;
                const double x =
                    static_cast<double>(random(kes::RoundHalfEven(w * f * 2.0))) + x6 - w * f;
                return int64_t{kes::RoundHalfEven(x)};
            });
        }
        canvas.FlushDots(c);
    }

    if (m.ScreenDataOn) {
        const QPoint at = cyl[6];
        canvas.SetFontColor(drawk::Admission);
        canvas.Text(at + drawk::LegendAdmissionAt, drawk::LegendAdmission);
        canvas.SetFontColor(drawk::Expansion);
        canvas.Text(at + drawk::LegendExpansionAt, drawk::LegendExpansion);
        canvas.SetFontColor(drawk::Exhaust);
        canvas.Text(at + drawk::LegendExhaustAt, drawk::LegendExhaust);
        canvas.SetFontColor(drawk::Compression);
        canvas.Text(at + drawk::LegendCompressionAt, drawk::LegendCompression);
        canvas.SetFontColor(drawk::Black);
    }

    UpdateExhaustBeats(m, s, out);
}
