// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pivots fixed in the frame, for laying them out on the engine: each
// one's position from the driver axle centre (the datum), with the names
// of the dimensions that place it as the command line knows them. The
// reverse-arm and bell-crank pivots are dimensioned from the gear mount;
// the table gives both.

#include "model/model.h"

#include <optional>
#include <string>
#include <vector>

namespace kes {

struct FramePivot {
    std::string Name;                       // "Reverse-arm pivot"
    std::string XName, YName;               // "RevArmPivotX", "RevArmPivotY"; empty for none
    std::optional<double> X;                // from the axle centre, forward; absent for a line
    std::optional<double> Y;                // from the axle centre, up
    std::optional<double> StoredX, StoredY; // the dimensions' own values
    std::string Note;                       // how the stored values are measured
};

std::vector<FramePivot> FramePivots(const Mechanism& m);

// pivot,x_name,y_name,x,y,stored_x,stored_y,note
std::string FramePivotsCsv(const std::vector<FramePivot>& pivots);

} // namespace kes
