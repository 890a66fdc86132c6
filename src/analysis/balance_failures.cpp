// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/balance_failures.h"

#include "analysis/closure_scan.h"
#include "analysis/precise_solve.h"
#include "analysis/valve_laps.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace kes {

namespace {

std::string Fixed(double v, int decimals) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v + 0.0);
    return buf;
}

// Four decimals, as the report's settings read; fewer when they are zeros.
std::string Short(double v) {
    std::string s = Fixed(v, 4);
    while (s.size() > 1 && s.back() == '0' && s.find('.') != std::string::npos)
        s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s;
}

std::string Where(const BalanceFailure& f, bool bothSides) {
    if (!f.Offset) return "at setting " + Short(f.Setting);
    const double o = *f.Offset;
    if (bothSides) return "at offset \u00b1" + Short(std::fabs(o));
    return "at offset " + std::string(o > 0.0 ? "+" : "") + Short(o) + " " +
           (f.Direction == RunDirection::Forward ? "forward" : "reverse");
}

std::string Ports(int port) {
    if (port == FrontPort) return "the front port";
    if (port == RearPort) return "the rear port";
    return "the ports";
}

std::string LeadText(double minLead) {
    return minLead == 0.0 ? "not positive" : "not above " + Short(minLead);
}

// The line of one failure; port is the port it names (NoPort: both).
std::string Line(const BalanceFailure& f, int port, bool bothSides, double minLead,
                 const std::optional<double>& otherLap) {
    const std::string where = Where(f, bothSides);
    switch (f.Problem) {
    case BalanceProblem::NoAdmission: {
        std::string laps = f.Lap ? Fixed(*f.Lap, 3) : "?";
        if (otherLap && f.Lap && Fixed(*otherLap, 3) != laps) laps += "/" + Fixed(*otherLap, 3);
        return where + " the valve travel " + (f.ValveTravel ? Fixed(*f.ValveTravel, 3) : "?") +
               " does not uncover " + Ports(port) + " (lap" + (port == NoPort ? "s " : " ") + laps +
               "): no admission";
    }
    case BalanceProblem::NoLead:
        return where + " the lead of " + Ports(port) + " is " + LeadText(minLead) +
               (f.Lead ? " (" + Fixed(*f.Lead, 4) + ")" : "");
    case BalanceProblem::LostCutOff:
        return where + " " + Ports(port) + " opens but never cuts off";
    default:
        return where + " " + BalanceProblemText(f.Problem);
    }
}

bool SameKind(const BalanceFailure& a, const BalanceFailure& b) {
    return a.Problem == b.Problem && a.Setting == b.Setting && a.Direction == b.Direction;
}

} // namespace

std::vector<BalanceFailure> FindBalanceFailures(const Mechanism& m, const BalanceDef& def) {
    std::vector<BalanceFailure> out;
    const EventsReport report = ComputeReport(m, def.Settings);
    if (!report.MidGear) {
        BalanceFailure f;
        f.Problem = BalanceProblem::NoMidGear;
        out.push_back(f);
        return out;
    }
    for (const ReportRow& row : report.Rows) {
        BalanceFailure f;
        f.Setting = row.Setting;
        f.Offset = row.Offset;
        f.Direction = row.Direction;
        f.ValveTravel = row.Events.ValveTravel;
        if (!row.Closes()) {
            f.Problem = BalanceProblem::DoesNotClose;
            out.push_back(f);
            continue;
        }
        for (int port : {FrontPort, RearPort}) {
            const PortEventSet& p = port == FrontPort ? row.Events.Front : row.Events.Rear;
            BalanceFailure pf = f;
            pf.Port = port;
            pf.Lead = p.Lead;
            pf.Lap = SteamLap(m, port == FrontPort);
            const bool opens = p.MaxSteamOpening && *p.MaxSteamOpening > 0.0;
            if (!p.Pct(CutOff) && !opens) {
                pf.Problem = BalanceProblem::NoAdmission;
            } else if (!p.Lead || !(*p.Lead > def.MinLead)) {
                pf.Problem = BalanceProblem::NoLead;
            } else if (!p.Pct(CutOff)) {
                pf.Problem = BalanceProblem::LostCutOff;
            } else {
                continue;
            }
            out.push_back(pf);
        }
    }
    PreciseLinkage linkage(m);
    const ClosureScan scan = ScanClosure(linkage, *report.MidGear, m.Frame.RevArmMax);
    for (const ClosureProblem& p : scan.Problems) {
        BalanceFailure f;
        f.Problem = BalanceProblem::DoesNotClose;
        f.Setting = p.Setting;
        f.Offset = p.Setting - *report.MidGear;
        f.Direction = *f.Offset < 0.0 ? RunDirection::Reverse : RunDirection::Forward;
        out.push_back(f);
    }
    return out;
}

