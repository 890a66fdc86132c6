// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/precise_solve.h"

#include "analysis/root_near.h"
#include "model/solver.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kes {

namespace {

using analysis_detail::RootNear;
using analysis_detail::RootSearch;

constexpr double DegToRad = std::numbers::pi / 180.0;
// The closures are polished until their bracket is this narrow; the linkage
// then closes to well inside 1e-10.
constexpr double ClosureTolerance = 1e-12;
// A closure whose remaining gap is larger than this has met a jump (a branch
// change), not a root.
constexpr double ClosureGapLimit = 1e-8;

double Sq(double v) {
    return v * v;
}

// The unit vector at the angle atan(y / x), the one-argument arctangent the
// float solver uses: (x, y) turned into the right half-plane.
Vec2 AtanDir(double y, double x) {
    const double n = std::hypot(x, y);
    if (n == 0.0) return {1.0, 0.0};
    const double sign = x >= 0.0 ? 1.0 : -1.0;
    return {sign * x / n, sign * y / n};
}

double Dist(const Vec2& a, const Vec2& b) {
    return std::hypot(a.X - b.X, a.Y - b.Y);
}

bool AllFinite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

} // namespace

const char* ClosureFailureText(ClosureFailure f) {
    switch (f) {
    case ClosureFailure::None:
        return "closes";
    case ClosureFailure::BadDimensions:
        return "dimensions out of range";
    case ClosureFailure::ReverseArm:
        return "reverse arm cannot reach the setting";
    case ClosureFailure::EccentricCrank:
        return "return crank cannot join the crank pin";
    case ClosureFailure::MainRod:
        return "main rod cannot reach the cylinder line";
    case ClosureFailure::RadiusBar:
        return "radius bar cannot close";
    case ClosureFailure::CombinationLever:
        return "combination lever cannot close";
    }
    return "";
}

PreciseSeed PreciseSolution::Seed() const {
    return PreciseSeed{P[BellCrankHorzPin].Y, P[ValveRodFrontPin].Y, 1e-4};
}

PreciseLinkage::PreciseLinkage(const Mechanism& m) : copy_(m) {
    Load();
}

