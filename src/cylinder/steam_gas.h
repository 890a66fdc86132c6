// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The steam in the cylinder as a gas calibrated on IF97 at the chest: its
// internal energy is u = u0 + p v / (k - 1), with k the exponent of the
// equilibrium isentrope from the chest down to the critical pressure of the
// flow, and u0 chosen so that the chest state is exact. Expansion then
// follows p v^k = const, near the real isentrope (about 1.135 for dry
// saturated steam, 1.3 for superheated), and the model needs no property
// iteration per step. SI units throughout (Pa absolute, kg, J, m3, K).

#include <optional>

namespace kes {

struct SteamGas {
    double ChestPressure_Pa = 0.0;
    double ChestTemperature_K = 0.0;
    double ChestDensity_kg_m3 = 0.0;
    double ChestEnthalpy_J_kg = 0.0;
    double ChestEntropy_J_kgK = 0.0;
    double Exponent = 1.3;        // k
    double EnergyOffset_J_kg = 0; // u0
    double BackPressure_Pa = 0.0;
    double BackDensity_kg_m3 = 0.0;  // the chest steam expanded to back pressure
    double RankineWork_J_kg = 0.0;   // h1 - h2s at the back pressure (IF97)
    double SaturationAtBack_K = 0.0; // wall temperature bound for condensation
    double SaturationAtChest_K = 0.0;

    double Pressure(double mass_kg, double energy_J, double volume_m3) const {
        return (Exponent - 1.0) * (energy_J - mass_kg * EnergyOffset_J_kg) / volume_m3;
    }
    double Enthalpy(double pressure_Pa, double density_kg_m3) const {
        return EnergyOffset_J_kg + Exponent / (Exponent - 1.0) * pressure_Pa / density_kg_m3;
    }
    double Energy(double pressure_Pa, double density_kg_m3) const {
        return EnergyOffset_J_kg + pressure_Pa / density_kg_m3 / (Exponent - 1.0);
    }
    double CriticalRatio() const;
};

// Steam at chest pressure p1 with the given superheat (0: dry saturated),
// exhausting at pb; absent outside IF97's regions 1, 2 and 4 or when pb is
// not below p1.
std::optional<SteamGas> MakeSteamGas(double chestPressure_Pa, double superheat_K,
                                     double backPressure_Pa);

// Mass flow per unit effective area (kg/(s m2)) through an orifice from the
// upstream state to the downstream pressure, choked below the critical
// ratio. Just below a pressure ratio of one the flow is taken linear in the
// pressure difference so that its slope stays finite.
double OrificeFlux(double upPressure_Pa, double upDensity_kg_m3, double downPressure_Pa, double k);

// The same flux from IF97 alone: steam expanded isentropically from the
// chest to p2 (or to the pressure of the largest flux when that is higher).
// For the tests of the gas model.
std::optional<double> If97NozzleFlux(double chestPressure_Pa, double superheat_K,
                                     double downPressure_Pa);

} // namespace kes
