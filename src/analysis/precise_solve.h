// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The linkage in double precision: the same assembly that SolveLinkage
// finds, with its two loop closures (the radius bar, the combination lever)
// polished to 1e-10 by TOMS 748 instead of a shrinking step. The shrinking
// step leaves errors of about a thousandth; event positions and the
// sensitivities need far less.
//
// A PreciseLinkage holds its own copy of the mechanism: build one per design,
// then solve it as often as wanted. Solve allocates nothing. One object is
// not to be shared between threads; a copy is cheap.

#include "model/model.h"

#include <array>
#include <optional>

namespace kes {

struct Vec2 {
    double X = 0.0;
    double Y = 0.0;
};

// Why a solve could not close the linkage.
enum class ClosureFailure {
    None,
    BadDimensions,    // a dimension is not a finite number, or a length is 0
    ReverseArm,       // the reverse arm cannot reach the setting
    EccentricCrank,   // the return crank cannot join the main crank pin
    MainRod,          // the main rod cannot reach the cylinder line
    RadiusBar,        // no position of the bell crank lets the radius bar close
    CombinationLever, // no position of the valve rod lets the lever meet the stem
};
const char* ClosureFailureText(ClosureFailure f);

// Where a closure search starts: the bell-crank horizontal pin height (Y5)
// and the valve-rod front pin height (Y8) of a nearby solution, and how far
// off they may be.
struct PreciseSeed {
    double BellCrankPinY = 0.0;
    double ValveRodPinY = 0.0;
    double Spread = 1e-3;
};

struct PreciseSolution {
    ClosureFailure Failure = ClosureFailure::None;
    bool Closes() const { return Failure == ClosureFailure::None; }
    // Points 0..23 in world coordinates, as SolveLinkage numbers them; the
    // pivots (6, 11) are stored as absolute positions in 22 and 23 and kept
    // relative in 6 and 11, as in the model.
    std::array<Vec2, 24> P{};
    double ValveOffset = 0.0; // valve centre ahead of the cylinder centre
    double PistonX = 0.0;     // X of the crosshead pin
    // The seed of a neighbouring solve.
    PreciseSeed Seed() const;
};

// The four port openings, positive while the port is open that way.
struct PortOpenings {
    double FrontSteam = 0.0;
    double FrontExhaust = 0.0;
    double RearSteam = 0.0;
    double RearExhaust = 0.0;
};

class PreciseLinkage {
  public:
    explicit PreciseLinkage(const Mechanism& m);

    // theta: crank angle in degrees; setting: X of the reverse-arm top.
    // Without a seed the closures start from SolveLinkage on a local copy.
    PreciseSolution Solve(double theta, double setting,
                          const std::optional<PreciseSeed>& seed = std::nullopt);

    // The X of the crosshead pin from the crank alone; absent where the main
    // rod cannot reach the cylinder line.
    std::optional<double> PistonX(double theta) const;
    PortOpenings Openings(double valveOffset) const;
    // SolveLinkage's seed for a solve, on the local copy.
    PreciseSeed SeedFromSolveLinkage(double theta, double setting);

    const Mechanism& Source() const { return copy_; }
    // Steam and exhaust port widths (for the checks).
    double FrontSteamPortWidth() const { return frontPortWidth_; }
    double RearSteamPortWidth() const { return rearPortWidth_; }

  private:
    void Load();
    bool FixedParts(double theta, double setting, PreciseSolution& s) const;
    double RadiusBarGap(double y5, PreciseSolution& s, bool& exact) const;
    double LeverGap(double y8, PreciseSolution& s, bool& exact) const;

    Mechanism copy_;
    bool valid_ = false;
    // Dimensions in double, read once.
    double gmX_ = 0, gmY_ = 0, bcX_ = 0, bcY_ = 0, raX_ = 0, raY_ = 0;
    double revUpper_ = 0, revLower_ = 0, radiusBar_ = 0;
    double gcrUpper_ = 0, gcrLower_ = 0, gcrSpan_ = 0, gcrCos_ = 1, gcrSin_ = 0;
    double bcVertSpan_ = 0, bcVertCos_ = 1, bcVertSin_ = 0, bcHorz_ = 0;
    double crank_ = 0, ecc_ = 0, eccLeadRad_ = 0, crankOffsetX_ = 0;
    double mainRod_ = 0, crossheadY_ = 0, stemY_ = 0;
    double dropVert_ = 0, dropBack_ = 0, unionLink_ = 0, eccRod_ = 0, valveRod_ = 0;
    double lowerLever_ = 0, upperLever_ = 0, leverBack_ = 0;
    double valveCtrToJoint_ = 0, cylCtrToDriver_ = 0;
    double frontSteamLevel_ = 0, frontExhaustLevel_ = 0, rearSteamLevel_ = 0, rearExhaustLevel_ = 0;
    double frontPortWidth_ = 0, rearPortWidth_ = 0;
    bool eccOk_ = false;
};

} // namespace kes
