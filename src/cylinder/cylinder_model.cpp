// SPDX-License-Identifier: GPL-3.0-or-later
#include "cylinder/cylinder_model.h"

#include <boost/numeric/odeint.hpp>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kes {

namespace {

namespace odeint = boost::numeric::odeint;

// Scaled state: per end the mass (/ chest density x swept volume), the
// energy above u0 (/ p1 x swept volume; it is p V / (k - 1)), then the
// steam from the chest and the work done, per end, in the same scales.
using State = std::array<double, 8>;
enum : int { MF, EF, MR, ER, InF, InR, WF, WR };

constexpr double AtmosphereAbs_Pa = 101325.0;
constexpr double AbsPerRelTolerance = 0.1;
// A degree the integrator cannot cross in this many tries is left as it is
// (the turn then will not repeat, and the result says so).
constexpr int MaxTriesPerDegree = 100000;
// Condensation: a film coefficient typical of steam on cast iron, and the
// wall at the mean of the chest and exhaust saturation temperatures.
constexpr double WallCoefficient_W_m2K = 2500.0;
constexpr double TwoPi = 2.0 * std::numbers::pi;
constexpr double StepRad = TwoPi / PortTable::Samples;

struct Lerp {
    double PistonX, Slope; // Slope: dx / dphi
    double FS, FE, RS, RE;
};

class CylinderOde {
  public:
    CylinderOde(const SteamGas& g, const CylinderGeometry& s, const PortTable& t)
        : gas_(g), spec_(s), table_(t), omega_(s.Rpm * TwoPi / 60.0), area_(s.BoreArea_m2),
          rearArea_(s.BoreArea_m2 - s.RodArea_m2) {
        sweptF_ = area_ * t.Stroke();
        sweptR_ = rearArea_ * t.Stroke();
        massScale_ = g.ChestDensity_kg_m3 * sweptF_;
        energyScale_ = g.ChestPressure_Pa * sweptF_;
        wall_ = (g.SaturationAtChest_K + g.SaturationAtBack_K) / 2.0;
        const double pv1 = g.ChestPressure_Pa / g.ChestDensity_kg_m3;
        tempPerPv_ = g.ChestTemperature_K / pv1;
        boreDiameter_ = std::sqrt(4.0 * area_ / std::numbers::pi);
    }

    Lerp At(double phi) const {
        double f = phi / StepRad;
        f -= std::floor(f / PortTable::Samples) * PortTable::Samples;
        int i = static_cast<int>(f);
        if (i >= PortTable::Samples) i = PortTable::Samples - 1;
        const double w = f - i;
        const PortSample& a = table_.At[i];
        const PortSample& b = table_.At[(i + 1) % PortTable::Samples];
        const auto mix = [w](double u, double v) { return u + w * (v - u); };
        return {mix(a.PistonX, b.PistonX),       (b.PistonX - a.PistonX) / StepRad,
                mix(a.FrontSteam, b.FrontSteam), mix(a.FrontExhaust, b.FrontExhaust),
                mix(a.RearSteam, b.RearSteam),   mix(a.RearExhaust, b.RearExhaust)};
    }

    double VolumeF(double x) const { return spec_.ClearanceFront_m3 + area_ * (table_.XMax - x); }
    double VolumeR(double x) const {
        return spec_.ClearanceRear_m3 + rearArea_ * (x - table_.XMin);
    }
    double PressureOf(double e, double volume) const {
        const double p = (gas_.Exponent - 1.0) * e * energyScale_ / volume;
        return std::max(p, 1e-6 * gas_.ChestPressure_Pa);
    }

    void operator()(const State& y, State& dy, double phi) const {
        const Lerp l = At(phi);
        End(y[MF], y[EF], VolumeF(l.PistonX), -area_ * l.Slope, l.FS, l.FE, table_.FrontPortWidth,
            dy[MF], dy[EF], dy[InF], dy[WF]);
        End(y[MR], y[ER], VolumeR(l.PistonX), rearArea_ * l.Slope, l.RS, l.RE, table_.RearPortWidth,
            dy[MR], dy[ER], dy[InR], dy[WR]);
    }

    double SweptF() const { return sweptF_; }
    double SweptR() const { return sweptR_; }
    double MassScale() const { return massScale_; }
    double EnergyScale() const { return energyScale_; }
    double Area() const { return area_; }
    double RearArea() const { return rearArea_; }