void PreciseLinkage::Load() {
    const Mechanism& m = copy_;
    const FrameDimensions& f = m.Frame;
    const BakerDimensions& b = m.Baker;
    const CylinderArray& c = m.Cylinder;
    gmX_ = m.Points[GearMount].X;
    gmY_ = m.Points[GearMount].Y;
    bcX_ = m.Points[BellCrankPivot].X;
    bcY_ = m.Points[BellCrankPivot].Y;
    raX_ = m.Points[RevArmPivot].X;
    raY_ = m.Points[RevArmPivot].Y;
    revUpper_ = b.RevArmUpperLength;
    revLower_ = b.RevArmLowerLength;
    radiusBar_ = b.RadiusBarLength;
    gcrUpper_ = b.GearConRodUpper;
    gcrLower_ = b.GearConRodLower;
    gcrSpan_ = std::hypot(gcrUpper_ + gcrLower_, static_cast<double>(b.GearConRodBackset));
    const Vec2 g = AtanDir(b.GearConRodBackset, gcrUpper_ + gcrLower_);
    gcrCos_ = g.X;
    gcrSin_ = g.Y;
    bcVertSpan_ = std::hypot(static_cast<double>(b.BellCrankVert), b.BellCrankBackSet);
    const Vec2 bv = AtanDir(b.BellCrankBackSet, b.BellCrankVert);
    bcVertCos_ = bv.X;
    bcVertSin_ = bv.Y;
    bcHorz_ = b.BellCrankHorz;
    crank_ = f.StrokeLength / 2.0;
    ecc_ = f.EccCircleDiameter / 2.0;
    crankOffsetX_ = m.Points[CrankOffset].X;
    mainRod_ = f.MainRodLength;
    crossheadY_ = m.Points[Crosshead].Y;
    stemY_ = static_cast<double>(m.Points[Crosshead].Y) + c[ValveStemToCylCL];
    dropVert_ = f.DropLinkVert;
    dropBack_ = f.DropLinkBackSet;
    unionLink_ = f.UnionLinkLength;
    eccRod_ = f.EccRodLength;
    valveRod_ = f.ValveRodLength;
    lowerLever_ = f.CombLeverLower;
    upperLever_ = f.CombLeverUpper;
    leverBack_ = f.CombLeverBackSet;
    valveCtrToJoint_ = c[ValveCtrToJoint];
    cylCtrToDriver_ = c[CylCtrToDriver];

    const double h = c[ExhaustPortWidth] / 2.0;
    frontSteamLevel_ =
        h + c[BridgeWidthFront] + static_cast<double>(c[SteamPortWidthFront]) - c[ValveLengthFront];
    frontExhaustLevel_ = h + c[BridgeWidthFront] - static_cast<double>(c[ExhCavityFront]);
    rearSteamLevel_ =
        h + c[BridgeWidthRear] + static_cast<double>(c[SteamPortWidthRear]) - c[ValveLengthRear];
    rearExhaustLevel_ = h + c[BridgeWidthRear] - static_cast<double>(c[ExhCavityRear]);
    frontPortWidth_ = c[SteamPortWidthFront];
    rearPortWidth_ = c[SteamPortWidthRear];

    valid_ = AllFinite({gmX_,
                        gmY_,
                        bcX_,
                        bcY_,
                        raX_,
                        raY_,
                        revUpper_,
                        revLower_,
                        radiusBar_,
                        gcrUpper_,
                        gcrLower_,
                        gcrSpan_,
                        bcVertSpan_,
                        bcHorz_,
                        crank_,
                        ecc_,
                        crankOffsetX_,
                        mainRod_,
                        crossheadY_,
                        stemY_,
                        dropVert_,
                        dropBack_,
                        unionLink_,
                        eccRod_,
                        valveRod_,
                        lowerLever_,
                        upperLever_,
                        leverBack_,
                        valveCtrToJoint_,
                        cylCtrToDriver_,
                        frontSteamLevel_,
                        frontExhaustLevel_,
                        rearSteamLevel_,
                        rearExhaustLevel_,
                        static_cast<double>(f.EccCrankLength)}) &&
             crank_ > 0.0 && ecc_ > 0.0 && revUpper_ + revLower_ > 0.0 && lowerLever_ != 0.0 &&
             mainRod_ > 0.0;
    const double k =
        valid_ ? (Sq(crank_) + Sq(ecc_) - Sq(f.EccCrankLength)) / (2.0 * crank_ * ecc_) : 0.0;
    eccOk_ = valid_ && std::fabs(k) <= 1.0;
    // The return crank stands at the crank angle minus the lead angle.
    eccLeadRad_ = eccOk_ ? std::asin(k) - std::numbers::pi / 2.0 : 0.0;
}

std::optional<double> PreciseLinkage::PistonX(double theta) const {
    const double a = theta * DegToRad;
    const double x12 = std::cos(a) * crank_ + crankOffsetX_;
    const double y12 = -std::sin(a) * crank_;
    const double v = Sq(mainRod_) - Sq(crossheadY_ - y12);
    if (!(v >= 0.0)) return std::nullopt;
    return x12 + std::sqrt(v);
}

PortOpenings PreciseLinkage::Openings(double vo) const {
    return PortOpenings{frontSteamLevel_ - vo, vo - frontExhaustLevel_, vo + rearSteamLevel_,
                        -vo - rearExhaustLevel_};
}

PreciseSeed PreciseLinkage::SeedFromSolveLinkage(double theta, double setting) {
    copy_.DriverAngle = static_cast<float>(theta);
    copy_.RevArmSetting = static_cast<float>(setting);
    SolveLinkage(copy_);
    return PreciseSeed{copy_.Points[BellCrankHorzPin].Y, copy_.Points[ValveRodFrontPin].Y, 1e-3};
}

