// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A model at its start-up state and the controls of a freshly created main
// window, for the tests of the controls library.

#include "controls/controls.h"
#include "model/model.h"

#include <gtest/gtest.h>

class Controls : public ::testing::Test {
  protected:
    void SetUp() override {
        kes::InitialiseModel(m);
        cs = kes::InitialControlState(m);
        // The form's initial position of the step bar fires its handler once.
        kes::StepAngChange(m, cs, cs.StepAngPos);
    }
    float Mid() const { return m.MidGear(); }

    kes::Model m;
    kes::ControlState cs;
};
