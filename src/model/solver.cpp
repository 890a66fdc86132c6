// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/solver.h"

#include <cmath>
#include <numbers>

// Every value a step names is stored as a float before the next step reads
// it; the arithmetic inside one formula runs in double. The searches start
// from fixed seeds each call, so a result never depends on the call history.

namespace kes {

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double DegToRad = Pi / 180.0;
constexpr int IterationLimit = 1000;

double Sq(double v) {
    return v * v;
}

// asin built from the one-argument arctangent, as the rest of the solver is.
double Asin(double v) {
    return std::atan(v / std::sqrt(1.0 - v * v));
}

double Distance(const PointSlot& a, const PointSlot& b) {
    return std::sqrt(Sq(static_cast<double>(a.X) - b.X) + Sq(static_cast<double>(a.Y) - b.Y));
}

float F(double v) {
    return static_cast<float>(v);
}

// A search ran past its iteration limit: flag it and make later cosine
// clamps raise the error too.
void StopAtLimit(Mechanism& m) {
    RaiseSolveError(m);
    m.Solver.InnerStep = m.SolveTolerance - 1.0f;
}

void SolvePortGeometry(Mechanism& m) {
    const CylinderArray& c = m.Cylinder;
    SolverOutputs& s = m.Solver;
    const double h = c[ExhaustPortWidth] / 2.0;
    s.NegFrontSteamLap = F(h + c[BridgeWidthFront] + c[SteamPortWidthFront] - c[ValveLengthFront]);
    s.FrontBridgeToValveEdge = F(h + c[BridgeWidthFront] - c[ValveLengthFront]);
    s.NegFrontExhaustLap = F(h + c[BridgeWidthFront] - c[ExhCavityFront]);
    s.NegRearSteamLap = F(h + c[BridgeWidthRear] + c[SteamPortWidthRear] - c[ValveLengthRear]);
    s.RearBridgeToValveEdge = F(h + c[BridgeWidthRear] - c[ValveLengthRear]);
    s.NegRearExhaustLap = F(h + c[BridgeWidthRear] - c[ExhCavityRear]);
    s.ValveOffset =
        F(static_cast<double>(c[ValveCtrToJoint]) + m.Points[ValveStemJoint].X - c[CylCtrToDriver]);
    s.RearAdmitJointNeg = F(static_cast<double>(c[SteamPortWidthRear]) + c[BridgeWidthRear] +
                            c[ValveCtrToJoint] - c[ValveLengthRear] - c[CylCtrToDriver] + h);
    s.FrontAdmitJoint = F(static_cast<double>(c[SteamPortWidthFront]) + c[BridgeWidthFront] + h +
                          c[CylCtrToDriver] - c[ValveCtrToJoint] - c[ValveLengthFront]);
    s.FrontSteamLap = F(c[ValveLengthFront] - h - c[BridgeWidthFront] - c[SteamPortWidthFront]);
    s.RearSteamLap = F(c[ValveLengthRear] - h - c[BridgeWidthRear] - c[SteamPortWidthRear]);
    s.FrontExhaustLap = F(c[ExhCavityFront] - h - c[BridgeWidthFront]);
    s.RearExhaustLap = F(c[ExhCavityRear] - h - c[BridgeWidthRear]);
}

} // namespace

void RaiseSolveError(Mechanism& m) {
    if (m.BeepOnError) m.SolveError = true;
}

float GuardDivisor(Mechanism& m, float v) {
    if (v >= 0.0f && v < 0.00001f) {
        RaiseSolveError(m);
        return 0.00001f;
    }
    if (v < 0.0f && v > -0.00001f) {
        RaiseSolveError(m);
        return -0.00001f;
    }
    return v;
}

float GuardRoot(Mechanism& m, float v) {
    if (v < 0.0f) {
        RaiseSolveError(m);
        return -v;
    }
    return v;
}

float GuardCosine(Mechanism& m, float v) {
    constexpr float limit = 0.999999f;
    if (v > limit || v < -limit) {
        v = v > limit ? limit : -limit;
        if (m.Solver.InnerStep < 0.01f) RaiseSolveError(m);
    }
    return v;
}

