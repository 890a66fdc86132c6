// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading and writing a dimension by its id (1..28 frame and Baker assembly,
// 101..122 cylinder). Every editor goes through here, so the model's
// invariants (pivot copies, valve-stem joint height) always hold.

#include "model/model.h"

#include <string_view>

namespace kes {

struct DimensionInfo {
    int Id;
    std::string_view Name; // display name, at most 25 characters
};

// The reverse-arm travels to either side of mid gear. They are no field of
// the dialogs' id sequence, but every list and --set knows them by these ids.
constexpr int RevArmNormId = 29;
constexpr int RevArmMaxId = 30;

// True for 1..28 and 101..122 (the fields that edit as dynamic variables).
bool IsDimensionId(int id);
// True for those and for RevArmNormId and RevArmMaxId.
bool IsListedDimensionId(int id);
// The display name of a dimension id, 29 and 30 included ("" for an unknown id).
std::string_view DimensionName(int id);
// The value of a dimension, 29 and 30 included (0 for an unknown id).
float GetDimension(const Mechanism& m, int id);
// Stores a value and keeps the invariants. Returns false for an unknown id.
bool SetDimension(Mechanism& m, int id, float value);

} // namespace kes
