// SPDX-License-Identifier: GPL-3.0-or-later
// Scaling a design: what scales, what does not, and the round trip.

#include "model/design_changes.h"
#include "model/dimensions.h"
#include "model/dyn_vars.h"
#include "model/mid_gear.h"
#include "model/model.h"
#include "model/scale_design.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

namespace {

kes::Model Factory() {
    kes::Model m;
    kes::InitialiseModel(m);
    return m;
}

// Distance in units in the last place between two finite floats.
int64_t UlpDistance(float a, float b) {
    auto key = [](float f) {
        int32_t i = 0;
        std::memcpy(&i, &f, sizeof f);
        return i < 0 ? int64_t(INT32_MIN) - i : int64_t(i);
    };
    return std::llabs(key(a) - key(b));
}

// Every value of a design that ScaleDesign touches, in a fixed order.
std::vector<float> StoredValues(const kes::Mechanism& m) {
    std::vector<float> v;
    auto addStruct = [&](const auto& s) {
        const size_t n = sizeof s / sizeof(float);
        const size_t at = v.size();
        v.resize(at + n);
        std::memcpy(v.data() + at, &s, sizeof s);
    };
    addStruct(m.Frame);
    addStruct(m.Baker);
    v.insert(v.end(), m.Cylinder.begin(), m.Cylinder.end());
    for (int p : {kes::GearMount, kes::RevArmPivot, kes::BellCrankPivot, kes::RevArmPivotCopy,
                  kes::BellCrankPivotCopy, kes::RefPoint1, kes::RefPoint2}) {
        v.push_back(m.Points[size_t(p)].X);
        v.push_back(m.Points[size_t(p)].Y);
    }
    v.push_back(m.Points[kes::Crosshead].Y);
    v.insert(v.end(), m.RevArmPositions.begin(), m.RevArmPositions.end());
    v.push_back(m.RevArmSetting);
    v.push_back(m.DiagramRevArmSetting);
    v.push_back(m.GraphicZoom);
    for (const kes::View& view : {m.CurrentView, m.SavedView, m.ZoomAnchorView}) {
        v.push_back(view.Scale);
        v.push_back(view.OffsetX);
        v.push_back(view.OffsetY);
    }
    v.insert(v.end(), m.ViewPresets.begin(), m.ViewPresets.end());
    for (const kes::LineItem& it : m.LineTable)
        for (float f : {it.Point1X, it.Point1Y, it.Point2X, it.Point2Y, it.Ref1X, it.Ref1Y,
                        it.Ref2X, it.Ref2Y})
            v.push_back(f);
    v.push_back(m.VerticalScale);
    return v;
}

// A design with a line, a circle, reference points and extra positions.
kes::Model Decorated() {
    kes::Model m = Factory();
    m.LineTable[1] = {1.25f, 2.5f, 7.75f, -0.3f, 0.1f, 0.2f, -1.0f, 3.0f, 0, 2, 0, 6, 11};
    m.LineTable[2] = {3.0f, 4.0f, 0.875f, -1.0f, -1.0f, -1.0f, -1.0f, -1.0f, 1, 3, 1, 16, 16};
    m.LineTable[3].Point1X = 5.5f; // typed, but the item has no type yet
    m.Points[kes::RefPoint1] = {2.0f, 1.0f, 0, 0};
    m.Points[kes::RefPoint2] = {-3.3f, 0.7f, 0, 0};
    m.RevArmPositions[4] = 11.2f;
    m.RevArmPositions[5] = 9.65f;
    kes::UpdateRevArmPositionCount(m);
    m.DiagramRevArmSetting = 10.9f;
    m.CurrentView = {27.5f, -40.0f, 310.0f};
    return m;
}

float Scaled(float v, double f) {
    return static_cast<float>(static_cast<double>(v) * f);
}

TEST(ScaleDesign, LengthsScaleAndTheRestStays) {
    const kes::Model before = Decorated();
    kes::Model m = before;
    const double f = kes::InchesToMillimetres;
    ASSERT_TRUE(kes::ScaleDesign(m, f));

    const struct {
        const char* What;
        float Before, After;
    } lengths[] = {
        {"main rod", before.Frame.MainRodLength, m.Frame.MainRodLength},
        {"reverse-arm max", before.Frame.RevArmMax, m.Frame.RevArmMax},
        {"radius bar", before.Baker.RadiusBarLength, m.Baker.RadiusBarLength},
        {"valve length front", before.Cylinder[kes::ValveLengthFront],
         m.Cylinder[kes::ValveLengthFront]},
        {"gear mount X", before.Points[kes::GearMount].X, m.Points[kes::GearMount].X},
        {"bell-crank pivot Y", before.Points[kes::BellCrankPivot].Y,
         m.Points[kes::BellCrankPivot].Y},
        {"cylinder height", before.Points[kes::Crosshead].Y, m.Points[kes::Crosshead].Y},
        {"reference point 2 X", before.Points[kes::RefPoint2].X, m.Points[kes::RefPoint2].X},
        {"position 5", before.RevArmPositions[5], m.RevArmPositions[5]},
        {"diagram setting", before.DiagramRevArmSetting, m.DiagramRevArmSetting},
        {"graphic zoom", before.GraphicZoom, m.GraphicZoom},
        {"line 1 point 2 Y", before.LineTable[1].Point2Y, m.LineTable[1].Point2Y},
        {"line 1 ref 2 X (-1 in a used item)", before.LineTable[1].Ref2X, m.LineTable[1].Ref2X},
        {"circle radius", before.LineTable[2].Point2X, m.LineTable[2].Point2X},
        {"typed field of an untyped item", before.LineTable[3].Point1X, m.LineTable[3].Point1X},
    };
    for (const auto& c : lengths)
        EXPECT_EQ(c.After, Scaled(c.Before, f)) << c.What;

    // The pivot copies and the valve-stem height follow their pivots.
    EXPECT_EQ(m.Points[kes::RevArmPivotCopy].X, m.Points[kes::RevArmPivot].X);
    EXPECT_EQ(m.Points[kes::BellCrankPivotCopy].Y, m.Points[kes::BellCrankPivot].Y);
    EXPECT_FLOAT_EQ(m.Points[kes::ValveStemJoint].Y,
                    m.Points[kes::Crosshead].Y + m.Cylinder[kes::ValveStemToCylCL]);

    // Unused line fields, angles, counts and the vertical scale stay.
    EXPECT_EQ(m.LineTable[4].Point1X, -1.0f);
    EXPECT_EQ(m.LineTable[3].Point2Y, -1.0f);
    EXPECT_EQ(m.LineTable[1].ItemColor, 2);
    EXPECT_EQ(m.LineTable[1].Ref2Pivot, 11);
    EXPECT_EQ(m.VerticalScale, before.VerticalScale);
    EXPECT_EQ(m.DriverAngle, before.DriverAngle);
    EXPECT_EQ(m.StepAngle, before.StepAngle);
    EXPECT_EQ(m.RevArmPositionCount, before.RevArmPositionCount);
    EXPECT_EQ(m.CurrentItem, before.CurrentItem);

    // The picture keeps its size: scales divided, offsets kept.
    EXPECT_EQ(m.CurrentView.Scale, static_cast<float>(27.5 / f));
    EXPECT_EQ(m.CurrentView.OffsetX, before.CurrentView.OffsetX);
    EXPECT_EQ(m.CurrentView.OffsetY, before.CurrentView.OffsetY);
    EXPECT_EQ(m.ViewPresets[3], static_cast<float>(62.0 / f));
    EXPECT_EQ(m.ViewPresets[4], before.ViewPresets[4]);
    EXPECT_EQ(m.NormalView.Scale, before.NormalView.Scale);

    // Mid gear found again, in the new unit.
    EXPECT_NEAR(m.MidGear(), before.MidGear() * f, 1e-4 * before.MidGear() * f);
    EXPECT_EQ(m.RevArmSetting, m.MidGear());
    EXPECT_EQ(m.RevArmPositions[2], static_cast<float>(double(m.MidGear()) + m.Frame.RevArmNorm));
}

TEST(ScaleDesign, RoundTripGivesEveryValueBackWithinOneUlp) {
    const double factors[] = {kes::InchesToMillimetres,
                              1.0 / kes::InchesToMillimetres,
                              3.0,
                              0.5,
                              7.0 / 3.0,
                              1000.0,
                              0.0123};
    const kes::Model original = Decorated();
    const std::vector<float> want = StoredValues(original);
    for (double f : factors) {
        kes::Model m = original;
        ASSERT_TRUE(kes::ScaleDesign(m, f)) << f;
        ASSERT_TRUE(kes::ScaleDesign(m, 1.0 / f)) << f;
        const std::vector<float> got = StoredValues(m);
        ASSERT_EQ(got.size(), want.size());
        for (size_t i = 0; i < got.size(); ++i)
            EXPECT_LE(UlpDistance(got[i], want[i]), 1) << "factor " << f << " value " << i << ": "
                                                       << want[i] << " came back as " << got[i];
    }
}

TEST(ScaleDesign, RoundTripHoldsAcrossTheFloatRange) {
    // The cylinder slots carry random values of every magnitude and sign.
    std::mt19937 gen(20240611u);
    std::uniform_real_distribution<double> exponent(-30.0, 30.0);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_real_distribution<double> factorLog(-3.0, 3.0);
    for (int trial = 0; trial < 400; ++trial) {
        kes::Model m = Factory();
        for (float& v : m.Cylinder) {
            v = static_cast<float>(mantissa(gen) * std::pow(10.0, exponent(gen)));
            if (gen() % 2) v = -v;
        }
        const kes::CylinderArray want = m.Cylinder;
        const double f = std::pow(10.0, factorLog(gen));
        ASSERT_TRUE(kes::ScaleDesign(m, f));
        ASSERT_TRUE(kes::ScaleDesign(m, 1.0 / f));
        for (size_t i = 0; i < want.size(); ++i)
            ASSERT_LE(UlpDistance(m.Cylinder[i], want[i]), 1)
                << "factor " << f << ": " << want[i] << " came back as " << m.Cylinder[i];
    }
}

TEST(ScaleDesign, RefusesBadFactorsAndOverflowChangingNothing) {
    const double bad[] = {0.0, -2.0, std::nan(""), HUGE_VAL, 1e38};
    for (double f : bad) {
        kes::Model m = Decorated();
        const std::vector<float> want = StoredValues(m);
        EXPECT_FALSE(kes::ScaleDesign(m, f)) << f;
        EXPECT_EQ(StoredValues(m), want) << f;
    }
}

TEST(ScaleModel, ClearsDynamicVariablesIsOneUndoStepAndMarksModified) {
    kes::Model m = Decorated();
    kes::SelectDimension(m, 3);
    kes::PushUndo(m, 3, 16.0f);
    kes::CompleteUndo(m, 17.0f, "Main Rod Length");
    kes::MarkDesignSaved(m);
    ASSERT_FALSE(kes::IsDesignModified(m));

    ASSERT_TRUE(kes::ScaleModel(m, kes::InchesToMillimetres));
    EXPECT_EQ(m.DynVarSlots[1].Name, kes::EmptySlotName);
    // The typed edit before it stays below the one step of the scaling.
    EXPECT_EQ(m.UndoCount, 2);
    EXPECT_EQ(m.UndoRecord[1].Name, "Scale Design");
    EXPECT_EQ(m.UndoRecord[2].Name, "Main Rod Length");
    EXPECT_TRUE(m.UndoButtonsEnabled);
    EXPECT_EQ(m.RevArmBarMax, 43180); // 1.7 in = 43.18 mm
    EXPECT_TRUE(kes::IsDesignModified(m));

    // A refused factor is no change.
    kes::MarkDesignSaved(m);
    EXPECT_FALSE(kes::ScaleModel(m, -1.0));
    EXPECT_FALSE(kes::IsDesignModified(m));
}

} // namespace