void SolveLinkage(Mechanism& m) {
    auto& P = m.Points;
    SolverOutputs& s = m.Solver;
    const FrameDimensions& f = m.Frame;
    const BakerDimensions& b = m.Baker;
    const double theta = m.DriverAngle;

    // 0. Absolute pivots.
    P[BellCrankPivotAbs].X = F(static_cast<double>(P[GearMount].X) - P[BellCrankPivot].X);
    P[BellCrankPivotAbs].Y = F(static_cast<double>(P[GearMount].Y) + P[BellCrankPivot].Y);
    P[RevArmPivotAbs].X = F(static_cast<double>(P[GearMount].X) - P[RevArmPivot].X);
    P[RevArmPivotAbs].Y = F(static_cast<double>(P[GearMount].Y) - P[RevArmPivot].Y);
    const double X16 = P[GearMount].X, Y16 = P[GearMount].Y;
    const double X11 = P[RevArmPivot].X, Y11 = P[RevArmPivot].Y;
    const double X6 = P[BellCrankPivot].X, Y6 = P[BellCrankPivot].Y;

    // 1. The reverse-arm top stands where the reach rod puts it.
    P[RevArmTop].X = m.RevArmSetting;

    // 2. Return-crank geometry.
    s.CrankRadius = GuardDivisor(m, F(f.StrokeLength / 2.0));
    s.EccRadius = GuardDivisor(m, F(f.EccCircleDiameter / 2.0));
    const float k = GuardCosine(m, F((Sq(s.CrankRadius) + Sq(s.EccRadius) - Sq(f.EccCrankLength)) /
                                     2.0 / s.CrankRadius / s.EccRadius));
    s.EccLeadAngle = F(Asin(k) * 180.0 / Pi - 90.0);

    // 3. Reverse arm: its top stands above the pivot.
    {
        const double X1 = P[RevArmTop].X;
        const float v =
            GuardRoot(m, F(Sq(static_cast<double>(b.RevArmUpperLength) + b.RevArmLowerLength) -
                           Sq(X16 - X11 - X1)));
        P[RevArmTop].Y = F(std::sqrt(static_cast<double>(v)) + (Y16 - Y11));
        const float L =
            GuardDivisor(m, F(static_cast<double>(b.RevArmUpperLength) + b.RevArmLowerLength));
        const double Y1 = P[RevArmTop].Y;
        P[RevArmRadiusPin].X = F(X16 + (X1 + X11 - X16) * b.RevArmLowerLength / L - X11);
        P[RevArmRadiusPin].Y = F(Y16 + b.RevArmLowerLength * (Y1 + Y11 - Y16) / L - Y11);
    }

    // 4. Return-crank pin.
    {
        const double phi = (theta - s.EccLeadAngle) * DegToRad;
        P[EccCrankPin].X = F(std::cos(phi) * s.EccRadius);
        P[EccCrankPin].Y = F(std::sin(-phi) * s.EccRadius);
    }

    // 5.
    s.GearConRodSpan = F(std::sqrt(Sq(static_cast<double>(b.GearConRodUpper) + b.GearConRodLower) +
                                   Sq(b.GearConRodBackset)));

    // 6. Gear connecting rod: an outer search on the bell-crank pin height
    // around an inner search on the eccentric-rod pin height.
    {
        int n = 0;
        s.OuterStep = 0.1f;
        P[BellCrankHorzPin].Y = F((Y16 + Y6) * 1.1);
        for (;;) {
            const float v =
                GuardRoot(m, F(Sq(b.BellCrankHorz) -
                               Sq(static_cast<double>(P[BellCrankHorzPin].Y) - Y16 - Y6)));
            P[BellCrankHorzPin].X = F(X16 - X6 - std::sqrt(static_cast<double>(v)));

            s.InnerStep = 0.1f;
            P[EccRodFrontPin].Y = F(static_cast<double>(P[BellCrankHorzPin].Y) - b.GearConRodUpper -
                                    0.8 * b.GearConRodLower);
            for (;;) {
                const float w = GuardRoot(
                    m, F(Sq(f.EccRodLength) -
                         Sq(static_cast<double>(P[EccRodFrontPin].Y) - P[EccCrankPin].Y)));
                P[EccRodFrontPin].X = F(std::sqrt(static_cast<double>(w)) + P[EccCrankPin].X);
                const float d = F(Distance(P[BellCrankHorzPin], P[EccRodFrontPin]));
                const bool tooShort = d < s.GearConRodSpan;
                if (tooShort)
                    P[EccRodFrontPin].Y = F(static_cast<double>(P[EccRodFrontPin].Y) - s.InnerStep);
                if (++n > IterationLimit) {
                    StopAtLimit(m);
                    return;
                }
                if (tooShort) continue;
                P[EccRodFrontPin].Y = F(P[EccRodFrontPin].Y + 0.8 * s.InnerStep);
                s.InnerStep = F(0.2 * s.InnerStep);
                if (!(s.InnerStep > m.SolveTolerance)) break;
            }

            const float t = GuardDivisor(
                m, F(static_cast<double>(P[BellCrankHorzPin].Y) - P[EccRodFrontPin].Y));
            float alpha = F(
                std::atan((static_cast<double>(P[BellCrankHorzPin].X) - P[EccRodFrontPin].X) / t));
            const float u =
                GuardDivisor(m, F(static_cast<double>(b.GearConRodUpper) + b.GearConRodLower));
            alpha = F(alpha - std::atan(static_cast<double>(b.GearConRodBackset) / u));
            s.GearConRodAngle = alpha;

            P[GearConRodRadiusPin].X =
                F(P[BellCrankHorzPin].X - std::sin(static_cast<double>(alpha)) * b.GearConRodUpper);
            P[GearConRodRadiusPin].Y =
                F(P[BellCrankHorzPin].Y - std::cos(static_cast<double>(alpha)) * b.GearConRodUpper);

            const float d2 = F(Distance(P[RevArmRadiusPin], P[GearConRodRadiusPin]));
            if (d2 < b.RadiusBarLength) {
                P[BellCrankHorzPin].Y = F(P[BellCrankHorzPin].Y / (1.0 + s.OuterStep));
                continue;
            }
            P[BellCrankHorzPin].Y = F((0.8 * s.OuterStep + 1.0) * P[BellCrankHorzPin].Y);
            s.OuterStep = F(0.2 * s.OuterStep);
            if (!(s.OuterStep > m.SolveTolerance)) break;
        }
    }

    // 7. Did the lower part of the gear connecting rod have to stretch?
    if (std::sqrt(Sq(b.GearConRodLower) + Sq(b.GearConRodBackset)) <
        Distance(P[GearConRodRadiusPin], P[EccRodFrontPin]) - 0.002)
        RaiseSolveError(m);

    // 8. Bell-crank vertical arm: the pin hangs below the pivot.
    {
        const float t = GuardDivisor(m, F(X16 - X6 - P[BellCrankHorzPin].X));
        float beta = F(std::atan((P[BellCrankHorzPin].Y - Y16 - Y6) / t));
        const float t2 = GuardDivisor(m, b.BellCrankVert);
        beta = F(std::atan(static_cast<double>(b.BellCrankBackSet) / t2) + beta);
        s.BellCrankVertSpan = F(std::sqrt(Sq(b.BellCrankVert) + Sq(b.BellCrankBackSet)));
        P[BellCrankVertPin].X =
            F(X16 - X6 - std::sin(static_cast<double>(beta)) * s.BellCrankVertSpan);
        P[BellCrankVertPin].Y =
            F(Y16 + Y6 - std::cos(static_cast<double>(beta)) * s.BellCrankVertSpan);
    }

    // 9. Crank and crosshead; a growing angle turns the crank clockwise.
    {
        P[CrankPin].X = F(std::cos(theta * DegToRad) * s.CrankRadius + P[CrankOffset].X);
        P[CrankPin].Y = F(std::sin(-theta * DegToRad) * s.CrankRadius);
        const float v = GuardRoot(
            m, F(Sq(f.MainRodLength) - Sq(static_cast<double>(P[Crosshead].Y) - P[CrankPin].Y)));
        P[Crosshead].X = F(std::sqrt(static_cast<double>(v)) + P[CrankPin].X);
        s.CombLeverTopSpan = F(std::sqrt(Sq(f.CombLeverUpper) + Sq(f.CombLeverBackSet)));
        P[UnionLinkRearPin].X = F(static_cast<double>(P[Crosshead].X) - f.DropLinkBackSet);
        P[UnionLinkRearPin].Y = F(static_cast<double>(P[Crosshead].Y) - f.DropLinkVert);
    }

    // 10. Combination lever: search the valve-rod pin height until the top
    // of the lever meets the valve-stem line.
    {
        int count = 0;
        s.OuterStep = 0.1f;
        P[ValveRodFrontPin].Y = P[ValveStemJoint].Y;
        for (;;) {
            const float v = GuardRoot(
                m, F(Sq(f.ValveRodLength) -
                     Sq(static_cast<double>(P[ValveRodFrontPin].Y) - P[BellCrankVertPin].Y)));
            P[ValveRodFrontPin].X = F(std::sqrt(static_cast<double>(v)) + P[BellCrankVertPin].X);

            const float d = F(Distance(P[ValveRodFrontPin], P[UnionLinkRearPin]));
            const float t = GuardDivisor(
                m, F(static_cast<double>(P[ValveRodFrontPin].X) - P[UnionLinkRearPin].X));
            float gamma = F(std::atan(
                (static_cast<double>(P[ValveRodFrontPin].Y) - P[UnionLinkRearPin].Y) / t));

            const float t2 = GuardDivisor(m, f.CombLeverLower);
            const float dg = GuardDivisor(m, d); // a zero span must not divide
            const float kc = GuardCosine(
                m, F((Sq(d) + Sq(f.CombLeverLower) - Sq(f.UnionLinkLength)) / 2.0 / dg / t2));
            gamma = F(Asin(kc) - gamma);

            P[CombLeverLowerPin].X =
                F(P[ValveRodFrontPin].X - std::sin(static_cast<double>(gamma)) * f.CombLeverLower);
            P[CombLeverLowerPin].Y =
                F(P[ValveRodFrontPin].Y - std::cos(static_cast<double>(gamma)) * f.CombLeverLower);

            const float t3 = GuardDivisor(
                m, F(static_cast<double>(P[ValveRodFrontPin].Y) - P[CombLeverLowerPin].Y));
            float delta = F(std::atan(
                (static_cast<double>(P[ValveRodFrontPin].X) - P[CombLeverLowerPin].X) / t3));
            const float t4 = GuardDivisor(m, f.CombLeverUpper);
            delta = F(delta - std::atan(static_cast<double>(f.CombLeverBackSet) / t4));

            P[ValveStemJoint].X = F(std::sin(static_cast<double>(delta)) * s.CombLeverTopSpan +
                                    P[ValveRodFrontPin].X);
            const float top = F(std::cos(static_cast<double>(delta)) * s.CombLeverTopSpan +
                                P[ValveRodFrontPin].Y);

            const bool tooHigh = top > P[ValveStemJoint].Y;
            if (tooHigh) P[ValveRodFrontPin].Y = F(P[ValveRodFrontPin].Y / (1.0 + s.OuterStep));
            if (++count > IterationLimit) {
                StopAtLimit(m);
                return;
            }
            if (tooHigh) continue;
            P[ValveRodFrontPin].Y = F((0.8 * s.OuterStep + 1.0) * P[ValveRodFrontPin].Y);
            s.OuterStep = F(0.2 * s.OuterStep);
            if (!(s.OuterStep > m.SolveTolerance)) break;
        }
    }

    // 11. Did the union link have to stretch?
    if (Distance(P[CombLeverLowerPin], P[UnionLinkRearPin]) - 0.003 > f.UnionLinkLength)
        RaiseSolveError(m);

    // 12. Bookkeeping.
    m.RevArmSetting = P[RevArmTop].X;
    s.MainRodCopy = f.MainRodLength;
    s.StrokeCopy = f.StrokeLength;
    s.SignFactorA = 1.0f;
    s.SignFactorB = 1.0f;

    // 13.
    SolvePortGeometry(m);

    // Dimensions that are not numbers give points that are not: a failed solve too.
    for (int i = 0; i < DrawnPointCount; ++i) {
        if (std::isnan(P[static_cast<size_t>(i)].X) || std::isnan(P[static_cast<size_t>(i)].Y)) {
            RaiseSolveError(m);
            break;
        }
    }
}

