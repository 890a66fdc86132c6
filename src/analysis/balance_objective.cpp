// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/balance_objective.h"

#include "analysis/precise_mid_gear.h"
#include "analysis/precise_solve.h"
#include "model/dimensions.h"
#include "model/mid_gear.h"
#include "model/typed_value.h"

#include <algorithm>
#include <cmath>
#include <thread>

namespace kes {

namespace {

constexpr double LeadScale = 0.01; // a lead difference of this weighs like a point of cut-off
// The repair aims a little above the least lead, so that where it stops
// every lead is above it and the balancing starts inside.
constexpr double RepairLeadMargin = 0.1 * LeadScale;
constexpr double LostCutOffPenalty = 10.0;
constexpr double ClosurePenalty = 1e3;
constexpr double NoMidGearPenalty = 1e6;
constexpr int ScanStepsEachSide = 8;
constexpr unsigned MaxLanes = 8;

bool ClosesOverTurn(PreciseLinkage& linkage, double setting) {
    std::optional<PreciseSeed> seed;
    for (int k = 0; k < 360; ++k) {
        const PreciseSolution s = linkage.Solve(k, setting, seed);
        if (!s.Closes()) return false;
        seed = s.Seed();
    }
    return true;
}

bool Near(double a, double b) {
    return std::fabs(a - b) <= 1e-7 * std::max(1.0, std::fabs(b));
}

double Square(double v) {
    return v * v;
}

// A row whose events the MEP term can use; a row without them fails
// already.
bool HasPortEvents(const ReportRow& row) {
    if (!row.Closes()) return false;
    for (const PortEventSet* p : {&row.Events.Front, &row.Events.Rear})
        if (!p->Lead || !p->Pct(CutOff)) return false;
    return true;
}

// Rows follow a lane's entries; an entry at mid gear gives two.
bool RowEndsEntry(const ReportRow& row) {
    return !(row.Offset && *row.Offset == 0.0 && row.Direction == RunDirection::Forward);
}

} // namespace

const char* BalanceProblemText(BalanceProblem p) {
    switch (p) {
    case BalanceProblem::None:
        return "feasible";
    case BalanceProblem::BadDimension:
        return "a free dimension is not a number";
    case BalanceProblem::NoMidGear:
        return "mid gear cannot be found";
    case BalanceProblem::DoesNotClose:
        return "the linkage does not close over the whole turn";
    case BalanceProblem::LostCutOff:
        return "a port loses its cut-off";
    case BalanceProblem::NoLead:
        return "a port's lead is not positive";
    case BalanceProblem::NoAdmission:
        return "a port never opens: no admission";
    case BalanceProblem::NoMep:
        return "the cylinder model gives no MEP";
    }
    return "";
}

struct BalanceObjective::Lane {
    Mechanism M;
    ReportDef Def;
    std::vector<size_t> Entries;
    EventsReport Report;
    std::vector<std::optional<BalanceMep>> Meps; // by row of the report
    bool MidFound = false;
    BalanceProblem Problem = BalanceProblem::None;
    double ProblemSetting = 0.0;
};

BalanceObjective::BalanceObjective(const Mechanism& start, const BalanceDef& def)
    : weights_(def.Weights), minLead_(def.MinLead),
      mep_(def.Weights.MepFrontRear > 0.0 ? def.Mep : BalanceMepProbe{}), pool_([&] {
          const unsigned hw = def.Threads ? def.Threads : std::thread::hardware_concurrency();
          // Mid gear and normal full gear may be evaluated besides the
          // chosen settings (a fit to targets has only those).
          size_t settings = def.Settings.Settings.empty() ? def.Settings.Offsets.size()
                                                          : def.Settings.Settings.size();
          if (def.Weights.MidGearLead > 0.0) settings += 1;
          if (def.Weights.FullGearCutOff > 0.0) settings += 2;
          return static_cast<unsigned>(
              std::clamp<size_t>(hw, 1, std::min<size_t>(std::max<size_t>(settings, 1), MaxLanes)));
      }()) {
    for (const BalanceFreeDim& f : def.Free)
        ids_.push_back(f.Id);

    const bool settingsMode = !def.Settings.Settings.empty();
    const std::optional<double> startMid = PreciseMidGear(start);
    const double norm = start.Frame.RevArmNorm;
    const auto offsetOf = [&](double value) -> std::optional<double> {
        if (!settingsMode) return value;
        if (!startMid) return std::nullopt;
        return value - *startMid;
    };
    const auto valueOf = [&](double offset) {
        return settingsMode ? startMid.value_or(0.0) + offset : offset;
    };
    for (double v : settingsMode ? def.Settings.Settings : def.Settings.Offsets)
        entries_.push_back(Entry{v, true});
    // The optional terms need mid gear and normal full gear; settings not
    // chosen are evaluated besides, outside the two sums.
    const auto mark = [&](double offset, bool Entry::*flag) {
        bool found = false;
        for (Entry& e : entries_) {
            const std::optional<double> o = offsetOf(e.Value);
            if (o && Near(*o, offset)) e.*flag = found = true;
        }
        if (!found) {
            entries_.push_back(Entry{valueOf(offset), false});
            entries_.back().*flag = true;
        }
    };
    if (weights_.MidGearLead > 0.0) mark(0.0, &Entry::MidGear);
    if (weights_.FullGearCutOff > 0.0) {
        mark(norm, &Entry::FullGear);
        mark(-norm, &Entry::FullGear);
    }
    if (weights_.ForwardReverse > 0.0) {
        for (size_t i = 0; i < entries_.size(); ++i) {
            const std::optional<double> oi = offsetOf(entries_[i].Value);
            if (!entries_[i].Main || !oi || !(*oi > 0.0)) continue;
            for (size_t j = 0; j < entries_.size(); ++j) {
                const std::optional<double> oj = offsetOf(entries_[j].Value);
                if (entries_[j].Main && oj && Near(-*oj, *oi)) pairs_.emplace_back(i, j);
            }
        }
    }
    const double max = start.Frame.RevArmMax;
    quickScan_ = {-max, 0.0, max};
    for (int i = -ScanStepsEachSide; i <= ScanStepsEachSide; ++i)
        fullScan_.push_back(max * i / ScanStepsEachSide);

    const unsigned n = pool_.Count();
    for (unsigned k = 0; k < n; ++k) {
        auto lane = std::make_unique<Lane>();
        lane->M = start;
        for (size_t e = k; e < entries_.size(); e += n) {
            lane->Entries.push_back(e);
            (settingsMode ? lane->Def.Settings : lane->Def.Offsets).push_back(entries_[e].Value);
        }
        lane->Meps.reserve(2 * lane->Entries.size());
        lanes_.push_back(std::move(lane));
    }
}

BalanceObjective::~BalanceObjective() = default;

void BalanceObjective::RunLanes(int phase) {
    phase_ = phase;
    pool_.Run(
        [](void* context, unsigned k) {
            auto& self = *static_cast<BalanceObjective*>(context);
            Lane& lane = *self.lanes_[k];
            const unsigned n = self.pool_.Count();
            if (self.phase_ == 1) {
                for (size_t i = 0; i < self.ids_.size(); ++i)
                    SetDimension(lane.M, self.ids_[i], ToFloat(self.x_[i]));
                lane.MidFound = FindMidGear(lane.M);
                ComputeReport(lane.M, lane.Def, lane.Report);
                self.ProbeMeps(lane);
            }
            lane.Problem = BalanceProblem::None;
            if (!lane.MidFound || !lane.Report.MidGear) return;
            const std::vector<double>& scan = self.phase_ == 1 ? self.quickScan_ : self.fullScan_;
            PreciseLinkage linkage(lane.M);
            for (size_t i = k; i < scan.size(); i += n) {
                const double setting = *lane.Report.MidGear + scan[i];
                if (!ClosesOverTurn(linkage, setting)) {
                    lane.Problem = BalanceProblem::DoesNotClose;
                    lane.ProblemSetting = setting;
                    return;
                }
            }
        },
        this);
}

void BalanceObjective::ProbeMeps(Lane& lane) const {
    lane.Meps.assign(lane.Report.Rows.size(), std::nullopt);
    if (!mep_ || !lane.MidFound || !lane.Report.MidGear) return;
    size_t e = 0;
    for (size_t i = 0; i < lane.Report.Rows.size() && e < lane.Entries.size(); ++i) {
        const ReportRow& row = lane.Report.Rows[i];
        if (entries_[lane.Entries[e]].Main && HasPortEvents(row)) {
            const std::optional<BalanceMep> m = mep_(lane.M, row.Setting, row.Direction);
            if (m && std::isfinite(m->FrontPct) && std::isfinite(m->RearPct)) lane.Meps[i] = m;
        }
        if (RowEndsEntry(row)) ++e;
    }
}

BalanceEvaluation BalanceObjective::Combine() {
    BalanceEvaluation ev;
    for (Entry& e : entries_) {
        e.Forward = e.Reverse = nullptr;
        e.MepForward = e.MepReverse = std::nullopt;
    }
    for (const auto& lane : lanes_) {
        if (!lane->MidFound || !lane->Report.MidGear) {
            ev.Problem = BalanceProblem::NoMidGear;
            ev.Infeasibility = NoMidGearPenalty;
            return ev;
        }
        // Rows follow the entries; an entry at mid gear gives two.
        size_t e = 0;
        for (size_t i = 0; i < lane->Report.Rows.size(); ++i) {
            if (e >= lane->Entries.size()) break;
            const ReportRow& row = lane->Report.Rows[i];
            Entry& entry = entries_[lane->Entries[e]];
            const bool forward = row.Direction == RunDirection::Forward;
            (forward ? entry.Forward : entry.Reverse) = &row;
            if (i < lane->Meps.size())
                (forward ? entry.MepForward : entry.MepReverse) = lane->Meps[i];
            if (RowEndsEntry(row)) ++e;
        }
    }
    // The first problem found decides; J is still given when every number
    // it needs is there, so an infeasible start shows how far off it is.
    const auto fail = [&](BalanceProblem p, double setting) {
        if (ev.Problem != BalanceProblem::None) return;
        ev.Problem = p;
        ev.ProblemSetting = setting;
    };
    bool computable = true;
    const double aim = minLead_ + RepairLeadMargin;
    for (const Entry& entry : entries_) {
        if (!entry.Forward && !entry.Reverse) {
            fail(BalanceProblem::NoMidGear, entry.Value);
            ev.Infeasibility += ClosurePenalty;
            computable = false;
        }
        for (const ReportRow* row : {entry.Forward, entry.Reverse}) {
            if (!row) continue;
            if (!row->Closes()) {
                fail(BalanceProblem::DoesNotClose, row->Setting);
                ev.Infeasibility += ClosurePenalty;
                computable = false;
                continue;
            }
            for (const PortEventSet* p : {&row->Events.Front, &row->Events.Rear}) {
                if (!p->Lead) {
                    fail(BalanceProblem::NoLead, row->Setting);
                    ev.Infeasibility += ClosurePenalty;
                    computable = false;
                    continue;
                }
                if (!(*p->Lead > minLead_)) fail(BalanceProblem::NoLead, row->Setting);
                if (*p->Lead < aim) ev.Infeasibility += Square((aim - *p->Lead) / LeadScale);
                if (!p->Pct(CutOff)) {
                    // A port that never opens fails through its lead alone.
                    const bool opens = p->MaxSteamOpening && *p->MaxSteamOpening > 0.0;
                    fail(opens ? BalanceProblem::LostCutOff : BalanceProblem::NoAdmission,
                         row->Setting);
                    if (opens) ev.Infeasibility += LostCutOffPenalty;
                    computable = false;
                }
            }
            if (!row->CutOffDiff || !row->LeadDiff) computable = false;
            const std::optional<BalanceMep>& mep =
                row == entry.Forward ? entry.MepForward : entry.MepReverse;
            if (mep_ && entry.Main && HasPortEvents(*row) && !mep) {
                fail(BalanceProblem::NoMep, row->Setting);
                ev.Infeasibility += LostCutOffPenalty;
                computable = false;
            }
        }
    }
    for (const auto& lane : lanes_) {
        if (lane->Problem == BalanceProblem::None) continue;
        fail(lane->Problem, lane->ProblemSetting);
        ev.Infeasibility += ClosurePenalty;
    }
    if (computable) {
        const double j = Objective();
        if (std::isfinite(j)) ev.Objective = j;
    }
    return ev;
}

double BalanceObjective::Objective() const {
    double j = 0.0;
    for (const Entry& entry : entries_) {
        for (const ReportRow* row : {entry.Forward, entry.Reverse}) {
            if (!row) continue;
            const PortEventSet* ports[] = {&row->Events.Front, &row->Events.Rear};
            if (entry.Main)
                j += weights_.FrontRear *
                     (Square(*row->CutOffDiff) + Square(*row->LeadDiff / LeadScale));
            if (mep_ && entry.Main) {
                const std::optional<BalanceMep>& mep =
                    row == entry.Forward ? entry.MepForward : entry.MepReverse;
                if (mep) j += weights_.MepFrontRear * Square(mep->FrontPct - mep->RearPct);
            }
            for (const PortEventSet* p : ports) {
                if (entry.MidGear || (entry.Main && weights_.LeadAtEverySetting))
                    j += weights_.MidGearLead *
                         Square((*p->Lead - weights_.MidGearLeadTarget) / LeadScale);
                if (entry.FullGear)
                    j += weights_.FullGearCutOff *
                         Square(*p->Pct(CutOff) - weights_.FullGearCutOffTarget);
            }
        }
    }
    for (const auto& [i, k] : pairs_) {
        const ReportRow* f = entries_[i].Forward;
        const ReportRow* r = entries_[k].Reverse;
        if (!f || !r) continue;
        j += weights_.ForwardReverse *
             (Square(*f->Events.Front.Pct(CutOff) - *r->Events.Front.Pct(CutOff)) +
              Square(*f->Events.Rear.Pct(CutOff) - *r->Events.Rear.Pct(CutOff)));
    }
    return j;
}

BalanceEvaluation BalanceObjective::Evaluate(const double* x, bool fullScan) {
    for (size_t i = 0; i < ids_.size(); ++i) {
        if (!std::isfinite(x[i])) {
            BalanceEvaluation ev;
            ev.Problem = BalanceProblem::BadDimension;
            ev.Infeasibility = NoMidGearPenalty;
            return ev;
        }
    }
    x_ = x;
    RunLanes(1);
    BalanceEvaluation ev = Combine();
    if (ev.Feasible() && fullScan) {
        BalanceEvaluation scan = ScanFully();
        if (!scan.Feasible()) {
            scan.Objective = ev.Objective;
            scan.Infeasibility += ev.Infeasibility;
            return scan;
        }
    }
    return ev;
}

BalanceEvaluation BalanceObjective::ScanFully() {
    RunLanes(2);
    BalanceEvaluation ev;
    for (const auto& lane : lanes_) {
        if (!lane->MidFound || !lane->Report.MidGear) {
            ev.Problem = BalanceProblem::NoMidGear;
            ev.Infeasibility = NoMidGearPenalty;
            return ev;
        }
        if (lane->Problem == BalanceProblem::None) continue;
        if (ev.Problem == BalanceProblem::None) {
            ev.Problem = lane->Problem;
            ev.ProblemSetting = lane->ProblemSetting;
        }
        ev.Infeasibility += ClosurePenalty;
    }
    return ev;
}

BalanceEvaluation EvaluateBalance(const Mechanism& m, const BalanceDef& def) {
    BalanceObjective objective(m, def);
    std::vector<double> x;
    for (const BalanceFreeDim& f : def.Free)
        x.push_back(GetDimension(m, f.Id));
    return objective.Evaluate(x.data(), true);
}

} // namespace kes
