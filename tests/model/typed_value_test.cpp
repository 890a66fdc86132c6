// SPDX-License-Identifier: GPL-3.0-or-later
// The one parser of typed numbers and the clamp of typed values.

#include "model/typed_value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

using namespace kes;

TEST(ControlsTypedValues, LongestLeadingNumber) {
    struct Row {
        const char* text;
        float value;
    };
    const Row rows[] = {
        {"12.5", 12.5f}, {"-3", -3.0f}, {"5-", 5.0f}, {"-.5", -0.5f},  {"", 0.0f},
        {"-", 0.0f},     {".", 0.0f},   {"-.", 0.0f}, {"1.2.3", 1.2f}, {"abc", 0.0f},
        {"1e5", 1.0f},   {"007", 7.0f}, {"3.", 3.0f}, {" 4", 0.0f},
    };
    for (const Row& r : rows)
        EXPECT_EQ(ParseTypedValue(r.text), r.value) << r.text;

    const std::string huge(60, '9');
    EXPECT_EQ(ParseTypedValue(huge), std::numeric_limits<float>::max());
    EXPECT_EQ(ParseTypedValue("-" + huge), -std::numeric_limits<float>::max());
    const std::string tiny = "0." + std::string(400, '0') + "1";
    EXPECT_EQ(ParseTypedValue(tiny), 0.0f);
}

TEST(ControlsTypedValues, ClampHandlesNaN) {
    EXPECT_EQ(ClampValue(std::nan(""), 0.5, 2000.0), 0.5f);
    EXPECT_EQ(ClampValue(1e300, 0.5, 2000.0), 2000.0f);
    EXPECT_EQ(ClampValue(3.0, 0.5, 2000.0), 3.0f);
}

TEST(ControlsTypedValues, FieldsSkipLeadingBlanks) {
    EXPECT_EQ(ParseTypedValue("  7.5", true), 7.5f);
    EXPECT_EQ(ParseTypedValue("  7.5"), 0.0f);
    EXPECT_EQ(ParseTypedValue(" -.25x", true), -0.25f);
    EXPECT_FALSE(std::signbit(ParseTypedValue("-0", true)));
    EXPECT_FALSE(std::signbit(ParseTypedValue("-0.000")));
}

} // namespace