void SolvePortOpenings(Mechanism& m) {
    SolverOutputs& s = m.Solver;
    const CylinderArray& c = m.Cylinder;
    const double theta = m.DriverAngle * DegToRad;

    const float S = GuardDivisor(m, s.StrokeCopy);
    const float v = GuardRoot(m, F(Sq(s.MainRodCopy) - Sq(std::sin(theta) * s.StrokeCopy / 2.0)));
    s.PistonTravel640 = F(320.0 - (std::cos(theta) + std::sqrt(static_cast<double>(v)) / S * 2.0 -
                                   static_cast<double>(s.MainRodCopy) / S * 2.0) *
                                      320.0);

    const double h = c[ExhaustPortWidth] / 2.0;
    s.ValveOffset =
        F(static_cast<double>(c[ValveCtrToJoint]) + m.Points[ValveStemJoint].X - c[CylCtrToDriver]);
    const double vo = s.ValveOffset;
    s.FrontSteamOpen =
        F(h + c[BridgeWidthFront] + c[SteamPortWidthFront] - c[ValveLengthFront] - vo);
    s.FrontExhaustOpen = F(vo + c[ExhCavityFront] - h - c[BridgeWidthFront]);
    s.RearSteamOpen = F(vo - c[ValveLengthRear] + h + c[BridgeWidthRear] + c[SteamPortWidthRear]);
    s.RearExhaustOpen = F(c[ExhCavityRear] - h - c[BridgeWidthRear] - vo);
    for (float o : {s.PistonTravel640, s.ValveOffset, s.FrontSteamOpen, s.FrontExhaustOpen,
                    s.RearSteamOpen, s.RearExhaustOpen})
        if (std::isnan(o)) {
            RaiseSolveError(m);
            break;
        }
}

} // namespace kes