  private:
    void End(double mHat, double eHat, double volume, double dVolume, double steamOpen,
             double exhaustOpen, double width, double& dm, double& de, double& din,
             double& dw) const {
        const double k = gas_.Exponent, u0 = gas_.EnergyOffset_J_kg;
        const double p = PressureOf(eHat, volume);
        const double rho = std::max(mHat * massScale_ / volume, 1e-12);
        const double h = gas_.Enthalpy(p, rho) - u0;
        const double cda = spec_.DischargeCoefficient * spec_.PortCircumference_m;
        const double steamArea = cda * std::clamp(steamOpen, 0.0, width);
        const double exhaustArea = cda * std::clamp(exhaustOpen, 0.0, width);
        const double p1 = gas_.ChestPressure_Pa, rho1 = gas_.ChestDensity_kg_m3;
        const double pb = gas_.BackPressure_Pa, rhob = gas_.BackDensity_kg_m3;
        double mdot = 0.0, hdot = 0.0, chest = 0.0;
        if (steamArea > 0.0) {
            if (p1 >= p) {
                const double in = steamArea * OrificeFlux(p1, rho1, p, k);
                chest = in;
                mdot += in;
                hdot += in * (gas_.ChestEnthalpy_J_kg - u0);
            } else {
                const double out = steamArea * OrificeFlux(p, rho, p1, k);
                chest = -out;
                mdot -= out;
                hdot -= out * h;
            }
        }
        if (exhaustArea > 0.0) {
            if (p >= pb) {
                const double out = exhaustArea * OrificeFlux(p, rho, pb, k);
                mdot -= out;
                hdot -= out * h;
            } else {
                const double in = exhaustArea * OrificeFlux(pb, rhob, p, k);
                mdot += in;
                hdot += in * (gas_.Enthalpy(pb, rhob) - u0);
            }
        }
        if (spec_.Condensation) {
            // Piston face, cover and the bore between them.
            const double length = volume / area_;
            const double wallArea = 2.0 * area_ + std::numbers::pi * boreDiameter_ * length;
            const double T = tempPerPv_ * p / rho;
            hdot -= WallCoefficient_W_m2K * wallArea * (T - wall_);
        }
        // d/dphi = (1/omega) d/dt; the p dV work is already per radian.
        dm = mdot / omega_ / massScale_;
        de = (hdot / omega_ - p * dVolume) / energyScale_;
        din = chest / omega_ / massScale_;
        dw = p * dVolume / energyScale_;
    }

    const SteamGas& gas_;
    const CylinderGeometry& spec_;
    const PortTable& table_;
    double omega_, area_, rearArea_;
    double sweptF_ = 0, sweptR_ = 0, massScale_ = 0, energyScale_ = 0;
    double wall_ = 0, tempPerPv_ = 0, boreDiameter_ = 0;
};

// From phi0 to phi1 in adaptive steps, the last one cut to end on phi1;
// dphi comes in as the step to try first and goes out as the step to try
// next (a step cut short does not shrink it).
template <class Stepper>
void StepThrough(Stepper& stepper, const CylinderOde& ode, State& y, double phi0, double phi1,
                 double& dphi) {
    double phi = phi0;
    for (int tries = 0; phi < phi1 && tries < MaxTriesPerDegree; ++tries) {
        const double left = phi1 - phi;
        const bool cut = dphi >= left;
        double h = cut ? left : dphi;
        if (stepper.try_step(std::cref(ode), y, phi, h) == odeint::success) {
            dphi = cut ? std::max(dphi, h) : h;
            if (cut) phi = phi1; // no sliver left over from round-off
        } else {
            dphi = h;
        }
    }
}

double Rel(double a, double b) {
    return std::abs(a - b) / std::max({std::abs(a), std::abs(b), 1e-12});
}

} // namespace

void RunCylinder(const SteamGas& gas, const CylinderGeometry& geometry, const PortTable& ports,
                 CylinderCycle& out, double tolerance, int maxTurns) {
    CylinderRunOptions options;
    options.Tolerance = tolerance;
    options.MaxTurns = maxTurns;
    RunCylinder(gas, geometry, ports, out, options);
}

