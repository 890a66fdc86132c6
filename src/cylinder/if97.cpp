// SPDX-License-Identifier: GPL-3.0-or-later
#include "cylinder/if97.h"

#include <boost/math/tools/roots.hpp>

#include <array>
#include <cmath>
#include <cstdint>

namespace kes::if97 {

namespace {

constexpr double R_kJ_kgK = 0.461526;
constexpr double TTriple_K = 273.15;
constexpr double TCritical_K = 647.096;
constexpr double PCritical_MPa = 22.064;

struct Term {
    int I;
    int J;
    double N;
};

// Table 2 of the release: region 1, gamma = sum n (7.1 - pi)^I (tau - 1.222)^J.
constexpr std::array<Term, 34> Region1Terms{{
    {0, -2, 0.14632971213167},        {0, -1, -0.84548187169114},
    {0, 0, -0.37563603672040e1},      {0, 1, 0.33855169168385e1},
    {0, 2, -0.95791963387872},        {0, 3, 0.15772038513228},
    {0, 4, -0.16616417199501e-1},     {0, 5, 0.81214629983568e-3},
    {1, -9, 0.28319080123804e-3},     {1, -7, -0.60706301565874e-3},
    {1, -1, -0.18990068218419e-1},    {1, 0, -0.32529748770505e-1},
    {1, 1, -0.21841717175414e-1},     {1, 3, -0.52838357969930e-4},
    {2, -3, -0.47184321073267e-3},    {2, 0, -0.30001780793026e-3},
    {2, 1, 0.47661393906987e-4},      {2, 3, -0.44141845330846e-5},
    {2, 17, -0.72694996297594e-15},   {3, -4, -0.31679644845054e-4},
    {3, 0, -0.28270797985312e-5},     {3, 6, -0.85205128120103e-9},
    {4, -5, -0.22425281908000e-5},    {4, -2, -0.65171222895601e-6},
    {4, 10, -0.14341729937924e-12},   {5, -8, -0.40516996860117e-6},
    {8, -11, -0.12734301741641e-8},   {8, -6, -0.17424871230634e-9},
    {21, -29, -0.68762131295531e-18}, {23, -31, 0.14478307828521e-19},
    {29, -38, 0.26335781662795e-22},  {30, -39, -0.11947622640071e-22},
    {31, -40, 0.18228094581404e-23},  {32, -41, -0.93537087292458e-25},
}};

// Table 10: region 2, ideal-gas part, gamma0 = ln pi + sum n tau^J.
constexpr std::array<Term, 9> Region2Ideal{{
    {0, 0, -0.96927686500217e1},
    {0, 1, 0.10086655968018e2},
    {0, -5, -0.56087911283020e-2},
    {0, -4, 0.71452738081455e-1},
    {0, -3, -0.40710498223928},
    {0, -2, 0.14240819171444e1},
    {0, -1, -0.43839511319450e1},
    {0, 2, -0.28408632460772},
    {0, 3, 0.21268463753307e-1},
}};

// Table 11: region 2, residual part, gammar = sum n pi^I (tau - 0.5)^J.
constexpr std::array<Term, 43> Region2Residual{{
    {1, 0, -0.17731742473213e-2},   {1, 1, -0.17834862292358e-1},
    {1, 2, -0.45996013696365e-1},   {1, 3, -0.57581259083432e-1},
    {1, 6, -0.50325278727930e-1},   {2, 1, -0.33032641670203e-4},
    {2, 2, -0.18948987516315e-3},   {2, 4, -0.39392777243355e-2},
    {2, 7, -0.43797295650573e-1},   {2, 36, -0.26674547914087e-4},
    {3, 0, 0.20481737692309e-7},    {3, 1, 0.43870667284435e-6},
    {3, 3, -0.32277677238570e-4},   {3, 6, -0.15033924542148e-2},
    {3, 35, -0.40668253562649e-1},  {4, 1, -0.78847309559367e-9},
    {4, 2, 0.12790717852285e-7},    {4, 3, 0.48225372718507e-6},
    {5, 7, 0.22922076337661e-5},    {6, 3, -0.16714766451061e-10},
    {6, 16, -0.21171472321355e-2},  {6, 35, -0.23895741934104e2},
    {7, 0, -0.59059564324270e-17},  {7, 11, -0.12621808899101e-5},
    {7, 25, -0.38946842435739e-1},  {8, 8, 0.11256211360459e-10},
    {8, 36, -0.82311340897998e1},   {9, 13, 0.19809712802088e-7},
    {10, 4, 0.10406965210174e-18},  {10, 10, -0.10234747095929e-12},
    {10, 14, -0.10018179379511e-8}, {16, 29, -0.80882908646985e-10},
    {16, 50, 0.10693031879409},     {18, 57, -0.33662250574171},
    {20, 20, 0.89185845355421e-24}, {20, 35, 0.30629316876232e-12},
    {20, 48, -0.42002467698208e-5}, {21, 21, -0.59056029685639e-25},
    {22, 53, 0.37826947613457e-5},  {23, 39, -0.12768608934681e-14},
    {24, 26, 0.73087610595061e-28}, {24, 40, 0.55414715350778e-16},
    {24, 58, -0.94369707241210e-6},
}};

// Table 34: the saturation-pressure equation.
constexpr std::array<double, 11> N4{0.0,
                                    0.11670521452767e4,
                                    -0.72421316703206e6,
                                    -0.17073846940092e2,
                                    0.12020824702470e5,
                                    -0.32325550322333e7,
                                    0.14915108613530e2,
                                    -0.48232657361591e4,
                                    0.40511340542057e6,
                                    -0.23855557567849,
                                    0.65017534844798e3};

// The dimensionless Gibbs energy and its derivatives in pi and tau.
struct Gibbs {
    double G = 0, Gp = 0, Gpp = 0, Gt = 0, Gtt = 0, Gpt = 0;
};

bool Finite(double v) {
    return std::isfinite(v);
}

SteamProperties FromGibbs(double p_MPa, double T_K, double pi, double tau, const Gibbs& g,
                          double cv) {
    SteamProperties s;
    // R T / p in kJ/(kg MPa) is 1e-3 m3/kg.
    s.SpecificVolume_m3_kg = R_kJ_kgK * T_K / p_MPa * pi * g.Gp * 1e-3;
    s.Enthalpy_kJ_kg = R_kJ_kgK * T_K * tau * g.Gt;
    s.InternalEnergy_kJ_kg = R_kJ_kgK * T_K * (tau * g.Gt - pi * g.Gp);
    s.Entropy_kJ_kgK = R_kJ_kgK * (tau * g.Gt - g.G);
    s.Cp_kJ_kgK = -R_kJ_kgK * tau * tau * g.Gtt;
    s.Cv_kJ_kgK = cv;
    return s;
}

} // namespace

std::optional<SteamProperties> Region1(double p_MPa, double T_K) {
    if (!Finite(p_MPa) || !Finite(T_K) || p_MPa <= 0.0 || p_MPa > 100.0 || T_K < TTriple_K ||
        T_K > 623.15)
        return std::nullopt;
    const double pi = p_MPa / 16.53, tau = 1386.0 / T_K;
    const double a = 7.1 - pi, b = tau - 1.222;
    Gibbs g;
    for (const Term& t : Region1Terms) {
        const double aI = std::pow(a, t.I), bJ = std::pow(b, t.J);
        g.G += t.N * aI * bJ;
        g.Gp += -t.N * t.I * std::pow(a, t.I - 1) * bJ;
        g.Gpp += t.N * t.I * (t.I - 1) * std::pow(a, t.I - 2) * bJ;
        g.Gt += t.N * aI * t.J * std::pow(b, t.J - 1);
        g.Gtt += t.N * aI * t.J * (t.J - 1) * std::pow(b, t.J - 2);
        g.Gpt += -t.N * t.I * std::pow(a, t.I - 1) * t.J * std::pow(b, t.J - 1);
    }
    const double d = g.Gp - tau * g.Gpt;
    const double cv = R_kJ_kgK * (-tau * tau * g.Gtt + d * d / g.Gpp);
    SteamProperties s = FromGibbs(p_MPa, T_K, pi, tau, g, cv);
    const double w2 = R_kJ_kgK * 1e3 * T_K * g.Gp * g.Gp / (d * d / (tau * tau * g.Gtt) - g.Gpp);
    s.SoundSpeed_m_s = std::sqrt(w2);
    return s;
}

std::optional<SteamProperties> Region2(double p_MPa, double T_K) {
    if (!Finite(p_MPa) || !Finite(T_K) || p_MPa <= 0.0 || T_K < TTriple_K || T_K > 863.15)
        return std::nullopt;
    if (T_K <= 623.15) {
        const std::optional<double> ps = SaturationPressure_MPa(T_K);
        if (!ps || p_MPa > *ps * (1.0 + 1e-9)) return std::nullopt;
    } else if (p_MPa > 100.0) {
        return std::nullopt;
    }
    const double pi = p_MPa, tau = 540.0 / T_K;
    Gibbs o, r;
    o.G = std::log(pi);
    o.Gp = 1.0 / pi;
    o.Gpp = -1.0 / (pi * pi);
    for (const Term& t : Region2Ideal) {
        o.G += t.N * std::pow(tau, t.J);
        o.Gt += t.N * t.J * std::pow(tau, t.J - 1);
        o.Gtt += t.N * t.J * (t.J - 1) * std::pow(tau, t.J - 2);
    }
    const double b = tau - 0.5;
    for (const Term& t : Region2Residual) {
        const double pI = std::pow(pi, t.I), bJ = std::pow(b, t.J);
        r.G += t.N * pI * bJ;
        r.Gp += t.N * t.I * std::pow(pi, t.I - 1) * bJ;
        r.Gpp += t.N * t.I * (t.I - 1) * std::pow(pi, t.I - 2) * bJ;
        r.Gt += t.N * pI * t.J * std::pow(b, t.J - 1);
        r.Gtt += t.N * pI * t.J * (t.J - 1) * std::pow(b, t.J - 2);
        r.Gpt += t.N * t.I * std::pow(pi, t.I - 1) * t.J * std::pow(b, t.J - 1);
    }
    Gibbs g;
    g.G = o.G + r.G;
    g.Gp = o.Gp + r.Gp;
    g.Gt = o.Gt + r.Gt;
    g.Gtt = o.Gtt + r.Gtt;
    const double d = 1.0 + pi * r.Gp - tau * pi * r.Gpt;
    const double e = 1.0 - pi * pi * r.Gpp;
    const double cv = R_kJ_kgK * (-tau * tau * g.Gtt - d * d / e);
    SteamProperties s = FromGibbs(p_MPa, T_K, pi, tau, g, cv);
    const double w2 = R_kJ_kgK * 1e3 * T_K * (1.0 + 2.0 * pi * r.Gp + pi * pi * r.Gp * r.Gp) /
                      (e + d * d / (tau * tau * g.Gtt));
    s.SoundSpeed_m_s = std::sqrt(w2);
    return s;
}

std::optional<double> SaturationPressure_MPa(double T_K) {
    if (!Finite(T_K) || T_K < TTriple_K || T_K > TCritical_K) return std::nullopt;
    const double th = T_K + N4[9] / (T_K - N4[10]);
    const double A = th * th + N4[1] * th + N4[2];
    const double B = N4[3] * th * th + N4[4] * th + N4[5];
    const double C = N4[6] * th * th + N4[7] * th + N4[8];
    return std::pow(2.0 * C / (-B + std::sqrt(B * B - 4.0 * A * C)), 4);
}

std::optional<double> SaturationTemperature_K(double p_MPa) {
    if (!Finite(p_MPa) || p_MPa < 611.213e-6 || p_MPa > PCritical_MPa) return std::nullopt;
    const double beta = std::pow(p_MPa, 0.25);
    const double E = beta * beta + N4[3] * beta + N4[6];
    const double F = N4[1] * beta * beta + N4[4] * beta + N4[7];
    const double G = N4[2] * beta * beta + N4[5] * beta + N4[8];
    const double D = 2.0 * G / (-F - std::sqrt(F * F - 4.0 * E * G));
    const double s = N4[10] + D;
    return (s - std::sqrt(s * s - 4.0 * (N4[9] + N4[10] * D))) / 2.0;
}

std::optional<Saturation> SaturationAt(double p_MPa) {
    if (!(p_MPa <= 16.5)) return std::nullopt;
    const std::optional<double> T = SaturationTemperature_K(p_MPa);
    if (!T) return std::nullopt;
    // The saturation temperature and region 2's bound agree only to the
    // equations' own precision: ask region 2 a hair above it.
    const auto liquid = Region1(p_MPa, *T);
    const auto vapour = Region2(p_MPa * (1.0 - 1e-12), *T);
    if (!liquid || !vapour) return std::nullopt;
    return Saturation{*T, *liquid, *vapour};
}

std::optional<PsState> StateFromEntropy(double p_MPa, double s_kJ_kgK) {
    if (!Finite(s_kJ_kgK)) return std::nullopt;
    const std::optional<Saturation> sat = SaturationAt(p_MPa);
    if (!sat) return std::nullopt;
    const double sf = sat->Liquid.Entropy_kJ_kgK, sg = sat->Vapour.Entropy_kJ_kgK;
    if (s_kJ_kgK < sf) return std::nullopt;
    if (s_kJ_kgK <= sg) {
        const double x = (s_kJ_kgK - sf) / (sg - sf);
        PsState out;
        out.T_K = sat->T_K;
        out.Quality = x;
        out.SpecificVolume_m3_kg =
            sat->Liquid.SpecificVolume_m3_kg +
            x * (sat->Vapour.SpecificVolume_m3_kg - sat->Liquid.SpecificVolume_m3_kg);
        out.Enthalpy_kJ_kg = sat->Liquid.Enthalpy_kJ_kg +
                             x * (sat->Vapour.Enthalpy_kJ_kg - sat->Liquid.Enthalpy_kJ_kg);
        return out;
    }
    constexpr double TMax_K = 863.15;
    const auto entropyGap = [&](double T) {
        const auto st = Region2(p_MPa, T);
        return st ? st->Entropy_kJ_kgK - s_kJ_kgK : 1.0;
    };
    const double lo = sat->T_K * (1.0 + 1e-12);
    if (entropyGap(TMax_K) < 0.0) return std::nullopt;
    std::uintmax_t iter = 100;
    const auto root = boost::math::tools::toms748_solve(
        entropyGap, lo, TMax_K, boost::math::tools::eps_tolerance<double>(48), iter);
    const double T = (root.first + root.second) / 2.0;
    const auto st = Region2(p_MPa, T);
    if (!st) return std::nullopt;
    return PsState{T, 1.0, st->SpecificVolume_m3_kg, st->Enthalpy_kJ_kg};
}

} // namespace kes::if97
