// SPDX-License-Identifier: GPL-3.0-or-later
#include "motion_dialogs/reference_points_dialog.h"

#include "controls/controls.h"
#include "motion_dialogs/numeric_entry.h"
#include "picture/fonts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString FontFamily = shell::FontFamily();
constexpr int FontPoints = 8;
constexpr int FieldWidth = 90;
const std::array<QString, 4> FieldLabels = {QStringLiteral("RefPt V1"), QStringLiteral("RefPt H1"),
                                            QStringLiteral("RefPt V2"), QStringLiteral("RefPt H2")};
} // namespace

ReferencePointsDialog::ReferencePointsDialog(kes::Model& model, kes::ControlState& state,
                                             QWidget* parent)
    : QDialog(parent), model_(model), state_(state) {
    setObjectName(QStringLiteral("TRefPnts"));
    setWindowTitle(QStringLiteral("Reference Points"));
    setFont(QFont(FontFamily, FontPoints));
    setModal(true);

    auto* column = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(FieldLabels[static_cast<size_t>(i)], this);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        auto* field = new NumericEntry(true, this);
        field->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
        field->setFixedWidth(FieldWidth);
        grid->addWidget(label, i, 0);
        grid->addWidget(field, i, 1);
        fields_[static_cast<size_t>(i)] = field;
    }
    column->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    auto* zero = new QPushButton(QStringLiteral("Zero"), this);
    zero->setObjectName(QStringLiteral("ZeroBtn"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(zero);
    column->addLayout(buttons);
    column->setSizeConstraint(QLayout::SetFixedSize);

    connect(ok, &QPushButton::clicked, this, [this] {
        kes::TakeReferencePoints(model_, state_, fields_[0]->Value(), fields_[1]->Value(),
                                 fields_[2]->Value(), fields_[3]->Value());
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(zero, &QPushButton::clicked, this, [this] {
        kes::ZeroReferencePoints(model_, state_);
        for (NumericEntry* f : fields_)
            f->Show(QStringLiteral("0.000"));
        reject();
    });
}

void ReferencePointsDialog::reject() {
    // "Cancel", Escape and the close box all switch the reference points off.
    kes::SwitchReferencePointsOff(model_, state_);
    QDialog::reject();
}

void ReferencePointsDialog::showEvent(QShowEvent* event) {
    const auto texts = kes::TextsForReferencePoints(model_);
    for (size_t i = 0; i < 4; ++i)
        fields_[i]->Show(QString::fromStdString(texts[i]));
    QDialog::showEvent(event);
}
