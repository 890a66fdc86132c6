// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A second design read from a dimension file, for comparing: a fresh model
// with the factory tables, the file's dimensions and its own mid gear.

#include "model/model.h"

#include <memory>
#include <string>

namespace overlay {

struct LoadedDesign {
    std::unique_ptr<kes::Model> Design; // null when the file cannot be read
    std::string Message;                // why, when it cannot
};

LoadedDesign LoadComparedDesign(const std::string& path);

} // namespace overlay
