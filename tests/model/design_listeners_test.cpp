// SPDX-License-Identifier: GPL-3.0-or-later
// The design's listeners: told of every new revision and of a mid gear found
// anew, carried by no copy of the model, and safe to leave from inside a call.
#include "model/design_changes.h"
#include "model/design_edit.h"
#include "model/dimensions.h"
#include "model/dyn_vars.h"
#include "model/model.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace {

kes::Model Factory() {
    kes::Model m;
    kes::InitialiseModel(m);
    return m;
}

struct Heard {
    int Calls = 0;
    std::uint64_t Revision = 0;
};

kes::DesignListeners::Token Listen(kes::Model& m, Heard& heard) {
    return m.Listeners.Add([&m, &heard] {
        ++heard.Calls;
        heard.Revision = kes::DesignRevision(m);
    });
}

TEST(DesignListeners, AreToldOfEveryEditAndOfNothingElse) {
    const std::array<kes::DesignEdit, 1> one{{{3, 17.25f}}};
    struct Case {
        const char* What;
        std::function<void(kes::Model&)> Act;
        bool Told;
    };
    const std::vector<Case> cases{
        {"an edit", [&](kes::Model& m) { kes::ApplyDesignEdit(m, one, "Main Rod Length"); }, true},
        {"a bar step",
         [](kes::Model& m) {
             kes::SelectDimension(m, 9);
             kes::StepDynVar(m, 1, 0.02f);
         },
         true},
        {"a group reset", [](kes::Model& m) { kes::ResetCylinderGroup(m, true); }, true},
        {"mid gear moved",
         [](kes::Model& m) {
             m.RevArmPositions[0] += 0.5f;
             kes::RefindMidGear(m);
         },
         true},
        {"mid gear found where it was", [](kes::Model& m) { kes::RefindMidGear(m); }, false},
        {"the driver turning", [](kes::Model& m) { m.DriverAngle = 90.0f; }, false},
        {"an edit that changes nothing",
         [](kes::Model& m) {
             const std::array<kes::DesignEdit, 1> same{{{3, kes::GetDimension(m, 3)}}};
             kes::ApplyDesignEdit(m, same, "Main Rod Length");
         },
         false},
    };
    for (const Case& c : cases) {
        kes::Model m = Factory();
        const std::uint64_t before = kes::DesignRevision(m);
        Heard heard;
        Listen(m, heard);
        c.Act(m);
        EXPECT_EQ(heard.Calls > 0, c.Told) << c.What;
        // Told once the revision has moved, not before.
        if (heard.Calls > 0 && kes::DesignRevision(m) != before) {
            EXPECT_EQ(heard.Revision, kes::DesignRevision(m)) << c.What;
        }
    }
}

TEST(DesignListeners, NoCopyOfTheModelCarriesThem) {
    kes::Model m = Factory();
    Heard heard;
    Listen(m, heard);
    ASSERT_EQ(m.Listeners.Count(), 1u);

    // A worker's copy, whole or as a mechanism, tells nobody of its edits.
    kes::Model copy = m;
    EXPECT_EQ(copy.Listeners.Count(), 0u);
    kes::BumpDesignRevision(copy);
    kes::Model moved = std::move(copy);
    EXPECT_EQ(moved.Listeners.Count(), 0u);
    kes::BumpDesignRevision(moved);
    EXPECT_EQ(heard.Calls, 0);

    // Taking another model's value keeps one's own listeners.
    kes::Model other = Factory();
    kes::SetDimension(other, 3, 18.0f);
    m = other;
    EXPECT_EQ(m.Listeners.Count(), 1u);
    EXPECT_EQ(other.Listeners.Count(), 0u);
    kes::BumpDesignRevision(m);
    EXPECT_EQ(heard.Calls, 1);
    kes::BumpDesignRevision(other);
    EXPECT_EQ(heard.Calls, 1);
}

TEST(DesignListeners, ALeaverIsNotCalledAgain) {
    kes::Model m = Factory();
    std::vector<std::string> calls;
    kes::DesignListeners::Token first = 0, second = 0;
    // The first takes itself and the second off while it is being called.
    first = m.Listeners.Add([&] {
        calls.emplace_back("first");
        m.Listeners.Remove(first);
        m.Listeners.Remove(second);
    });
    second = m.Listeners.Add([&] { calls.emplace_back("second"); });
    m.Listeners.Add([&] { calls.emplace_back("third"); });
    kes::BumpDesignRevision(m);
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "third"}));
    kes::BumpDesignRevision(m);
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "third", "third"}));
    EXPECT_EQ(m.Listeners.Count(), 1u);
    m.Listeners.Remove(12345); // an unknown token changes nothing
    EXPECT_EQ(m.Listeners.Count(), 1u);
}

} // namespace
