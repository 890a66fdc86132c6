// SPDX-License-Identifier: GPL-3.0-or-later
#include "motion_dialogs/scale_design_dialog.h"

#include "model/scale_design.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace {
enum PresetIndex { TypedIndex = 0, InchesToMmIndex = 1, MmToInchesIndex = 2 };
const QString NoteText =
    QStringLiteral("Every length, pivot, reverse-arm position, line and circle is multiplied\n"
                   "by the factor; angles and the vertical scale stay. The picture keeps its\n"
                   "size. The dynamic variables and the undo record are cleared.");

std::optional<double> ParseFactor(const QString& text) {
    bool ok = false;
    const double v = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(v) || v <= 0.0) return std::nullopt;
    return v;
}
} // namespace

ScaleDesignDialog::ScaleDesignDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ScaleDesign"));
    setWindowTitle(Title);
    presets_ = new QComboBox(this);
    presets_->setObjectName(QStringLiteral("ScalePresets"));
    presets_->addItems({FactorChoice, InchesToMm, MmToInches});
    field_ = new QLineEdit(QStringLiteral("1"), this);
    field_->setObjectName(QStringLiteral("ScaleFactor"));
    note_ = new QLabel(NoteText, this);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Scale"), presets_);
    form->addRow(QStringLiteral("Factor"), field_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note_);
    layout->addWidget(buttons_);

    connect(presets_, &QComboBox::activated, this, &ScaleDesignDialog::PresetChosen);
    connect(field_, &QLineEdit::textEdited, this, &ScaleDesignDialog::FieldEdited);
    connect(field_, &QLineEdit::textChanged, this, &ScaleDesignDialog::FollowField);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    FollowField();
}

std::optional<double> ScaleDesignDialog::Factor() const {
    switch (presets_->currentIndex()) {
    case InchesToMmIndex:
        return kes::InchesToMillimetres;
    case MmToInchesIndex:
        return 1.0 / kes::InchesToMillimetres;
    default:
        return ParseFactor(field_->text());
    }
}

void ScaleDesignDialog::PresetChosen(int index) {
    if (index == InchesToMmIndex) field_->setText(QStringLiteral("25.4"));
    if (index == MmToInchesIndex) field_->setText(QLocale::c().toString(1.0 / 25.4, 'g', 12));
    presets_->setCurrentIndex(index);
    FollowField();
}

void ScaleDesignDialog::FieldEdited() {
    // A typed number is a factor of its own.
    presets_->setCurrentIndex(TypedIndex);
    FollowField();
}

void ScaleDesignDialog::FollowField() {
    if (QPushButton* ok = buttons_->button(QDialogButtonBox::Ok))
        ok->setEnabled(Factor().has_value());
}

std::optional<double> ScaleDesignDialog::Ask(QWidget* parent) {
    ScaleDesignDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Factor();
}
