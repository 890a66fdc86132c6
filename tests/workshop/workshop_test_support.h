#pragma once
// Designs the workshop tests share: the factory gear and the big sample
// engine of tests/data, optionally scaled as "Scale Design" does.

#include "files/dimension_file.h"
#include "model/model.h"
#include "model/scale_design.h"

#include <gtest/gtest.h>

#include <memory>

namespace workshop_test {

inline std::unique_ptr<kes::Model> Factory() {
    auto m = std::make_unique<kes::Model>();
    kes::InitialiseModel(*m);
    return m;
}

inline std::unique_ptr<kes::Model> BigEngine(double scale = 1.0) {
    auto m = Factory();
    const kes::FileResult r =
        kes::LoadDimensionsByExtension(*m, KESTROVE_TEST_DATA "/big-engine.kvd");
    EXPECT_TRUE(r.Ok) << r.Message;
    if (scale != 1.0) kes::ScaleDesign(*m, scale);
    return m;
}

} // namespace workshop_test
