// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The names of the dimensions as the dimension tables give them
// ("DriverDiameter", "GearMountX", "ValveCtrToJoint", ...), for the command
// line's --set and dims and for the tables the analysis writes. Every name
// stands for an id; RevArmNorm and RevArmMax are 29 and 30.

#include "model/model.h"

#include <optional>
#include <span>
#include <string_view>

namespace kes {

struct NamedDimension {
    std::string_view Name;
    int Id = 0;
};

// Every dimension in the order of the tables: the frame group (ids 1..15,
// RevArmNorm, RevArmMax), the Baker assembly (16..28), the cylinder
// (101..122).
std::span<const NamedDimension> NamedDimensions();
// The name of an id; "" for an unknown id.
std::string_view DimensionCodeName(int id);
// By name (letter case ignored) or by id written as a whole number.
std::optional<NamedDimension> FindNamedDimension(std::string_view nameOrId);

float GetNamedDimension(const Mechanism& m, const NamedDimension& d);
// Through SetDimension, so the invariants hold. False for a value that is
// not finite.
bool SetNamedDimension(Mechanism& m, const NamedDimension& d, float value);

} // namespace kes
