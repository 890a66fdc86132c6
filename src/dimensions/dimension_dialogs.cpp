// SPDX-License-Identifier: GPL-3.0-or-later
#include "dimensions/dimension_dialogs.h"

DimensionDialogs CreateDimensionDialogs(kes::Model& model, MainFormLink& link, QWidget* parent) {
    auto state = std::make_shared<DimensionFieldState>();
    DimensionDialogs d;
    d.Frame = new FrameDimensionsDialog(model, link, state, parent);
    d.Cylinder = new CylinderDimensionsDialog(model, link, state, parent);
    return d;
}
