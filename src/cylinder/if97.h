// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Water and steam after the IAPWS Industrial Formulation 1997 (IAPWS R7-97):
// region 1 (compressed liquid), region 2 (superheated vapour) and region 4
// (saturation). Pressures in MPa, temperatures in K, energies in kJ/kg, as
// the release prints them. Outside a region's range the result is absent.

#include <optional>

namespace kes::if97 {

struct SteamProperties {
    double SpecificVolume_m3_kg = 0.0;
    double Enthalpy_kJ_kg = 0.0;
    double InternalEnergy_kJ_kg = 0.0;
    double Entropy_kJ_kgK = 0.0;
    double Cp_kJ_kgK = 0.0;
    double Cv_kJ_kgK = 0.0;
    double SoundSpeed_m_s = 0.0;
};

// Region 1 for 273.15 K <= T <= 623.15 K and psat(T) <= p <= 100 MPa; the
// check of the saturation bound is left to the caller (the release's own
// points lie on either side of it).
std::optional<SteamProperties> Region1(double p_MPa, double T_K);
// Region 2 for 273.15 K <= T <= 863.15 K, 0 < p <= psat(T) below 623.15 K.
std::optional<SteamProperties> Region2(double p_MPa, double T_K);

// Region 4, the saturation line from the triple point to the critical point.
std::optional<double> SaturationPressure_MPa(double T_K);
std::optional<double> SaturationTemperature_K(double p_MPa);

struct Saturation {
    double T_K = 0.0;
    SteamProperties Liquid;
    SteamProperties Vapour;
};
// The two sides of the saturation line at p (up to 16.5 MPa, region 1's top).
std::optional<Saturation> SaturationAt(double p_MPa);

// A state given by pressure and entropy: superheated (region 2) above the
// saturated vapour's entropy, wet below it. Quality is 1 when superheated.
struct PsState {
    double T_K = 0.0;
    double Quality = 1.0;
    double SpecificVolume_m3_kg = 0.0;
    double Enthalpy_kJ_kg = 0.0;
};
std::optional<PsState> StateFromEntropy(double p_MPa, double s_kJ_kgK);

} // namespace kes::if97