// Everything that follows from the angle and the setting without a search.
bool PreciseLinkage::FixedParts(double theta, double setting, PreciseSolution& s) const {
    auto& P = s.P;
    P[GearMount] = {gmX_, gmY_};
    P[BellCrankPivot] = {bcX_, bcY_};
    P[RevArmPivot] = {raX_, raY_};
    P[BellCrankPivotAbs] = {gmX_ - bcX_, gmY_ + bcY_};
    P[RevArmPivotAbs] = {gmX_ - raX_, gmY_ - raY_};
    P[CrankOffset] = {crankOffsetX_, 0.0};

    // Reverse arm: the top stands above the pivot.
    const double arm = revUpper_ + revLower_;
    const double reach = Sq(arm) - Sq(gmX_ - raX_ - setting);
    if (!(reach >= 0.0)) {
        s.Failure = ClosureFailure::ReverseArm;
        return false;
    }
    P[RevArmTop] = {setting, std::sqrt(reach) + (gmY_ - raY_)};
    const Vec2& pivot = P[RevArmPivotAbs];
    P[RevArmRadiusPin] = {pivot.X + (setting - pivot.X) * revLower_ / arm,
                          pivot.Y + (P[RevArmTop].Y - pivot.Y) * revLower_ / arm};

    if (!eccOk_) {
        s.Failure = ClosureFailure::EccentricCrank;
        return false;
    }
    const double phi = theta * DegToRad - eccLeadRad_;
    P[EccCrankPin] = {std::cos(phi) * ecc_, -std::sin(phi) * ecc_};

    const double a = theta * DegToRad;
    P[CrankPin] = {std::cos(a) * crank_ + crankOffsetX_, -std::sin(a) * crank_};
    const double rod = Sq(mainRod_) - Sq(crossheadY_ - P[CrankPin].Y);
    if (!(rod >= 0.0)) {
        s.Failure = ClosureFailure::MainRod;
        return false;
    }
    P[Crosshead] = {P[CrankPin].X + std::sqrt(rod), crossheadY_};
    P[UnionLinkRearPin] = {P[Crosshead].X - dropBack_, crossheadY_ - dropVert_};
    s.PistonX = P[Crosshead].X;
    return true;
}

// With the bell-crank horizontal pin at height y5: the eccentric rod's front
// pin where the gear connecting rod reaches it, the rod's radius-bar pin, and
// how much longer the radius bar would have to be. Where a link cannot reach,
// the nearest reachable position stands in and exact is cleared, so the gap
// stays continuous for the root finder.
double PreciseLinkage::RadiusBarGap(double y5, PreciseSolution& s, bool& exact) const {
    auto& P = s.P;
    exact = true;
    const Vec2& pivot = P[BellCrankPivotAbs];
    double w = Sq(bcHorz_) - Sq(y5 - pivot.Y);
    if (w < 0.0) {
        exact = false;
        w = 0.0;
    }
    P[BellCrankHorzPin] = {pivot.X - std::sqrt(w), y5};

    // The front pin lies on the eccentric rod's circle, in front of the
    // return-crank pin, and the gear connecting rod's span below the top pin.
    const Vec2& e = P[EccCrankPin];
    const Vec2& top = P[BellCrankHorzPin];
    const double d = Dist(e, top);
    if (d == 0.0) {
        exact = false;
        P[EccRodFrontPin] = {e.X + eccRod_, e.Y};
    } else {
        const double a = (Sq(eccRod_) - Sq(gcrSpan_) + Sq(d)) / (2.0 * d);
        double hh = Sq(eccRod_) - Sq(a);
        if (hh < 0.0) {
            exact = false;
            hh = 0.0;
        }
        const double h = std::sqrt(hh);
        const double ux = (top.X - e.X) / d, uy = (top.Y - e.Y) / d;
        const Vec2 base{e.X + a * ux, e.Y + a * uy};
        const Vec2 p1{base.X - h * uy, base.Y + h * ux};
        const Vec2 p2{base.X + h * uy, base.Y - h * ux};
        const bool front1 = p1.X >= e.X, front2 = p2.X >= e.X;
        if (front1 && front2)
            P[EccRodFrontPin] = p1.Y < p2.Y ? p1 : p2;
        else if (front1 || front2)
            P[EccRodFrontPin] = front1 ? p1 : p2;
        else {
            exact = false;
            P[EccRodFrontPin] = p1.X > p2.X ? p1 : p2;
        }
    }

    // The rod's tilt from the vertical, less the angle of its lower offset.
    const Vec2& low = P[EccRodFrontPin];
    const Vec2 tilt = AtanDir(top.X - low.X, top.Y - low.Y); // (cos, sin)
    const double sinA = tilt.Y * gcrCos_ - tilt.X * gcrSin_;
    const double cosA = tilt.X * gcrCos_ + tilt.Y * gcrSin_;
    P[GearConRodRadiusPin] = {top.X - sinA * gcrUpper_, top.Y - cosA * gcrUpper_};
    return Dist(P[RevArmRadiusPin], P[GearConRodRadiusPin]) - radiusBar_;
}

