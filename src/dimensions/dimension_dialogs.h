// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Both dimension dialogs, made once at start-up with one typed flag between
// them. The main window shows them modally with exec() from "&FrameDimensions"
// / "Change Frame Dimensions" and "&CylinderDimensions" / "Change Cylinder
// Dimensions"; its highlight mode closes them with done() and opens them
// again with exec().

#include "dimensions/cylinder_dimensions.h"
#include "dimensions/frame_dimensions.h"

struct DimensionDialogs {
    FrameDimensionsDialog* Frame = nullptr;
    CylinderDimensionsDialog* Cylinder = nullptr;
};

// The dialogs are children of parent, which owns them.
DimensionDialogs CreateDimensionDialogs(kes::Model& model, MainFormLink& link, QWidget* parent);
