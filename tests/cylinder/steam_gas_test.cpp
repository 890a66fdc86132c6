// SPDX-License-Identifier: GPL-3.0-or-later
// The steam of the cylinder model against IF97: the critical pressure
// ratios of dry saturated and superheated steam, and the orifice flow of a
// fully open port against the isentropic nozzle flow of the tables.

#include "cylinder/steam_gas.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

constexpr double Atmosphere = 101325.0;
constexpr double PaPerPsi = 6894.757293168;

TEST(SteamGas, CriticalPressureRatiosAreTheClassicalOnes) {
    const struct {
        double GaugePsi, Superheat_K, Ratio;
    } cases[] = {
        {200.0, 0.0, 0.577},   {100.0, 0.0, 0.577},   {250.0, 0.0, 0.577},
        {200.0, 150.0, 0.546}, {250.0, 200.0, 0.546},
    };
    for (const auto& c : cases) {
        const auto gas = kes::MakeSteamGas(c.GaugePsi * PaPerPsi + Atmosphere, c.Superheat_K,
                                           Atmosphere + 3 * PaPerPsi);
        ASSERT_TRUE(gas);
        EXPECT_NEAR(gas->CriticalRatio(), c.Ratio, 0.002)
            << c.GaugePsi << " psi, " << c.Superheat_K << " K superheat, k = " << gas->Exponent;
    }
}

TEST(SteamGas, OrificeFlowMatchesTheIsentropicNozzle) {
    for (double superheat : {0.0, 60.0, 150.0}) {
        const double p1 = 200.0 * PaPerPsi + Atmosphere;
        const auto gas = kes::MakeSteamGas(p1, superheat, Atmosphere);
        ASSERT_TRUE(gas);
        for (double ratio : {0.9, 0.8, 0.7, 0.6, 0.5, 0.3}) {
            const std::optional<double> tables = kes::If97NozzleFlux(p1, superheat, ratio * p1);
            ASSERT_TRUE(tables);
            const double model =
                kes::OrificeFlux(p1, gas->ChestDensity_kg_m3, ratio * p1, gas->Exponent);
            EXPECT_NEAR(model, *tables, 0.01 * *tables)
                << "superheat " << superheat << " K, ratio " << ratio;
        }
    }
}

TEST(SteamGas, FlowStopsAndReversesAtEqualPressure) {
    const double p = 1.0e6, rho = 5.0, k = 1.135;
    EXPECT_EQ(kes::OrificeFlux(p, rho, p, k), 0.0);
    EXPECT_EQ(kes::OrificeFlux(p, rho, 1.1 * p, k), 0.0);
    // Continuous through the linear band and choked below the critical ratio.
    const double inside = kes::OrificeFlux(p, rho, 0.95 * p - 1.0, k);
    const double edge = kes::OrificeFlux(p, rho, 0.95 * p + 1.0, k);
    EXPECT_NEAR(inside, edge, 1e-3 * inside);
    EXPECT_DOUBLE_EQ(kes::OrificeFlux(p, rho, 0.1 * p, k), kes::OrificeFlux(p, rho, 0.3 * p, k));
}

TEST(SteamGas, RefusesStatesOutsideTheTables) {
    EXPECT_FALSE(kes::MakeSteamGas(1e6, 0.0, 2e6));    // exhaust above the chest
    EXPECT_FALSE(kes::MakeSteamGas(-1.0, 0.0, 1e5));   // negative pressure
    EXPECT_FALSE(kes::MakeSteamGas(1e6, 1000.0, 1e5)); // beyond region 2
    EXPECT_FALSE(kes::MakeSteamGas(1e6, -5.0, 1e5));   // below saturation
}

} // namespace
