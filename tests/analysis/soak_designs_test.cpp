// SPDX-License-Identifier: GPL-3.0-or-later
// Ten thousand random and extreme designs through mid gear, a solve over a
// turn and the precise events report: nothing crashes or hangs, no number
// of mid gear or the report is NaN (one that cannot be computed is absent
// instead), and a solve whose points are not numbers says it failed.

#include "analysis/events_report.h"
#include "model/dimensions.h"
#include "model/mid_gear.h"
#include "model/model.h"
#include "model/solver.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int DesignCount = 10000;
constexpr float Inf = std::numeric_limits<float>::infinity();
constexpr float Big = std::numeric_limits<float>::max();

// Values a file or a typing user can hand the model.
constexpr std::array<float, 14> Extremes{
    0.0f, -0.0f, 1e-30f, -1.0f, 1e38f, -1e38f, Big,
    -Big, Inf,   -Inf,   1e6f,  -1e6f, 1e-6f,  std::numeric_limits<float>::quiet_NaN()};

std::vector<int> DimensionIds() {
    std::vector<int> ids;
    for (int id = 1; id <= 130; ++id)
        if (kes::IsDimensionId(id)) ids.push_back(id);
    return ids;
}

// A design from seed k: the factory gear with some dimensions scaled a
// little, some a lot, and some replaced by extreme values.
kes::Model Design(int k, const std::vector<int>& ids) {
    std::mt19937 gen(static_cast<unsigned>(k) * 2654435761u);
    kes::Model m;
    kes::InitialiseModel(m);
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_real_distribution<float> near(0.7f, 1.3f), far(-20.0f, 20.0f);
    std::uniform_int_distribution<size_t> extreme(0, Extremes.size() - 1);
    // Most designs change a few dimensions; every tenth changes them all.
    const double rate = k % 10 == 0 ? 1.0 : 0.15;
    std::bernoulli_distribution changes(rate);
    for (int id : ids) {
        if (!changes(gen)) continue;
        const float v = kes::GetDimension(m, id);
        const int how = kind(gen);
        if (how < 6)
            kes::SetDimension(m, id, v * near(gen));
        else if (how < 8)
            kes::SetDimension(m, id, far(gen));
        else
            kes::SetDimension(m, id, Extremes[extreme(gen)]);
    }
    return m;
}

bool IsNan(double v) {
    return std::isnan(v);
}
bool IsNan(const std::optional<double>& v) {
    return v && std::isnan(*v);
}

// The first NaN among a report's numbers, named; empty when there is none.
std::string NanInReport(const kes::EventsReport& r) {
    if (IsNan(r.MidGear)) return "mid gear";
    for (const kes::ReportRow& row : r.Rows) {
        if (IsNan(row.Setting) || IsNan(row.Offset)) return "setting";
        for (const auto* d :
             {&row.CutOffDiff, &row.ReleaseDiff, &row.CompressionDiff, &row.LeadDiff})
            if (IsNan(*d)) return "a front - rear difference";
        const kes::TurnEvents& e = row.Events;
        if (IsNan(e.FailureDeg) || IsNan(e.ValveTravel) || IsNan(e.MinValveOffset) ||
            IsNan(e.MaxValveOffset))
            return "the valve travel";
        if (e.Centres && (IsNan(e.Centres->FrontDeg) || IsNan(e.Centres->XMax) ||
                          IsNan(e.Centres->XMin) || IsNan(e.Centres->RearDeg)))
            return "a dead centre";
        for (const kes::PortEventSet* p : {&e.Front, &e.Rear}) {
            if (IsNan(p->Lead) || IsNan(p->MaxSteamOpening) || IsNan(p->MaxExhaustOpening))
                return "a lead or an opening";
            for (const auto& ev : p->Event)
                if (ev && (IsNan(ev->CrankDeg) || IsNan(ev->StrokePct))) return "an event";
        }
    }
    return {};
}

// The drawn points and the port openings of the last solve.
bool Finite(const kes::Model& m) {
    for (int i = 0; i < kes::DrawnPointCount; ++i) {
        const auto& p = m.Points[static_cast<size_t>(i)];
        if (std::isnan(p.X) || std::isnan(p.Y)) return false;
    }
    const auto& s = m.Solver;
    for (float v : {s.ValveOffset, s.PistonTravel640, s.FrontSteamOpen, s.FrontExhaustOpen,
                    s.RearSteamOpen, s.RearExhaustOpen})
        if (std::isnan(v)) return false;
    return true;
}

} // namespace

TEST(SoakDesigns, TenThousandDesignsGiveNoNaN) {
    const std::vector<int> ids = DimensionIds();
    ASSERT_EQ(ids.size(), 50u);
    int midGears = 0, reports = 0, nanSolves = 0, closing = 0;
    for (int k = 0; k < DesignCount; ++k) {
        SCOPED_TRACE("design " + std::to_string(k));
        kes::Model m = Design(k, ids);
        if (kes::FindMidGear(m)) {
            ++midGears;
            for (int i = 0; i <= 3; ++i)
                ASSERT_TRUE(std::isfinite(m.RevArmPositions[static_cast<size_t>(i)]));
        }
        // A turn in steps of 45 degrees, where the main window would draw.
        for (int deg = 0; deg < 360; deg += 45) {
            m.DriverAngle = static_cast<float>(deg);
            m.SolveError = false;
            kes::SolveLinkage(m);
            kes::SolvePortOpenings(m);
            if (!Finite(m) && !m.SolveError) ++nanSolves;
        }
        // The precise report of every tenth design with a few dimensions
        // changed and every hundredth with all of them (each setting is a
        // few hundred precise solves): mid gear, normal full forward gear and
        // the largest reverse setting.
        if (k % 10 == 5 || k % 100 == 0) {
            kes::ReportDef def;
            def.Offsets = {0.0, static_cast<double>(m.Frame.RevArmNorm),
                           -static_cast<double>(m.Frame.RevArmMax)};
            const kes::EventsReport r = kes::ComputeReport(m, def);
            ++reports;
            for (const kes::ReportRow& row : r.Rows)
                closing += row.Closes() ? 1 : 0;
            ASSERT_EQ(NanInReport(r), "");
        }
    }
    // The factory-like designs find mid gear; the set is not all extremes.
    EXPECT_GT(midGears, DesignCount / 4);
    EXPECT_EQ(reports, DesignCount / 10 + DesignCount / 100);
    EXPECT_EQ(nanSolves, 0);
    // A good share of the reports hold real events, not only absent ones.
    EXPECT_GT(closing, reports / 2);
    std::printf("%d of %d designs found mid gear; %d report rows closed\n", midGears, DesignCount,
                closing);
}
