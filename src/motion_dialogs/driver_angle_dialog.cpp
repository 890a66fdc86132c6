// SPDX-License-Identifier: GPL-3.0-or-later
#include "motion_dialogs/driver_angle_dialog.h"

#include "controls/controls.h"
#include "motion_dialogs/numeric_entry.h"

#include <QPushButton>

DriverAngleDialog::DriverAngleDialog(kes::Model& model, kes::ControlState& state, QWidget* parent)
    : ValueDialog(QStringLiteral("Driver Angle"),
                  {QStringLiteral("Min = 0.00"), QStringLiteral("Max = 360.00")}, false, parent),
      model_(model), state_(state) {
    setObjectName(QStringLiteral("TDrivAng"));
}

void DriverAngleDialog::Activate() {
    Field()->Show(QString::fromStdString(kes::TextForDriverAngle(model_, state_)));
    CancelButton()->setFocus();
}

void DriverAngleDialog::Apply() {
    kes::TakeDriverAngle(model_, state_, Field()->Value());
}
