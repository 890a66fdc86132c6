// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/balance_suggest.h"

#include "analysis/sensitivity.h"
#include "model/dimensions.h"

#include <algorithm>
#include <cmath>

namespace kes {

namespace {

constexpr double LeadAimAbove = 0.001; // the repair's margin above the least lead
constexpr double LeastScore = 0.05;    // below this a dimension is not worth naming
constexpr size_t GroupsNamed = 3;

// The wheel, the stroke, the main rod and the cylinder casting are the
// engine's; ValveLength*, ExhCavity* and the valve stem are the valve's.
bool IsGearOrValve(int id) {
    if (id >= 4 && id <= 28) return true;
    return id >= 118 && id <= 122;
}

struct Group {
    int A, B;
    const char* Both;
    const char* OnlyA;
    const char* OnlyB;
};
const Group Groups[] = {
    {119, 118, "the valve's steam laps (Valve Length Front/Rear Half)",
     "the front steam lap (Valve Length Front Half)",
     "the rear steam lap (Valve Length Rear Half)"},
    {7, 9, "the combination lever (Combo Lever Upper/Lower)",
     "the combination lever (Combo Lever Upper)", "the combination lever (Combo Lever Lower)"},
    {121, 120, "the exhaust laps (Valve Exh Cavity Front/Rear Half)",
     "the front exhaust lap (Valve Exh Cavity Front Half)",
     "the rear exhaust lap (Valve Exh Cavity Rear Half)"},
};

const Group* GroupOf(int id) {
    for (const Group& g : Groups)
        if (g.A == id || g.B == id) return &g;
    return nullptr;
}

bool Contains(const std::vector<int>& ids, int id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

bool SameNumber(const std::optional<double>& a, const std::optional<double>& b) {
    return a.has_value() == b.has_value() && (!a || *a == *b);
}

bool SamePort(const PortEventSet& a, const PortEventSet& b) {
    for (int k = 0; k < EventKindCount; ++k) {
        const auto ka = static_cast<EventKind>(k);
        if (!SameNumber(a.Pct(ka), b.Pct(ka)) || !SameNumber(a.Deg(ka), b.Deg(ka))) return false;
    }
    return SameNumber(a.Lead, b.Lead) && SameNumber(a.MaxSteamOpening, b.MaxSteamOpening) &&
           SameNumber(a.MaxExhaustOpening, b.MaxExhaustOpening);
}

bool SameEvents(const EventsReport& a, const EventsReport& b) {
    if (!SameNumber(a.MidGear, b.MidGear) || a.Rows.size() != b.Rows.size()) return false;
    for (size_t i = 0; i < a.Rows.size(); ++i) {
        const TurnEvents& x = a.Rows[i].Events;
        const TurnEvents& y = b.Rows[i].Events;
        if (x.Closes != y.Closes || !SameNumber(x.ValveTravel, y.ValveTravel) ||
            !SamePort(x.Front, y.Front) || !SamePort(x.Rear, y.Rear))
            return false;
    }
    return true;
}

} // namespace

std::vector<FreeSuggestion> RankFreeDimensions(const Mechanism& m, const BalanceDef& def,
                                               const std::vector<int>& exclude) {
    std::vector<FreeSuggestion> ranked;
    const EventsReport base = ComputeReport(m, def.Settings);
    // Each row and port: its lead and how far it is short of the aim.
    struct Item {
        double Lead = 0.0;
        double Short = 0.0;
    };
    std::vector<Item> items(base.Rows.size() * 2);
    const double aim = def.MinLead + LeadAimAbove;
    double total = 0.0;
    for (size_t r = 0; r < base.Rows.size(); ++r) {
        for (int port = 0; port < 2; ++port) {
            const auto& lead =
                (port == 0 ? base.Rows[r].Events.Front : base.Rows[r].Events.Rear).Lead;
            Item& it = items[r * 2 + static_cast<size_t>(port)];
            it.Lead = lead.value_or(aim);
            it.Short = std::max(0.0, aim - it.Lead);
            total += it.Short;
        }
    }
    if (!(total > 0.0)) return ranked;

    const SensitivityTable table = ComputeSensitivity(m, def.Settings);
    for (size_t i = 0; i < table.Ids.size(); ++i) {
        const int id = table.Ids[i];
        if (!IsGearOrValve(id) || Contains(exclude, id)) continue;
        const BalanceFreeDim range = DefaultFreeDim(m, id);
        const double reach = (range.Upper - range.Lower) / 2.0 / SensitivityStep;
        double best = 0.0;
        int bestSign = 0;
        for (int sign : {1, -1}) {
            double score = 0.0;
            for (size_t r = 0; r < table.Rows.size() && r < base.Rows.size(); ++r) {
                for (int port = 0; port < 2; ++port) {
                    const std::optional<double>& s =
                        table.At(i, r)[static_cast<size_t>(port)][SensLead];
                    if (!s) continue;
                    const double gain = sign * *s * reach;
                    const Item& it = items[r * 2 + static_cast<size_t>(port)];
                    if (it.Short > 0.0)
                        score += gain > 0.0 ? std::min(it.Short, gain) : gain;
                    else if (gain < 0.0)
                        score -= std::max(0.0, -gain - (it.Lead - aim));
                }
            }
            if (score > best) {
                best = score;
                bestSign = sign;
            }
        }
        const double share = best / total;
        if (share >= LeastScore) ranked.push_back(FreeSuggestion{id, share, bestSign});
    }
    std::stable_sort(
        ranked.begin(), ranked.end(),
        [](const FreeSuggestion& a, const FreeSuggestion& b) { return a.Score > b.Score; });
    return ranked;
}

std::vector<int> DimensionsToAdd(const std::vector<FreeSuggestion>& ranked, int max) {
    std::vector<int> ids;
    const auto room = [&] { return static_cast<int>(ids.size()) < max; };
    for (const FreeSuggestion& s : ranked) {
        if (!room()) break;
        if (Contains(ids, s.Id)) continue;
        ids.push_back(s.Id);
        // A lap comes with its partner when that helps too.
        if (const Group* g = GroupOf(s.Id)) {
            const int other = g->A == s.Id ? g->B : g->A;
            for (const FreeSuggestion& t : ranked)
                if (t.Id == other && room() && !Contains(ids, other)) ids.push_back(other);
        }
    }
    return ids;
}

std::string FreeAdvice(const std::vector<FreeSuggestion>& ranked) {
    std::vector<std::string> names;
    std::vector<const Group*> seen;
    for (const FreeSuggestion& s : ranked) {
        if (names.size() >= GroupsNamed) break;
        const Group* g = GroupOf(s.Id);
        if (g) {
            if (std::find(seen.begin(), seen.end(), g) != seen.end()) continue;
            seen.push_back(g);
            const int other = g->A == s.Id ? g->B : g->A;
            bool both = false;
            for (const FreeSuggestion& t : ranked)
                both = both || t.Id == other;
            names.push_back(both ? g->Both : (s.Id == g->A ? g->OnlyA : g->OnlyB));
        } else {
            names.push_back(PlainDimensionName(s.Id));
        }
    }
    if (names.empty()) return {};
    std::string text = "free " + names[0];
    for (size_t i = 1; i < names.size(); ++i)
        text += (i + 1 == names.size() ? " or " : ", ") + names[i];
    return text;
}

std::string SuggestionLine(const std::string& summary, const std::string& advice) {
    if (summary.empty()) return advice;
    if (advice.empty()) return summary + ": no dimension of the gear or the valve helps enough";
    return summary + ": " + advice;
}

std::vector<int> NoEffectDimensions(const Mechanism& m, const BalanceDef& def) {
    std::vector<int> ids;
    // The optional terms look at mid gear and normal full gear too.
    ReportDef probe = def.Settings;
    if (probe.Settings.empty())
        for (double o : {0.0, static_cast<double>(m.Frame.RevArmNorm),
                         -static_cast<double>(m.Frame.RevArmNorm)})
            probe.Offsets.push_back(o);
    const EventsReport base = ComputeReport(m, probe);
    EventsReport moved;
    for (const BalanceFreeDim& f : def.Free) {
        const float v = GetDimension(m, f.Id);
        const float step = std::max(0.01f, std::fabs(v) * 0.01f);
        bool none = true;
        for (float to : {v + step, v - step}) {
            Mechanism copy = m;
            SetDimension(copy, f.Id, to);
            ComputeReport(copy, probe, moved);
            none = none && SameEvents(base, moved);
        }
        if (none) ids.push_back(f.Id);
    }
    return ids;
}

std::string NoEffectText(int id) {
    return PlainDimensionName(id) + " has no effect on the events: left as it is";
}

std::string PlainDimensionName(int id) {
    std::string out;
    for (char c : DimensionName(id)) {
        if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
        out.push_back(c);
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

} // namespace kes
