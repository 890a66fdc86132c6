// SPDX-License-Identifier: GPL-3.0-or-later
// IF97 against the release's verification points and the reference grid in
// tests/data/if97-reference.csv.

#include "cylinder/if97.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace kes::if97;

struct Row {
    std::string Kind;
    int Region = 0;
    double P = 0, T = 0, V = 0, H = 0, S = 0, Cp = 0, W = 0;
    int Line = 0;
};

std::vector<Row> ReadReference() {
    std::ifstream in(KESTROVE_DATA "/if97-reference.csv");
    std::vector<Row> rows;
    std::string line;
    int n = 0;
    while (std::getline(in, line)) {
        ++n;
        if (line.empty() || line[0] == '#' || line.rfind("kind", 0) == 0) continue;
        std::stringstream ss(line);
        std::vector<std::string> f;
        std::string cell;
        while (std::getline(ss, cell, ','))
            f.push_back(cell);
        f.resize(9);
        const auto num = [](const std::string& s) { return s.empty() ? 0.0 : std::stod(s); };
        rows.push_back({f[0], std::stoi(f[1]), num(f[2]), num(f[3]), num(f[4]), num(f[5]),
                        num(f[6]), num(f[7]), num(f[8]), n});
    }
    return rows;
}

// The release prints nine significant digits; the grid is good to 1e-6.
void ExpectRel(double got, double want, double rel, const Row& r, const char* what) {
    EXPECT_NEAR(got, want, std::abs(want) * rel) << what << " at line " << r.Line;
}

void ExpectState(const SteamProperties& s, const Row& r, double rel) {
    ExpectRel(s.SpecificVolume_m3_kg, r.V, rel, r, "v");
    ExpectRel(s.Enthalpy_kJ_kg, r.H, rel, r, "h");
    ExpectRel(s.Entropy_kJ_kgK, r.S, rel, r, "s");
    ExpectRel(s.Cp_kJ_kgK, r.Cp, rel, r, "cp");
    ExpectRel(s.SoundSpeed_m_s, r.W, rel, r, "w");
    // u = h - p v, with p v in kJ/kg.
    ExpectRel(s.InternalEnergy_kJ_kg, r.H - r.P * 1e3 * r.V, rel, r, "u");
}

TEST(If97, ReproducesTheReferenceTable) {
    const std::vector<Row> rows = ReadReference();
    ASSERT_GE(rows.size(), 50u);
    int index = 0;
    for (const Row& r : rows) {
        const double rel = index++ < 6 ? 5e-9 : 1e-6;
        if (r.Kind == "state") {
            const auto s = r.Region == 1 ? Region1(r.P, r.T) : Region2(r.P, r.T);
            ASSERT_TRUE(s) << "line " << r.Line;
            ExpectState(*s, r, rel);
        } else if (r.Kind == "psat_of_T") {
            const auto p = SaturationPressure_MPa(r.T);
            ASSERT_TRUE(p);
            ExpectRel(*p, r.P, 5e-9, r, "psat");
        } else if (r.Kind == "tsat_of_p") {
            const auto T = SaturationTemperature_K(r.P);
            ASSERT_TRUE(T);
            ExpectRel(*T, r.T, 5e-9, r, "Tsat");
        } else {
            const auto sat = SaturationAt(r.P);
            ASSERT_TRUE(sat) << "line " << r.Line;
            ExpectRel(sat->T_K, r.T, 1e-8, r, "Tsat");
            ExpectState(r.Kind == "sat_vapour" ? sat->Vapour : sat->Liquid, r, 1e-6);
        }
    }
}

TEST(If97, RefusesStatesOutsideItsRegions) {
    EXPECT_FALSE(Region1(1.0, 200.0));
    EXPECT_FALSE(Region1(-1.0, 300.0));
    EXPECT_FALSE(Region1(std::nan(""), 300.0));
    // Below saturation temperature at 1 MPa region 2 would be liquid.
    EXPECT_FALSE(Region2(1.0, 400.0));
    EXPECT_FALSE(Region2(1.0, 900.0));
    EXPECT_FALSE(SaturationTemperature_K(30.0));
    EXPECT_FALSE(SaturationPressure_MPa(700.0));
    EXPECT_FALSE(StateFromEntropy(1.0, std::nan("")));
}

TEST(If97, EntropyStatesInvertTheirRegions) {
    // Superheated: back to the temperature it came from.
    const auto hot = Region2(1.0, 553.0);
    ASSERT_TRUE(hot);
    const auto back = StateFromEntropy(1.0, hot->Entropy_kJ_kgK);
    ASSERT_TRUE(back);
    EXPECT_NEAR(back->T_K, 553.0, 1e-6);
    EXPECT_DOUBLE_EQ(back->Quality, 1.0);
    EXPECT_NEAR(back->Enthalpy_kJ_kg, hot->Enthalpy_kJ_kg, 1e-6);
    // Dry saturated at 1.4 MPa expanded to 0.1 MPa is wet, about 12 % moisture.
    const auto sat = SaturationAt(1.4);
    ASSERT_TRUE(sat);
    const auto wet = StateFromEntropy(0.1, sat->Vapour.Entropy_kJ_kgK);
    ASSERT_TRUE(wet);
    EXPECT_GT(wet->Quality, 0.85);
    EXPECT_LT(wet->Quality, 0.9);
    EXPECT_NEAR(wet->T_K, 372.756, 1e-3);
}

} // namespace
