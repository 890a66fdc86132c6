// SPDX-License-Identifier: GPL-3.0-or-later
#include "motion_dialogs/value_dialog.h"

#include "motion_dialogs/numeric_entry.h"
#include "picture/fonts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString FontFamily = shell::FontFamily();
constexpr int FontPoints = 8;
constexpr int DialogWidth = 260;
constexpr int FieldWidth = 90;
} // namespace

ValueDialog::ValueDialog(const QString& title, const QStringList& texts, bool allowMinus,
                         QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(title);
    setFont(QFont(FontFamily, FontPoints));
    setModal(true);

    auto* column = new QVBoxLayout(this);
    auto* enterRow = new QHBoxLayout;
    auto* enter = new QLabel(QStringLiteral("Enter"), this);
    enter->setObjectName(QStringLiteral("Label1"));
    field_ = new NumericEntry(allowMinus, this);
    field_->setObjectName(QStringLiteral("Edit1"));
    field_->setFixedWidth(FieldWidth);
    enterRow->addWidget(enter);
    enterRow->addWidget(field_);
    enterRow->addStretch();
    column->addLayout(enterRow);

    for (int i = 0; i < texts.size(); ++i) {
        auto* line = new QLabel(texts.at(i), this);
        line->setObjectName(QStringLiteral("Label%1").arg(i + 2));
        column->addWidget(line);
        lines_.append(line);
    }

    auto* buttons = new QHBoxLayout;
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("OKBtn"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("CancelBtn"));
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    column->addLayout(buttons);
    setMinimumWidth(DialogWidth);
    column->setSizeConstraint(QLayout::SetFixedSize);

    connect(ok_, &QPushButton::clicked, this, [this] {
        Apply();
        accept();
    });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void ValueDialog::showEvent(QShowEvent* event) {
    Activate();
    QDialog::showEvent(event);
}