// With the valve-rod front pin at height y8: the combination lever hung from
// it with the union link closed, and how far the lever's top stands above
// the valve-stem line.
double PreciseLinkage::LeverGap(double y8, PreciseSolution& s, bool& exact) const {
    auto& P = s.P;
    exact = true;
    const Vec2& back = P[BellCrankVertPin];
    double w = Sq(valveRod_) - Sq(y8 - back.Y);
    if (w < 0.0) {
        exact = false;
        w = 0.0;
    }
    P[ValveRodFrontPin] = {back.X + std::sqrt(w), y8};
    const Vec2& pin = P[ValveRodFrontPin];
    const Vec2& rear = P[UnionLinkRearPin];
    const double d = Dist(pin, rear);
    double k = 1.0;
    if (d == 0.0)
        exact = false;
    else
        k = (Sq(d) + Sq(lowerLever_) - Sq(unionLink_)) / (2.0 * d * lowerLever_);
    if (k > 1.0 || k < -1.0) {
        exact = false;
        k = std::clamp(k, -1.0, 1.0);
    }
    const double ck = std::sqrt(1.0 - k * k);
    const Vec2 g0 = AtanDir(pin.Y - rear.Y, pin.X - rear.X); // (cos, sin)
    const double sinG = k * g0.X - ck * g0.Y;
    const double cosG = ck * g0.X + k * g0.Y;
    P[CombLeverLowerPin] = {pin.X - sinG * lowerLever_, pin.Y - cosG * lowerLever_};

    const Vec2& lowPin = P[CombLeverLowerPin];
    const Vec2 d0 = AtanDir(pin.X - lowPin.X, pin.Y - lowPin.Y); // (cos, sin) from vertical
    const Vec2 off = AtanDir(leverBack_, upperLever_);
    const double topSpan = std::hypot(upperLever_, leverBack_);
    const double sinD = d0.Y * off.X - d0.X * off.Y;
    const double cosD = d0.X * off.X + d0.Y * off.Y;
    P[ValveStemJoint] = {pin.X + sinD * topSpan, stemY_};
    return pin.Y + cosD * topSpan - stemY_;
}

PreciseSolution PreciseLinkage::Solve(double theta, double setting,
                                      const std::optional<PreciseSeed>& seed) {
    PreciseSolution s;
    if (!valid_ || !std::isfinite(theta) || !std::isfinite(setting)) {
        s.Failure = ClosureFailure::BadDimensions;
        return s;
    }
    if (!FixedParts(theta, setting, s)) return s;
    const PreciseSeed from = seed ? *seed : SeedFromSolveLinkage(theta, setting);
    const double spread = std::max(std::fabs(from.Spread), 1e-9);
    bool exact = true;

    // The radius bar: search the bell-crank horizontal pin's height.
    const Vec2 bcPivot = s.P[BellCrankPivotAbs];
    auto radius = [&](double y) { return RadiusBarGap(y, s, exact); };
    const RootSearch rs{bcPivot.Y - bcHorz_, bcPivot.Y + bcHorz_, spread, ClosureTolerance};
    const std::optional<double> y5 = RootNear(radius, from.BellCrankPinY, rs);
    if (!y5 || !(std::fabs(RadiusBarGap(*y5, s, exact)) <= ClosureGapLimit) || !exact) {
        s.Failure = ClosureFailure::RadiusBar;
        return s;
    }

    // The bell crank's vertical arm hangs below its pivot.
    {
        const Vec2& pin = s.P[BellCrankHorzPin];
        const Vec2 b0 = AtanDir(pin.Y - bcPivot.Y, bcPivot.X - pin.X); // (cos, sin)
        const double sinB = b0.Y * bcVertCos_ + b0.X * bcVertSin_;
        const double cosB = b0.X * bcVertCos_ - b0.Y * bcVertSin_;
        s.P[BellCrankVertPin] = {bcPivot.X - sinB * bcVertSpan_, bcPivot.Y - cosB * bcVertSpan_};
    }

    // The combination lever: search the valve-rod front pin's height.
    const Vec2 vrBack = s.P[BellCrankVertPin];
    auto lever = [&](double y) { return LeverGap(y, s, exact); };
    const RootSearch ls{vrBack.Y - valveRod_, vrBack.Y + valveRod_, spread, ClosureTolerance};
    const std::optional<double> y8 = RootNear(lever, from.ValveRodPinY, ls);
    if (!y8 || !(std::fabs(LeverGap(*y8, s, exact)) <= ClosureGapLimit) || !exact) {
        s.Failure = ClosureFailure::CombinationLever;
        return s;
    }
    s.ValveOffset = valveCtrToJoint_ + s.P[ValveStemJoint].X - cylCtrToDriver_;
    return s;
}

} // namespace kes
