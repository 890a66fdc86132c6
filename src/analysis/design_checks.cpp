#include "analysis/design_checks.h"

#include "analysis/closure_scan.h"
#include "analysis/design_thresholds.h"
#include "model/format.h"

#include <algorithm>
#include <cmath>
#include <optional>

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

CheckLevel LevelFor(double magnitude, double warning, double failure) {
    if (magnitude > failure) return CheckLevel::Failure;
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
    for (const ReportRow& row : r.Rows)
        if (!row.Closes())
            out.Add(CheckLevel::Failure, "closure",
                    "The linkage does not close over the turn at " + RowName(row) +
                        (row.Events.FailureDeg
                             ? " from crank angle " + Num(*row.Events.FailureDeg, 0) + ": " +
                                   ClosureFailureText(row.Events.Failure)
                             : std::string()) +
                        ".");
    if (scan.AllClose())
        out.Add(CheckLevel::Pass, "closure",
                "The linkage closes over the whole turn at all " +
                    std::to_string(scan.SettingsScanned) + " settings from offset " + Num(-max, 4) +
                    " to " + Num(max, 4) + ".");
}

void CheckMidGear(const EventsReport& r, Lines& out) {
    if (r.MidGear)
        out.Add(CheckLevel::Pass, "mid_gear", "Mid gear found at " + Num(*r.MidGear, 5) + ".");
    else
        out.Add(CheckLevel::Failure, "mid_gear", "Mid gear cannot be found for these dimensions.");
}

void CheckLead(const EventsReport& r, Lines& out) {
    double lo = INFINITY, hi = -INFINITY, sum = 0.0;
    int count = 0;
    bool allPositive = true;
    for (const ReportRow& row : r.Rows) {
        for (const auto* p : {&row.Events.Front, &row.Events.Rear}) {
            const char* port = p == &row.Events.Front ? "front" : "rear";
            if (!p->Lead || !(*p->Lead > 0.0)) {
                allPositive = false;
                out.Add(CheckLevel::Failure, "lead",
                        std::string("The ") + port + " lead at " + RowName(row) + " is " +
                            (p->Lead ? Num(*p->Lead, 4) : std::string("absent")) +
                            ": the port does not open before dead centre.");
                continue;
            }
            lo = std::min(lo, *p->Lead);
            hi = std::max(hi, *p->Lead);
            sum += *p->Lead;
            ++count;
        }
    }
    if (count == 0) return;
    if (allPositive)
        out.Add(CheckLevel::Pass, "lead",
                "The lead is positive on both ports at every reported setting.");
    const double mean = sum / count, range = hi - lo;
    const bool steady = range <= th::LeadRangeWarningFraction * mean;
    out.Add(steady ? CheckLevel::Pass : CheckLevel::Warning, "lead",
            "The lead varies from " + Num(lo, 4) + " to " + Num(hi, 4) + " (range " +
                Num(range, 4) + ", " + Num(range / mean * 100.0, 0) + " % of its mean " +
                Num(mean, 4) + ").");
}

void CheckCutOffBalance(const EventsReport& r, Lines& out) {
    for (const ReportRow& row : r.Rows) {
        if (!row.CutOffDiff) {
            out.Add(CheckLevel::Warning, "cutoff_balance",
                    "At " + RowName(row) + " a port has no cut-off, so the balance is unknown.");
            continue;
        }
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
            out.Add(full ? CheckLevel::Pass : CheckLevel::Warning, "port_opening",
                    "At normal full gear the " + name + " port opens " + Num(*fullGear, 4) +
                        " to steam, of a port width " + Num(port.Width, 4) +
                        (full ? "." : ": the port is never fully opened."));
        }
        if (*largest > port.Width + port.Bridge)
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
        out.Add(ok ? CheckLevel::Pass : CheckLevel::Warning, "swing",
                std::string("The ") + s.Name + " swings through at most " + Num(s.Deg, 1) +
                    " degrees" + (ok ? "." : ", more than " + Num(th::SwingWarningDeg, 0) + "."));
    }
    const bool ok = worst->EccRodToHorizontal <= th::EccRodAngleWarningDeg;
    out.Add(ok ? CheckLevel::Pass : CheckLevel::Warning, "swing",
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
