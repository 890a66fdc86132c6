// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The valve-setting sheet: what a fitter checks on the engine with a tram
// and a trammel. For each reverser notch, the crosshead's distance from its
// front dead centre at each port's admission, cut-off, release and
// compression, the leads at both dead centres, the valve travel and the
// largest port openings; and for the whole sheet the dead-centre crank
// angles and the crosshead travel. Lengths are in the design's own unit.
//
// Every crosshead figure is measured from the front dead centre (the one
// trammel mark a fitter scribes on the slide bar there), for the rear
// port's events too: a front event at p % of the stroke from its dead
// centre lies p/100 x stroke from it; a rear event at p % from the rear
// dead centre lies (100 - p)/100 x stroke from the front one.

#include "analysis/valve_events.h"
#include "model/model.h"

#include <optional>
#include <string>
#include <vector>

namespace kes {

struct SettingSheetDef {
    // Reverser notches as offsets of the reverse-arm setting from mid gear
    // (forward positive, reverse negative); 0 is listed both ways.
    std::vector<double> Offsets;
};

// Full gear (RevArmNorm) and 75, 50 and 25 % of it, forward then reverse.
SettingSheetDef DefaultSettingSheetDef(const Mechanism& m);

struct SheetPort {
    std::optional<double> Lead; // steam opening at the port's dead centre
    // Crosshead distance from the front dead centre at each event.
    std::optional<double> Admission, CutOff, Release, Compression;
    std::optional<double> MaxSteamOpening, MaxExhaustOpening;
};

struct SheetNotch {
    double Offset = 0.0;
    double Setting = 0.0; // X of the reverse-arm top
    RunDirection Direction = RunDirection::Forward;
    bool Closes = false;
    std::optional<double> ValveTravel;
    SheetPort Front, Rear;
};

struct SettingSheet {
    std::optional<double> MidGear;
    std::optional<double> Stroke; // crosshead travel, front to rear dead centre
    std::optional<double> FrontDeadCentreDeg, RearDeadCentreDeg;
    std::vector<SheetNotch> Notches;
};

// Works on its own copy of the mechanism. Without mid gear the sheet has no
// notches (offsets mean nothing without it).
SettingSheet ComputeSettingSheet(const Mechanism& m, const SettingSheetDef& def);

// {"stroke", "front_dead_centre_deg", "rear_dead_centre_deg", "notches":
// [{"offset", "setting", "direction", "valve_travel", "front": {"lead",
// "admission", "cutoff", "release", "compression"}, "rear": {...}}]}, null
// where a figure cannot be had.
std::string SettingSheetJson(const SettingSheet& s);
// One line per notch, every line carrying the stroke and the dead centres
// too, and the largest port openings after each port's events.
std::string SettingSheetCsv(const SettingSheet& s);

} // namespace kes
