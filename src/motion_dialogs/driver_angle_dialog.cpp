// SPDX-License-Identifier: GPL-3.0-or-later
#include "motion_dialogs/driver_angle_dialog.h"

#include "controls/controls.h"
#include "motion_dialogs/numeric_entry.h"

#include <QPushButton>

TDrivAng::TDrivAng(kes::Model& model, kes::ControlState& state, QWidget* parent)
    : ValueDialog(QStringLiteral("Driver Angle"),
                  {QStringLiteral("Min = 0.00"), QStringLiteral("Max = 360.00")}, false, parent),
      model_(model), state_(state) {
    setObjectName(QStringLiteral("TDrivAng"));
}

void TDrivAng::Activate() {
    Field()->Show(QString::fromStdString(kes::DrivAngActivate(model_, state_)));
    CancelButton()->setFocus();
}

void TDrivAng::Apply() {
    kes::DrivAngOk(model_, state_, Field()->Value());
}
