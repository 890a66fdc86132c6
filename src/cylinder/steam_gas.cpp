// SPDX-License-Identifier: GPL-3.0-or-later
#include "cylinder/steam_gas.h"

#include "cylinder/if97.h"

#include <boost/math/tools/minima.hpp>

#include <cmath>
#include <cstdint>
#include <limits>

namespace kes {

namespace {

constexpr double PaPerMPa = 1e6;
constexpr double JPerkJ = 1e3;
// Pressure ratios above this are in the linear band of OrificeFlux.
constexpr double LinearBand = 0.05;
constexpr int ExponentPasses = 4;

struct Chest {
    double T_K, v, h, s;
};

std::optional<Chest> ChestState(double p_MPa, double superheat_K) {
    const std::optional<double> Ts = if97::SaturationTemperature_K(p_MPa);
    if (!Ts) return std::nullopt;
    if (superheat_K <= 0.0) {
        const auto sat = if97::SaturationAt(p_MPa);
        if (!sat) return std::nullopt;
        return Chest{sat->T_K, sat->Vapour.SpecificVolume_m3_kg, sat->Vapour.Enthalpy_kJ_kg,
                     sat->Vapour.Entropy_kJ_kgK};
    }
    const auto st = if97::Region2(p_MPa, *Ts + superheat_K);
    if (!st) return std::nullopt;
    return Chest{*Ts + superheat_K, st->SpecificVolume_m3_kg, st->Enthalpy_kJ_kg,
                 st->Entropy_kJ_kgK};
}

double CriticalRatioOf(double k) {
    return std::pow(2.0 / (k + 1.0), k / (k - 1.0));
}

// The ideal-gas flux function at a pressure ratio at or above critical.
double FluxAt(double p, double rho, double r, double k) {
    const double f = std::pow(r, 2.0 / k) - std::pow(r, (k + 1.0) / k);
    return std::sqrt(std::max(0.0, 2.0 * k / (k - 1.0) * p * rho * f));
}

} // namespace

double SteamGas::CriticalRatio() const {
    return CriticalRatioOf(Exponent);
}

std::optional<SteamGas> MakeSteamGas(double p1_Pa, double superheat_K, double pb_Pa) {
    if (!(p1_Pa > 0.0) || !(pb_Pa > 0.0) || !(pb_Pa < p1_Pa) || !std::isfinite(p1_Pa) ||
        !std::isfinite(superheat_K) || superheat_K < 0.0)
        return std::nullopt;
    const double p1 = p1_Pa / PaPerMPa, pb = pb_Pa / PaPerMPa;
    const std::optional<Chest> c = ChestState(p1, superheat_K);
    if (!c) return std::nullopt;
    // The exponent of the isentrope through the throat: the secant from the
    // chest to the critical pressure that the exponent itself gives.
    double k = 1.3;
    for (int i = 0; i < ExponentPasses; ++i) {
        const double p2 = p1 * CriticalRatioOf(k);
        const auto st = if97::StateFromEntropy(p2, c->s);
        if (!st) return std::nullopt;
        k = std::log(p1 / p2) / std::log(st->SpecificVolume_m3_kg / c->v);
    }
    const auto exhaust = if97::StateFromEntropy(pb, c->s);
    const auto satBack = if97::SaturationTemperature_K(pb);
    const auto satChest = if97::SaturationTemperature_K(p1);
    if (!exhaust || !satBack || !satChest || !(k > 1.0) || !std::isfinite(k)) return std::nullopt;

    SteamGas g;
    g.ChestPressure_Pa = p1_Pa;
    g.ChestTemperature_K = c->T_K;
    g.ChestDensity_kg_m3 = 1.0 / c->v;
    g.ChestEnthalpy_J_kg = c->h * JPerkJ;
    g.ChestEntropy_J_kgK = c->s * JPerkJ;
    g.Exponent = k;
    g.EnergyOffset_J_kg = g.ChestEnthalpy_J_kg - k / (k - 1.0) * p1_Pa * c->v;
    g.BackPressure_Pa = pb_Pa;
    g.BackDensity_kg_m3 = g.ChestDensity_kg_m3 * std::pow(pb_Pa / p1_Pa, 1.0 / k);
    g.RankineWork_J_kg = (c->h - exhaust->Enthalpy_kJ_kg) * JPerkJ;
    g.SaturationAtBack_K = *satBack;
    g.SaturationAtChest_K = *satChest;
    return g;
}

double OrificeFlux(double up, double rho, double down, double k) {
    if (!(up > down) || !(rho > 0.0)) return 0.0;
    const double r = down / up;
    const double rc = CriticalRatioOf(k);
    if (r <= rc) return FluxAt(up, rho, rc, k);
    const double edge = 1.0 - LinearBand;
    if (r <= edge) return FluxAt(up, rho, r, k);
    return FluxAt(up, rho, std::max(edge, rc), k) * (1.0 - r) / LinearBand;
}

std::optional<double> If97NozzleFlux(double p1_Pa, double superheat_K, double p2_Pa) {
    const double p1 = p1_Pa / PaPerMPa;
    const std::optional<Chest> c = ChestState(p1, superheat_K);
    if (!c || !(p2_Pa > 0.0) || !(p2_Pa < p1_Pa)) return std::nullopt;
    bool failed = false;
    const auto flux = [&](double p_MPa) {
        const auto st = if97::StateFromEntropy(p_MPa, c->s);
        if (!st) {
            failed = true;
            return 0.0;
        }
        return std::sqrt(2.0 * (c->h - st->Enthalpy_kJ_kg) * JPerkJ) / st->SpecificVolume_m3_kg;
    };
    std::uintmax_t iter = 200;
    const auto best = boost::math::tools::brent_find_minima(
        [&](double p) { return -flux(p); }, 0.3 * p1, 0.8 * p1,
        std::numeric_limits<double>::digits / 2, iter);
    const double p2 = p2_Pa / PaPerMPa;
    const double result = p2 < best.first ? -best.second : flux(p2);
    if (failed) return std::nullopt;
    return result;
}

} // namespace kes
