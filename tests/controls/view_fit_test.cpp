// SPDX-License-Identifier: GPL-3.0-or-later
// "Fit to Window" frames every pivot at every crank angle, the wheel and the
// cylinder, in the picture and below the read-outs, for every sample design.

#include "controls/view_fit.h"
#include "files/dimension_file.h"
#include "model/model.h"
#include "model/solver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

kes::Model Design(const std::string& name) {
    kes::Model m;
    kes::InitialiseModel(m);
    if (!name.empty()) {
        const kes::FileResult r =
            kes::LoadDimensionsByExtension(m, std::string(KESTROVE_DATA) + "/" + name);
        EXPECT_TRUE(r.Ok) << name << ": " << r.Message;
    }
    return m;
}

// The screen point of a world point in the model's view.
double Sx(const kes::Model& m, double x) {
    return x * m.CurrentView.Scale + m.CurrentView.OffsetX;
}
double Sy(const kes::Model& m, double y) {
    return -y * m.CurrentView.Scale + m.CurrentView.OffsetY;
}

TEST(FitToWindow, FramesEveryPointOfTheTurn) {
    for (const char* name : {"", "small-engine.kvd", "big-engine.kvd"}) {
        for (const auto& [w, h] :
             {std::pair{800, 600}, std::pair{1280, 1024}, std::pair{640, 300}}) {
            SCOPED_TRACE(std::string(name) + " " + std::to_string(w) + "x" + std::to_string(h));
            kes::Model m = Design(name);
            m.ScreenDataOn = true;
            kes::ControlState cs;
            ASSERT_TRUE(kes::FitToWindowClick(m, cs, w, h));
            EXPECT_TRUE(cs.NormEnabled);
            EXPECT_FALSE(kes::ViewCutsOffGear(m, w, h));
            const kes::WorldBox free = kes::FreePicture(m, w, h);
            kes::Model c = m;
            for (int deg = 0; deg < 360; deg += 5) {
                c.DriverAngle = static_cast<float>(deg);
                kes::SolveLinkage(c);
                for (int i : {kes::CrankPin, kes::Crosshead, kes::EccCrankPin, kes::RevArmTop,
                              kes::GearMount}) {
                    const auto& p = c.Points[static_cast<size_t>(i)];
                    EXPECT_GE(Sx(m, p.X), free.MinX - 1) << i << " at " << deg;
                    EXPECT_LE(Sx(m, p.X), free.MaxX + 1) << i << " at " << deg;
                    EXPECT_GE(Sy(m, p.Y), free.MinY - 1) << i << " at " << deg;
                    EXPECT_LE(Sy(m, p.Y), free.MaxY + 1) << i << " at " << deg;
                }
            }
            // The wheel, whole.
            const double r = 0.5 * m.Frame.DriverDiameter;
            EXPECT_GE(Sx(m, -r), free.MinX - 1);
            EXPECT_LE(Sy(m, -r), free.MaxY + 1);
            // The cylinder's far end.
            const double far = m.Cylinder[kes::CylCtrToDriver] + 0.5 * m.Cylinder[kes::BoreLength];
            EXPECT_LE(Sx(m, far), free.MaxX + 1);
            // It fills the picture one way or the other.
            const auto box = kes::GearExtent(m);
            ASSERT_TRUE(box);
            const double usedW = (box->MaxX - box->MinX) * m.CurrentView.Scale;
            const double usedH = (box->MaxY - box->MinY) * m.CurrentView.Scale;
            EXPECT_TRUE(std::fabs(usedW - (free.MaxX - free.MinX)) < 2 ||
                        std::fabs(usedH - (free.MaxY - free.MinY)) < 2);
        }
    }
}

TEST(FitToWindow, TheStartViewCutsOffTheBigEngine) {
    kes::Model m = Design("big-engine.kvd");
    m.CurrentView = kes::View{};
    EXPECT_TRUE(kes::ViewCutsOffGear(m, 800, 600));
}

} // namespace
