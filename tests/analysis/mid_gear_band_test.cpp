// SPDX-License-Identifier: GPL-3.0-or-later
// The read-outs' mid-gear test: strictly within 0.05 of mid gear, measured
// so that it holds beside a huge mid gear too, where a band in float
// collapses onto mid gear itself.

#include "analysis/travel_readouts.h"
#include "model/model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct BandCase {
    const char* Name;
    float MidGear;
    double Position; // as an offset from mid gear when Relative
    bool Relative;
    bool Inside;
};

class MidGearBand : public ::testing::TestWithParam<BandCase> {};

TEST_P(MidGearBand, Holds) {
    const BandCase& c = GetParam();
    kes::Mechanism m;
    m.RevArmPositions[0] = c.MidGear;
    // A relative position is held as a float, as the positions are.
    const double position =
        c.Relative ? static_cast<double>(c.MidGear + static_cast<float>(c.Position)) : c.Position;
    EXPECT_EQ(analysis::IsAtMidGear(m, position), c.Inside) << c.Name;
}

constexpr float Factory = 10.4234f;
constexpr float Huge = -4.04769e25f;
constexpr float Largest = std::numeric_limits<float>::max();

INSTANTIATE_TEST_SUITE_P(
    Positions, MidGearBand,
    ::testing::Values(
        BandCase{"at mid gear", Factory, 0.0, true, true},
        BandCase{"+0.04", Factory, 0.04, true, true}, BandCase{"-0.04", Factory, -0.04, true, true},
        BandCase{"+0.05 as a float", Factory, 0.05, true, false},
        BandCase{"-0.05 as a float", Factory, -0.05, true, false},
        BandCase{"full gear", Factory, 1.5, true, false},
        BandCase{"huge mid gear itself", Huge, 0.0, true, true},
        BandCase{"the float after a huge mid gear", Huge,
                 static_cast<double>(std::nextafter(Huge, 0.0f)), false, false},
        BandCase{"largest float itself", Largest, 0.0, true, true},
        BandCase{"NaN", Factory, std::numeric_limits<double>::quiet_NaN(), false, false},
        BandCase{"+Inf", Factory, std::numeric_limits<double>::infinity(), false, false}));

} // namespace
