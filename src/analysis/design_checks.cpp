// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/design_checks.h"

#include "analysis/closure_scan.h"
#include "analysis/design_thresholds.h"
#include "model/dimensions.h"
#include "model/format.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

namespace kes {

namespace {

namespace th = thresholds;

std::string Num(double v, int decimals = 3) {
    return FormatFixed(v, 0, decimals);
}

std::string RowName(const ReportRow& row) {
    std::string s = "setting " + Num(row.Setting, 4);
    if (row.Offset) s += " (offset " + Num(*row.Offset, 4) + ")";
    return s + " " + RunDirectionText(row.Direction);
}

class Lines {
  public:
    explicit Lines(DesignChecks& out) : out_(out) {}
    void Add(CheckLevel level, const char* topic, std::string text) {
        out_.Lines.push_back(CheckLine{level, topic, std::move(text)});
    }

  private:
    DesignChecks& out_;
};

// A value that is not a number never passes.
CheckLevel LevelFor(double magnitude, double warning, double failure) {
    if (!std::isfinite(magnitude) || magnitude > failure) return CheckLevel::Failure;
    if (magnitude > warning) return CheckLevel::Warning;
    return CheckLevel::Pass;
}

void CheckClosure(const Mechanism& m, const EventsReport& r, Lines& out) {
    if (!r.MidGear) {
        out.Add(CheckLevel::Failure, "closure",
                "The closure over the reverse range cannot be checked without mid gear.");
        return;
    }
    PreciseLinkage linkage(m);
    const double max = m.Frame.RevArmMax;
    const ClosureScan scan = ScanClosure(linkage, *r.MidGear, max);
    for (const ClosureProblem& p : scan.Problems)
        out.Add(CheckLevel::Failure, "closure",
                "The linkage does not close at setting " + Num(p.Setting, 4) + " (offset " +
                    Num(p.Setting - *r.MidGear, 4) + ") from crank angle " + Num(p.CrankDeg, 0) +
                    ": " + ClosureFailureText(p.Failure) + ".");
    std::vector<const ReportRow*> open;
    for (const ReportRow& row : r.Rows)
        if (!row.Closes()) open.push_back(&row);
    if (open.size() == 1) {
        const ReportRow& row = *open.front();
        out.Add(CheckLevel::Failure, "closure",
                "The linkage does not close over the turn at " + RowName(row) +
                    (row.Events.FailureDeg ? " from crank angle " + Num(*row.Events.FailureDeg, 0) +
                                                 ": " + ClosureFailureText(row.Events.Failure)
                                           : std::string()) +
                    ".");
    } else if (open.size() > 1) {
        const auto [lo, hi] = std::minmax_element(
            open.begin(), open.end(),
            [](const ReportRow* a, const ReportRow* b) { return a->Setting < b->Setting; });
        out.Add(CheckLevel::Failure, "closure",
                "The linkage does not close over the turn at " + std::to_string(open.size()) +
                    " of " + std::to_string(r.Rows.size()) + " settings, " +
                    Num((*lo)->Setting, 4) + " to " + Num((*hi)->Setting, 4) + ".");
    }
    if (scan.AllClose())
        out.Add(CheckLevel::Pass, "closure",
                "The linkage closes over the whole turn at all " +
                    std::to_string(scan.SettingsScanned) + " settings from offset " + Num(-max, 4) +
                    " to " + Num(max, 4) + ".");
}

// A NaN or an infinity would make every comparison below false: such a
// design fails at once, by name. True when it does.
bool CheckFiniteDimensions(const Mechanism& m, Lines& out) {
    bool any = false;
    for (int id = 1; id <= 122; ++id) {
        const std::string_view name = DimensionName(id);
        if (name.empty() || std::isfinite(GetDimension(m, id))) continue;
        out.Add(CheckLevel::Failure, "dimensions",
                "The dimension " + std::string(name) + " (id " + std::to_string(id) +
                    ") is not a finite number.");
        any = true;
    }
    return any;
}

void CheckMidGear(const EventsReport& r, Lines& out) {
    if (r.MidGear)
        out.Add(CheckLevel::Pass, "mid_gear", "Mid gear found at " + Num(*r.MidGear, 5) + ".");
    else
        out.Add(CheckLevel::Failure, "mid_gear", "Mid gear cannot be found for these dimensions.");
}

// The lead failures of one port over the rows, told in one line when there
// are several.
struct LeadFailures {
    const ReportRow* First = nullptr;
    int Count = 0, Absent = 0;
    double Lo = INFINITY, Hi = -INFINITY;
    void Add(const ReportRow& row, const std::optional<double>& lead) {
        if (!First) First = &row;
        ++Count;
        if (!lead) {
            ++Absent;
            return;
        }
        Lo = std::min(Lo, *lead);
        Hi = std::max(Hi, *lead);
    }
};

void AddLeadFailures(const char* port, const LeadFailures& f, size_t rows, Lines& out) {
    if (f.Count == 0) return;
    const std::string why = ": the port does not open before dead centre.";
    const std::string name = port;
    if (f.Count == 1) {
        const auto& lead = name == "front" ? f.First->Events.Front.Lead : f.First->Events.Rear.Lead;
        out.Add(CheckLevel::Failure, "lead",
                "The " + name + " lead at " + RowName(*f.First) + " is " +
                    (lead ? Num(*lead, 4) : std::string("absent")) + why);
        return;
    }
    const std::string where =
        static_cast<size_t>(f.Count) == rows
            ? "all " + std::to_string(rows) + " settings"
            : std::to_string(f.Count) + " of " + std::to_string(rows) + " settings";
    const int measured = f.Count - f.Absent;
    std::string text = name + " lead ";
    if (measured == 0)
        text += "absent at " + where;
    else
        text += std::string(f.Hi < 0.0 ? "negative" : "not positive") + " at " + where + ", " +
                (measured == 1 ? Num(f.Lo, 4) : Num(f.Lo, 4) + " to " + Num(f.Hi, 4)) +
                (f.Absent > 0 ? " (absent at " + std::to_string(f.Absent) + ")" : "");
    out.Add(CheckLevel::Failure, "lead", text + why);
}

void CheckLead(const EventsReport& r, Lines& out) {
    double lo = INFINITY, hi = -INFINITY, sum = 0.0;
    int count = 0;
    bool allPositive = true;
    LeadFailures failures[2];
    for (const ReportRow& row : r.Rows) {
        for (const auto* p : {&row.Events.Front, &row.Events.Rear}) {
            if (!p->Lead || !(*p->Lead > 0.0)) {
                allPositive = false;
                failures[p == &row.Events.Front ? 0 : 1].Add(row, p->Lead);
                continue;
            }
            lo = std::min(lo, *p->Lead);
            hi = std::max(hi, *p->Lead);
            sum += *p->Lead;
            ++count;
        }
    }
    AddLeadFailures("front", failures[0], r.Rows.size(), out);
    AddLeadFailures("rear", failures[1], r.Rows.size(), out);
    if (count == 0) return;
    if (allPositive)
        out.Add(CheckLevel::Pass, "lead",
                "The lead is positive on both ports at every reported setting.");
    const double mean = sum / count, range = hi - lo;
    const bool steady = range <= th::LeadRangeWarningFraction * mean;
    const CheckLevel level = !std::isfinite(range / mean) ? CheckLevel::Failure
                             : steady                     ? CheckLevel::Pass
                                                          : CheckLevel::Warning;
    out.Add(level, "lead",
            "The lead varies from " + Num(lo, 4) + " to " + Num(hi, 4) + " (range " +
                Num(range, 4) + ", " + Num(range / mean * 100.0, 0) + " % of its mean " +
                Num(mean, 4) + ").");
}

void CheckCutOffBalance(const EventsReport& r, Lines& out) {
    // The settings where a port has no cut-off make one line, not one each.
    const ReportRow* firstUnknown = nullptr;
    const ReportRow* lastUnknown = nullptr;
    int unknown = 0;
    for (const ReportRow& row : r.Rows)
        if (!row.CutOffDiff) {
            if (!firstUnknown) firstUnknown = &row;
            lastUnknown = &row;
            ++unknown;
        }
    if (unknown == 1)
        out.Add(CheckLevel::Warning, "cutoff_balance",
                "At " + RowName(*firstUnknown) +
                    " a port has no cut-off, so the balance is unknown.");
    else if (unknown > 1)
        out.Add(CheckLevel::Warning, "cutoff_balance",
                "At " + std::to_string(unknown) + " settings, from " + RowName(*firstUnknown) +
                    " to " + RowName(*lastUnknown) +
                    ", a port has no cut-off, so the balance is unknown.");
    for (const ReportRow& row : r.Rows) {
        if (!row.CutOffDiff) continue;
        const double d = *row.CutOffDiff;
        out.Add(LevelFor(std::fabs(d), th::CutOffBalanceWarning, th::CutOffBalanceFailure),
                "cutoff_balance",
                "At " + RowName(row) + " front - rear cut-off is " + Num(d, 2) + " points (front " +
                    Num(*row.Events.Front.Pct(CutOff), 2) + " %, rear " +
                    Num(*row.Events.Rear.Pct(CutOff), 2) + " %).");
    }
}

const ReportRow* Mirror(const EventsReport& r, const ReportRow& row) {
    for (const ReportRow& other : r.Rows)
        if (other.Direction == RunDirection::Reverse && other.Offset &&
            std::fabs(*other.Offset + *row.Offset) <= 1e-9)
            return &other;
    return nullptr;
}

void CheckForwardReverse(const EventsReport& r, Lines& out) {
    for (const ReportRow& row : r.Rows) {
        if (row.Direction != RunDirection::Forward || !row.Offset) continue;
        const ReportRow* rev = Mirror(r, row);
        if (!rev) continue;
        for (bool front : {true, false}) {
            const auto a = (front ? row.Events.Front : row.Events.Rear).Pct(CutOff);
            const auto b = (front ? rev->Events.Front : rev->Events.Rear).Pct(CutOff);
            if (!a || !b) continue;
            const double d = *a - *b;
            out.Add(LevelFor(std::fabs(d), th::ForwardReverseWarning, th::ForwardReverseFailure),
                    "forward_reverse",
                    std::string("At offset ") + Num(*row.Offset, 4) + " the " +
                        (front ? "front" : "rear") + " cut-off is " + Num(*a, 2) +
                        " % forward and " + Num(*b, 2) + " % in reverse (difference " + Num(d, 2) +
                        " points).");
        }
    }
}

void CheckPortOpening(const Mechanism& m, const EventsReport& r, Lines& out) {
    const CylinderArray& c = m.Cylinder;
    struct Port {
        const char* Name;
        double Width, Bridge;
        bool Front;
    };
    const Port ports[] = {{"front", c[SteamPortWidthFront], c[BridgeWidthFront], true},
                          {"rear", c[SteamPortWidthRear], c[BridgeWidthRear], false}};
    const double norm = m.Frame.RevArmNorm;
    for (const Port& port : ports) {
        std::optional<double> fullGear, largest;
        for (const ReportRow& row : r.Rows) {
            const auto& o = (port.Front ? row.Events.Front : row.Events.Rear).MaxSteamOpening;
            if (!o) continue;
            largest = std::max(largest.value_or(*o), *o);
            if (row.Offset && std::fabs(std::fabs(*row.Offset) - norm) <= 1e-9)
                fullGear = std::min(fullGear.value_or(*o), *o);
        }
        if (!largest) continue;
        const std::string name = port.Name;
        if (fullGear) {
            const bool full = *fullGear >= th::FullOpeningFraction * port.Width;
            const CheckLevel level = !std::isfinite(*fullGear + port.Width) ? CheckLevel::Failure
                                     : full                                 ? CheckLevel::Pass
                                                                            : CheckLevel::Warning;
            out.Add(level, "port_opening",
                    "At normal full gear the " + name + " port opens " + Num(*fullGear, 4) +
                        " to steam, of a port width " + Num(port.Width, 4) +
                        (full ? "." : ": the port is never fully opened."));
        }
        if (!(*largest <= port.Width + port.Bridge))
            out.Add(CheckLevel::Failure, "port_opening",
                    "The " + name + " valve edge over-travels by " + Num(*largest - port.Width, 4) +
                        ", past the bridge (" + Num(port.Bridge, 4) + ") onto the exhaust port.");
        else if (*largest > port.Width)
            out.Add(CheckLevel::Pass, "port_opening",
                    "The " + name + " valve edge over-travels the port by " +
                        Num(*largest - port.Width, 4) + " onto the bridge (" + Num(port.Bridge, 4) +
                        ").");
    }
}

void CheckExhaustClearance(const Mechanism& m, Lines& out) {
    const CylinderArray& c = m.Cylinder;
    const double h = c[ExhaustPortWidth] / 2.0;
    struct Port {
        const char* Name;
        double Cavity, Bridge, Width, ValveLength;
    };
    const Port ports[] = {
        {"front", c[ExhCavityFront], c[BridgeWidthFront], c[SteamPortWidthFront],
         c[ValveLengthFront]},
        {"rear", c[ExhCavityRear], c[BridgeWidthRear], c[SteamPortWidthRear], c[ValveLengthRear]}};
    for (const Port& p : ports) {
        const double clearance = p.Cavity - h - p.Bridge; // > 0: open to exhaust at mid travel
        const double land = p.ValveLength - p.Cavity;
        const std::string name = p.Name;
        if (!std::isfinite(clearance + land + p.Width)) {
            out.Add(CheckLevel::Failure, "exhaust_clearance",
                    "The " + name + " port's exhaust clearance cannot be computed.");
            continue;
        }
        if (land < p.Width) {
            out.Add(CheckLevel::Failure, "exhaust_clearance",
                    "The " + name + " valve land (" + Num(land, 4) +
                        ") is narrower than its port (" + Num(p.Width, 4) +
                        "): the port opens to steam and exhaust at once.");
            continue;
        }
        const bool wide = clearance > th::ExhaustClearanceWarningFraction * p.Width;
        out.Add(wide ? CheckLevel::Warning : CheckLevel::Pass, "exhaust_clearance",
                "The " + name + " port has " +
                    (clearance >= 0.0 ? "an exhaust clearance of " + Num(clearance, 4)
                                      : "an exhaust lap of " + Num(-clearance, 4)) +
                    (wide ? ", more than a quarter of the port width." : "."));
    }
}

void CheckSwing(const EventsReport& r, Lines& out) {
    std::optional<LinkageSwing> worst;
    for (const ReportRow& row : r.Rows) {
        if (!row.Events.Swing) continue;
        const LinkageSwing& s = *row.Events.Swing;
        if (!worst) {
            worst = s;
            continue;
        }
        worst->RadiusBar = std::max(worst->RadiusBar, s.RadiusBar);
        worst->GearConRod = std::max(worst->GearConRod, s.GearConRod);
        worst->BellCrank = std::max(worst->BellCrank, s.BellCrank);
        worst->CombLever = std::max(worst->CombLever, s.CombLever);
        worst->EccRodToHorizontal = std::max(worst->EccRodToHorizontal, s.EccRodToHorizontal);
    }
    if (!worst) return;
    const struct {
        const char* Name;
        double Deg;
    } swings[] = {{"radius bar", worst->RadiusBar},
                  {"gear connecting rod", worst->GearConRod},
                  {"bell crank", worst->BellCrank},
                  {"combination lever", worst->CombLever}};
    for (const auto& s : swings) {
        const bool ok = s.Deg <= th::SwingWarningDeg;
        out.Add(!std::isfinite(s.Deg) ? CheckLevel::Failure
                : ok                  ? CheckLevel::Pass
                                      : CheckLevel::Warning,
                "swing",
                std::string("The ") + s.Name + " swings through at most " + Num(s.Deg, 1) +
                    " degrees" + (ok ? "." : ", more than " + Num(th::SwingWarningDeg, 0) + "."));
    }
    const bool ok = worst->EccRodToHorizontal <= th::EccRodAngleWarningDeg;
    out.Add(!std::isfinite(worst->EccRodToHorizontal) ? CheckLevel::Failure
            : ok                                      ? CheckLevel::Pass
                                                      : CheckLevel::Warning,
            "swing",
            "The eccentric rod stands at most " + Num(worst->EccRodToHorizontal, 1) +
                " degrees to the horizontal" +
                (ok ? "." : ", more than " + Num(th::EccRodAngleWarningDeg, 0) + "."));
}

} // namespace

const char* CheckLevelText(CheckLevel l) {
    switch (l) {
    case CheckLevel::Pass:
        return "pass";
    case CheckLevel::Warning:
        return "warning";
    case CheckLevel::Failure:
        return "failure";
    }
    return "";
}

bool DesignChecks::AnyFailure() const {
    return std::any_of(Lines.begin(), Lines.end(),
                       [](const CheckLine& l) { return l.Level == CheckLevel::Failure; });
}

bool DesignChecks::AnyWarning() const {
    return std::any_of(Lines.begin(), Lines.end(),
                       [](const CheckLine& l) { return l.Level == CheckLevel::Warning; });
}

DesignChecks RunDesignChecks(const Mechanism& m, const EventsReport& report) {
    DesignChecks checks;
    Lines out(checks);
    // Nothing computed from a NaN or an infinity means anything.
    if (CheckFiniteDimensions(m, out)) return checks;
    CheckMidGear(report, out);
    CheckClosure(m, report, out);
    CheckLead(report, out);
    CheckCutOffBalance(report, out);
    CheckForwardReverse(report, out);
    CheckPortOpening(m, report, out);
    CheckExhaustClearance(m, out);
    CheckSwing(report, out);
    return checks;
}

DesignChecks RunDesignChecks(const Mechanism& m) {
    return RunDesignChecks(m, ComputeReport(m, DefaultReportDef(m)));
}

} // namespace kes