void RunCylinder(const SteamGas& gas, const CylinderGeometry& geometry, const PortTable& ports,
                 CylinderCycle& out, const CylinderRunOptions& options) {
    const double tolerance = options.Tolerance;
    const int maxTurns = options.MaxTurns;
    const CylinderOde ode(gas, geometry, ports);
    auto stepper =
        odeint::make_controlled(options.StepTolerance * AbsPerRelTolerance, options.StepTolerance,
                                odeint::runge_kutta_dopri5<State>());
    // The front end at dead centre full of chest steam, the rear full of
    // exhaust steam.
    const double k = gas.Exponent;
    const double x0 = ports.At[0].PistonX;
    State y{};
    const double vF = ode.VolumeF(x0), vR = ode.VolumeR(x0);
    y[MF] = gas.ChestDensity_kg_m3 * vF / ode.MassScale();
    y[EF] = gas.ChestPressure_Pa * vF / (k - 1.0) / ode.EnergyScale();
    y[MR] = gas.BackDensity_kg_m3 * vR / ode.MassScale();
    y[ER] = gas.BackPressure_Pa * vR / (k - 1.0) / ode.EnergyScale();
    if (options.Start.Set)
        for (int i = 0; i < 4; ++i)
            y[i] = options.Start.Y[i];

    out.Converged = false;
    out.Turns = 0;
    // Each degree starts with the step the last one ended with, so that the
    // smooth stretches of the turn take few steps.
    double dphi = StepRad / 4.0;
    double lastWork = 0.0;
    State start = y;
    for (int turn = 0; turn < maxTurns; ++turn) {
        start = y;
        y[InF] = y[InR] = y[WF] = y[WR] = 0.0;
        for (int deg = 0; deg < 360; ++deg) {
            const double phi0 = TwoPi * deg / 360.0, phi1 = TwoPi * (deg + 1) / 360.0;
            const Lerp l = ode.At(phi0);
            out.Front.Card[deg] = {ode.VolumeF(l.PistonX),
                                   ode.PressureOf(y[EF], ode.VolumeF(l.PistonX))};
            out.Rear.Card[deg] = {ode.VolumeR(l.PistonX),
                                  ode.PressureOf(y[ER], ode.VolumeR(l.PistonX))};
            const double pF = out.Front.Card[deg].Pressure_Pa, pR = out.Rear.Card[deg].Pressure_Pa;
            const double force =
                pR * ode.RearArea() + AtmosphereAbs_Pa * geometry.RodArea_m2 - pF * ode.Area();
            out.RimForce_N[deg] = force * l.Slope / (geometry.DriverDiameter_m / 2.0);
            StepThrough(stepper, ode, y, phi0, phi1, dphi);
        }
        ++out.Turns;
        const double work = y[WF] + y[WR];
        const bool repeats = turn > 0 && Rel(work, lastWork) < tolerance &&
                             Rel(y[MF], start[MF]) < tolerance && Rel(y[MR], start[MR]) < tolerance;
        lastWork = work;
        out.Front.Work_J = y[WF] * ode.EnergyScale();
        out.Rear.Work_J = y[WR] * ode.EnergyScale();
        out.Front.SteamIn_kg = y[InF] * ode.MassScale();
        out.Rear.SteamIn_kg = y[InR] * ode.MassScale();
        if (repeats) {
            out.Converged = true;
            break;
        }
    }
    for (int i = 0; i < 4; ++i)
        out.End.Y[i] = y[i];
    out.End.Set = true;
    out.Front.Swept_m3 = ode.SweptF();
    out.Rear.Swept_m3 = ode.SweptR();
}

double IdealCardMep(double cutOff, double release, double compression, double c0, double n,
                    double b) {
    const double v0 = c0, vc = c0 + cutOff, vr = c0 + release, vend = c0 + 1.0,
                 vk = c0 + compression;
    const auto polytrope = [n](double pv, double va, double vb) {
        // Work of p V^n = pv * va^n from va to vb, with p(va) = pv.
        if (n == 1.0) return pv * va * std::log(vb / va);
        return pv * std::pow(va, n) * (std::pow(vb, 1.0 - n) - std::pow(va, 1.0 - n)) / (1.0 - n);
    };
    double w = vc - v0;
    w += polytrope(1.0, vc, vr);
    w += b * (vend - vr) - b * (vend - vk);
    if (vk > v0) w += polytrope(b, vk, v0); // negative: work done on the steam
    return w;
}

} // namespace kes
