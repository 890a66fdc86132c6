// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The model side of the main window's controls, all of it: the window and
// its tests include this one header.

#include "controls/control_state.h"
#include "controls/display.h"
#include "controls/motion.h"
#include "controls/picking.h"
#include "controls/view.h"
#include "model/typed_value.h"
