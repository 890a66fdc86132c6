#include "analysis/design_checks.h"
#include "analysis/precise_mid_gear.h"
#include "model/dimensions.h"
#include "model/mid_gear.h"
#include <gtest/gtest.h>
#include <cstdio>
TEST(Explore, Probe) {
    for (float bh : {3.0f, 4.0f, 10.0f}) {
        kes::Model m; kes::InitialiseModel(m);
        kes::SetDimension(m, 26, bh);
        printf("bellcrank horz %.1f: midgear found %d precise %d\n", bh, kes::FindMidGear(m), (int)kes::PreciseMidGear(m).has_value());
    }
    for (float mx : {2.0f, 2.5f, 3.0f, 3.5f}) {
        kes::Model m; kes::InitialiseModel(m);
        m.Frame.RevArmMax = mx;
        auto c = kes::RunDesignChecks(m);
        for (auto& l : c.Lines) if (l.Topic == "closure") printf("max %.1f %s %s\n", mx, kes::CheckLevelText(l.Level), l.Text.c_str());
    }
}
