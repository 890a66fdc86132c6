// SPDX-License-Identifier: GPL-3.0-or-later
#include "motion_dialogs/step_angle_dialog.h"

#include "controls/controls.h"
#include "motion_dialogs/numeric_entry.h"

StepAngleDialog::StepAngleDialog(kes::Model& model, kes::ControlState& state, QWidget* parent)
    : ValueDialog(QStringLiteral("Step Angle"),
                  {QStringLiteral("Min = 0.01"), QStringLiteral("Max = 45.00")}, false, parent),
      model_(model), state_(state) {
    setObjectName(QStringLiteral("TStpAng"));
    Field()->Show(QStringLiteral("5.0"));
}

void StepAngleDialog::Activate() {
    Field()->Show(QString::fromStdString(kes::TextForStepAngle(model_)));
}

void StepAngleDialog::Apply() {
    kes::TakeStepAngle(model_, state_, Field()->Value());
}