std::vector<std::string> BalanceFailureLines(const std::vector<BalanceFailure>& failures,
                                             double minLead) {
    std::vector<std::string> lines;
    std::vector<bool> done(failures.size(), false);
    for (size_t i = 0; i < failures.size(); ++i) {
        if (done[i]) continue;
        const BalanceFailure& f = failures[i];
        done[i] = true;
        // The other port at the same setting, failing the same way.
        int port = f.Port;
        std::optional<double> otherLap;
        for (size_t k = i + 1; k < failures.size() && port != NoPort; ++k) {
            if (!done[k] && SameKind(failures[k], f) && failures[k].Port != f.Port) {
                done[k] = true;
                otherLap = failures[k].Lap;
                port = NoPort;
            }
        }
        // The same distance on the other side of mid gear, failing alike.
        bool bothSides = false;
        for (size_t k = i + 1; k < failures.size() && f.Offset; ++k) {
            const BalanceFailure& g = failures[k];
            if (done[k] || g.Problem != f.Problem || !g.Offset || *g.Offset != -*f.Offset ||
                *f.Offset == 0.0)
                continue;
            if (g.Port != f.Port && port != NoPort) continue;
            bool otherPortToo = port != NoPort;
            for (size_t j = k + 1; j < failures.size() && port == NoPort; ++j) {
                if (!done[j] && SameKind(failures[j], g) && failures[j].Port != g.Port) {
                    done[j] = true;
                    otherPortToo = true;
                }
            }
            if (!otherPortToo) continue;
            done[k] = bothSides = true;
            break;
        }
        lines.push_back(Line(f, port, bothSides, minLead, otherLap));
    }
    return lines;
}

std::string BalanceFailureSummary(const std::vector<BalanceFailure>& failures, size_t settings,
                                  double minLead) {
    // Rows (setting and direction) at which each port's lead fails.
    std::vector<std::pair<double, RunDirection>> front, rear, cutOff, closes;
    const auto add = [](auto& list, const BalanceFailure& f) {
        for (const auto& e : list)
            if (e.first == f.Setting && e.second == f.Direction) return;
        list.emplace_back(f.Setting, f.Direction);
    };
    for (const BalanceFailure& f : failures) {
        switch (f.Problem) {
        case BalanceProblem::NoLead:
        case BalanceProblem::NoAdmission:
            add(f.Port == FrontPort ? front : rear, f);
            break;
        case BalanceProblem::LostCutOff:
            add(cutOff, f);
            break;
        default:
            add(closes, f);
            break;
        }
    }
    const std::string how = minLead == 0.0 ? "negative" : "below " + Short(minLead);
    const auto at = [&](size_t n) {
        return n >= settings ? std::string("every setting")
                             : std::to_string(n) + " of " + std::to_string(settings) + " settings";
    };
    std::vector<std::string> parts;
    if (!front.empty() && front.size() == rear.size())
        parts.push_back("The leads are " + how + " at " + at(front.size()));
    else {
        if (!front.empty()) parts.push_back("The front lead is " + how + " at " + at(front.size()));
        if (!rear.empty()) parts.push_back("The rear lead is " + how + " at " + at(rear.size()));
    }
    if (!cutOff.empty())
        parts.push_back("A port loses its cut-off at " + std::to_string(cutOff.size()) +
                        (cutOff.size() == 1 ? " setting" : " settings"));
    if (!closes.empty())
        parts.push_back("The linkage does not close at " + std::to_string(closes.size()) +
                        (closes.size() == 1 ? " setting" : " settings"));
    std::string text;
    for (size_t i = 0; i < parts.size(); ++i) {
        std::string p = parts[i];
        if (i > 0) p[0] = static_cast<char>(p[0] - 'A' + 'a');
        text += (i ? "; " : "") + p;
    }
    return text;
}

} // namespace kes
