// SPDX-License-Identifier: GPL-3.0-or-later
#include "motion_dialogs/reverse_arm_setting_dialog.h"

#include "controls/controls.h"
#include "motion_dialogs/numeric_entry.h"

#include <QEvent>
#include <QLabel>

ReverseArmSettingDialog::ReverseArmSettingDialog(kes::Model& model, kes::ControlState& state,
                                                 QWidget* parent)
    : ValueDialog(QStringLiteral("Reverse Arm Position"), QStringList(5, QString()), true, parent),
      model_(model), state_(state) {
    setObjectName(QStringLiteral("TRevPos"));
}

void ReverseArmSettingDialog::Activate() {
    const kes::ReverseArmSettingTexts t = kes::TextsForReverseArmSetting(model_);
    for (int i = 0; i < 5; ++i)
        TextLine(i)->setText(QString::fromStdString(t.Labels[static_cast<size_t>(i)]));
    Field()->Show(QString::fromStdString(t.Field));
}

// Typing goes straight into the value, and Enter takes it, whichever button
// had the focus when the dialog was last closed. The window's activation
// gives the old focus back first, so the field is chosen again then.
void ReverseArmSettingDialog::FocusField() {
    Field()->setFocus(Qt::TabFocusReason);
    Field()->selectAll();
}

void ReverseArmSettingDialog::showEvent(QShowEvent* event) {
    ValueDialog::showEvent(event);
    FocusField();
    focusOnActivation_ = true;
}

void ReverseArmSettingDialog::changeEvent(QEvent* event) {
    ValueDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && focusOnActivation_) {
        focusOnActivation_ = false;
        FocusField();
    }
}

void ReverseArmSettingDialog::Apply() {
    kes::TakeReverseArmSetting(model_, state_, Field()->Value());
}
