// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mid-gear read-outs of the sine and oval diagrams: lead, steam lap and
// exhaust clearance of each end, from the valve-stem joint's travel over the
// sine diagram's samples and the port-edge levels of the last solve.

#include <string>

namespace kes {
struct Mechanism;
}

namespace analysis {

// Strictly within this of MidGear counts as mid gear.
inline constexpr double MidGearBand = 0.05;

// The sine diagram's samples j = 7 .. 73 at driver angle 8 j + 272 (328
// degrees, then on through 360 to 136 degrees of the next turn).
inline constexpr int SineFirstSample = 7;
inline constexpr int SineLastSample = 73;
float SineSampleAngle(int j);

// The least and greatest valve-stem joint X seen at mid gear.
struct JointTravel {
    float Min = 1000.0f;
    float Max = 0.0f;
    void Add(float x) {
        if (x < Min) Min = x;
        if (x > Max) Max = x;
    }
};

// The six mid-gear read-outs in the order they stand from top to bottom:
// rear lead, front steam lap, front exhaust clearance, rear exhaust
// clearance, rear steam lap, front lead.
struct MidGearReadouts {
    float RearLead = 0, FrontSteamLap = 0, FrontExhaustClearance = 0;
    float RearExhaustClearance = 0, RearSteamLap = 0, FrontLead = 0;
};

// Strictly within MidGearBand of MidGear, measured in double; MidGear +-
// 0.05 as a float position holds it is outside.
bool IsAtMidGear(const kes::Mechanism& m, double position);
// ValveLengthRear > SteamPortWidthRear: the read-outs' normal mode.
bool NormalReadoutMode(const kes::Mechanism& m);
MidGearReadouts ComputeReadouts(const kes::Mechanism& m, const JointTravel& travel);
// A value as the read-outs format it (6:3).
std::string FormatReadout(float v);

// The read-outs the sine diagram prints for a position within MidGearBand
// of mid gear: the same sweep, without painting. Restores RevArmSetting and
// DriverAngle.
MidGearReadouts SineReadouts(kes::Mechanism& m, float position);

} // namespace analysis
