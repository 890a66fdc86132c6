// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/port_events.h"

#include "analysis/setting_guard.h"
#include "analysis/stroke_scale.h"
#include "model/model.h"
#include "model/solver.h"

namespace analysis {

namespace {

bool IsReverse(char mode) {
    return mode == 'R';
}

// The opening that each event watches, and whether it opens or closes.
enum class Opening { FrontSteam, FrontExhaust, RearSteam, RearExhaust };
struct EventRule {
    Opening Watches;
    bool Opens;
};
constexpr std::array<EventRule, PortEventCount> EventRules{{
    {Opening::FrontSteam, true},    // front admission
    {Opening::FrontExhaust, true},  // front release
    {Opening::RearSteam, true},     // rear admission
    {Opening::RearExhaust, true},   // rear release
    {Opening::FrontSteam, false},   // front cut-off
    {Opening::FrontExhaust, false}, // front compression
    {Opening::RearSteam, false},    // rear cut-off
    {Opening::RearExhaust, false},  // rear compression
}};

struct Openings {
    std::array<float, 4> Value{};
    float operator[](Opening o) const { return Value[static_cast<int>(o)]; }
};

Openings ReadOpenings(const kes::Mechanism& m) {
    const kes::SolverOutputs& s = m.Solver;
    return Openings{{s.FrontSteamOpen, s.FrontExhaustOpen, s.RearSteamOpen, s.RearExhaustOpen}};
}

// The driver turns 4 degrees per sample: forward from 0 gives 4 .. 360, 4;
// backward gives 356 .. 0, 356.
float NextAngle(float angle, bool reverse) {
    if (reverse) {
        angle -= PortStepAngle;
        while (angle < 0.0f)
            angle += 360.0f;
    } else {
        angle += PortStepAngle;
        while (angle > 360.0f)
            angle -= 360.0f;
    }
    return angle;
}

// Collects the last crossing and the count per row and event.
class TableSink final : public PortEventSink {
  public:
    explicit TableSink(PortEventTable& table) : table_(table) {}
    void RowBegun(int row, float setting) override {
        table_.Setting[row] = setting;
        table_.LastTravel[row].fill(-1.0f);
        table_.Count[row].fill(0);
    }
    void Crossing(int row, PortEvent e, float travel) override {
        table_.LastTravel[row][e] = travel;
        if (table_.Count[row][e] < 255) ++table_.Count[row][e];
        if (table_.CrossingCount < MaxPortCrossings) {
            table_.Crossings[table_.CrossingCount++] =
                PortCrossing{travel, static_cast<uint8_t>(row), static_cast<uint8_t>(e)};
        }
    }

  private:
    PortEventTable& table_;
};

} // namespace

bool IsFrontEvent(PortEvent e) {
    return e == FrontAdmission || e == FrontRelease || e == FrontCutOff || e == FrontCompression;
}

bool EventHappens(bool opens, float now, float before) {
    return opens ? (now >= 0.0f && before < 0.0f) : (now <= 0.0f && before > 0.0f);
}

double CrossingTravel(double travel, double opening, double previousTravel,
                      double previousOpening) {
    return travel - opening * (previousTravel - travel) / (previousOpening - opening);
}

float PortRowSetting(const kes::Mechanism& m, char mode, int row) {
    const double step = static_cast<double>(row) * m.Frame.RevArmMax / (PortRowCount - 1);
    return static_cast<float>(IsReverse(mode) ? m.MidGear() - step : m.MidGear() + step);
}

void SweepPortEvents(kes::Mechanism& m, char mode, PortEventSink& sink) {
    const SettingGuard keep(m);
    const bool reverse = IsReverse(mode);
    for (int row = 0; row < PortRowCount; ++row) {
        m.RevArmSetting = PortRowSetting(m, mode, row);
        sink.RowBegun(row, m.RevArmSetting);
        m.DriverAngle = 0.0f;
        float previousTravel = 0.0f;
        Openings previous;
        for (int j = 0; j < PortSampleCount; ++j) {
            m.DriverAngle = NextAngle(m.DriverAngle, reverse);
            kes::SolveLinkage(m);
            kes::SolvePortOpenings(m);
            const float travel = m.Solver.PistonTravel640;
            const Openings now = ReadOpenings(m);
            sink.SampleSolved(row, j, m.DriverAngle, travel);
            if (j >= 1) {
                for (int e = 0; e < PortEventCount; ++e) {
                    const EventRule rule = EventRules[e];
                    const float o = now[rule.Watches];
                    const float op = previous[rule.Watches];
                    if (!EventHappens(rule.Opens, o, op)) continue;
                    const double crossing = CrossingTravel(travel, o, previousTravel, op);
                    sink.Crossing(row, static_cast<PortEvent>(e), static_cast<float>(crossing));
                }
            }
            previousTravel = travel;
            previous = now;
        }
    }
}

double PortEventTable::Percent(int row, PortEvent e) const {
    const double t = LastTravel[row][e];
    return IsFrontEvent(e) ? FrontPercent(t) : RearPercent(t);
}

void ComputePortEvents(kes::Mechanism& m, char mode, PortEventTable& table) {
    table.Mode = IsReverse(mode) ? 'R' : 'F';
    table.CrossingCount = 0;
    TableSink sink(table);
    SweepPortEvents(m, table.Mode, sink);
}

PortEventTable ComputePortEvents(kes::Mechanism& m, char mode) {
    PortEventTable table;
    ComputePortEvents(m, mode, table);
    return table;
}

} // namespace analysis
