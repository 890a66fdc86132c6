// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Designs the analysis tests share: the factory gear and two made-up
// engines, each with mid gear found as the program does after an edit.

#include "model/dimensions.h"
#include "model/mid_gear.h"
#include "model/model.h"

#include <string>
#include <vector>

namespace analysis_test {

inline kes::Model Factory() {
    kes::Model m;
    kes::InitialiseModel(m);
    return m;
}

// Every length half as large again, and the cylinder line raised above the
// axle, which moves the dead centres off 0 and 180 degrees.
inline kes::Model BigOffsetEngine() {
    kes::Model m = Factory();
    for (int id = 1; id <= 122; ++id)
        if (kes::IsDimensionId(id)) kes::SetDimension(m, id, kes::GetDimension(m, id) * 1.5f);
    m.Frame.RevArmNorm *= 1.5f;
    m.Frame.RevArmMax *= 1.5f;
    kes::SetDimension(m, 102, 0.4f);
    kes::FindMidGear(m);
    return m;
}

// A different gear on the factory frame: longer valve laps, a longer
// eccentric rod, a lower mounting and a shorter valve rod.
inline kes::Model AlteredGear() {
    kes::Model m = Factory();
    const std::pair<int, float> edits[] = {{13, 11.4f}, {14, 4.8f},    {10, 6.2f},
                                           {11, 2.0f},  {119, 1.09f},  {118, 1.08f},
                                           {20, 2.3f},  {121, 0.575f}, {120, 0.57f}};
    for (const auto& [id, value] : edits)
        kes::SetDimension(m, id, value);
    kes::FindMidGear(m);
    return m;
}

struct NamedDesign {
    std::string Name;
    kes::Model Design;
};

inline std::vector<NamedDesign> AllDesigns() {
    return {{"factory", Factory()},
            {"big offset engine", BigOffsetEngine()},
            {"altered gear", AlteredGear()}};
}

} // namespace analysis_test
