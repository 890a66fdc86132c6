// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Both ends of one cylinder as control volumes over a turn of the crank:
// mass and energy of the steam in each end, fed from the chest and emptied
// to the exhaust through the port openings of a PortTable, as compressible
// flow through an orifice. Integrated in crank angle with an adaptive
// Dormand-Prince stepper, turn after turn until the cycle repeats. SI units
// (metres, Pa absolute, kg, J). Run allocates nothing.

#include "cylinder/port_table.h"
#include "cylinder/steam_gas.h"

#include <array>

namespace kes {

struct CylinderGeometry {
    double BoreArea_m2 = 0.0;
    double RodArea_m2 = 0.0; // on the rear end
    double ClearanceFront_m3 = 0.0, ClearanceRear_m3 = 0.0;
    double PortCircumference_m = 0.0;
    double DischargeCoefficient = 0.8;
    double DriverDiameter_m = 0.0;
    double Rpm = 0.0;
    bool Condensation = false;
};

// One whole degree of the last turn, from the front dead centre.
struct CardPoint {
    double Volume_m3 = 0.0;
    double Pressure_Pa = 0.0; // absolute
};

struct EndCycle {
    std::array<CardPoint, 360> Card{};
    double Work_J = 0.0;     // per turn, the card's area
    double SteamIn_kg = 0.0; // net from the chest per turn
    double Swept_m3 = 0.0;
    double Mep_Pa() const { return Work_J / Swept_m3; }
};

// The steam in both ends at the front dead centre, scaled as the model
// keeps it: where a turn ends, and where a like one may start.
struct CylinderState {
    std::array<double, 4> Y{};
    bool Set = false;
};

struct CylinderCycle {
    bool Converged = false;
    int Turns = 0;
    EndCycle Front, Rear;
    // Tractive effort at the rim of one cylinder at each degree (N).
    std::array<double, 360> RimForce_N{};
    CylinderState End; // at the end of the last turn
};

struct CylinderRunOptions {
    // Turns run until the work and the trapped steam of successive turns
    // agree to this (relative), at most MaxTurns.
    double Tolerance = 1e-3;
    int MaxTurns = 40;
    // The integrator's relative error per step (the absolute one a tenth of
    // it). Smaller makes the card a smoother function of the design, for an
    // optimiser, at some cost.
    double StepTolerance = 1e-5;
    // Where the first turn starts: the end of a turn of a near case (another
    // speed, the same ports) saves turns; unset, both ends start from rest.
    CylinderState Start;
};

void RunCylinder(const SteamGas& gas, const CylinderGeometry& geometry, const PortTable& ports,
                 CylinderCycle& out, const CylinderRunOptions& options);
// The same with the default options but for the cycle tolerance and turns.
void RunCylinder(const SteamGas& gas, const CylinderGeometry& geometry, const PortTable& ports,
                 CylinderCycle& out, double tolerance = 1e-3, int maxTurns = 40);

// The ideal card of instant events with expansion and compression as p V^n
// (n = 1: hyperbolic); volumes as fractions of the swept volume from the
// end's dead centre, clearance c0. The MEP as a fraction of p1, with the
// back pressure as a fraction of p1 too.
double IdealCardMep(double cutOff, double release, double compression, double clearance, double n,
                    double backRatio);

} // namespace kes
