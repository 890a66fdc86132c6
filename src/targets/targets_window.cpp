// SPDX-License-Identifier: GPL-3.0-or-later
#include "targets/targets_window.h"

#include "balance/balance_tables.h"
#include "balance/design_apply.h"
#include "model/design_edit.h"
#include "model/model.h"
#include "ui_shell/main_form_link.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString Caption = QStringLiteral("Design Valve to Targets");
constexpr int WindowWidth = 900;
constexpr int WindowHeight = 600;

QString Num(const std::optional<double>& v, int decimals) {
    return v ? QString::number(*v, 'f', decimals) : QStringLiteral("-");
}

// The balance tables read a BalanceResult: the changes from the design as
// given and both reports.
kes::BalanceResult AsBalance(const kes::TargetsResult& r) {
    kes::BalanceResult b;
    b.Changes = r.Changes;
    b.Before = r.ReportBefore;
    b.After = r.ReportAfter;
    b.Feasible = r.Feasible;
    return b;
}

} // namespace

TDesignTargets::TDesignTargets(kes::Model& model, MainFormLink& link, QWidget* parent)
    : QDialog(parent), model_(model), link_(link) {
    setObjectName(QStringLiteral("DesignTargets"));
    setWindowTitle(Caption);
    setModal(false);
    auto* form = new QFormLayout;
    lead_ = new QDoubleSpinBox(this);
    lead_->setObjectName(QStringLiteral("Lead"));
    lead_->setRange(-1.0, 1.0);
    lead_->setDecimals(4);
    lead_->setValue(0.03);
    form->addRow(QStringLiteral("Lead wanted"), lead_);
    overRange_ = new QCheckBox(QStringLiteral("The same lead over the range"), this);
    overRange_->setObjectName(QStringLiteral("LeadOverRange"));
    form->addRow(QString(), overRange_);
    cutOff_ = new QDoubleSpinBox(this);
    cutOff_->setObjectName(QStringLiteral("FullGearCutOff"));
    cutOff_->setRange(1.0, 99.0);
    cutOff_->setValue(75.0);
    form->addRow(QStringLiteral("Full-gear cut-off wanted %"), cutOff_);
    setExhaust_ = new QCheckBox(QStringLiteral("Exhaust lap wanted (negative: clearance)"), this);
    setExhaust_->setObjectName(QStringLiteral("SetExhaustLap"));
    exhaustLap_ = new QDoubleSpinBox(this);
    exhaustLap_->setObjectName(QStringLiteral("ExhaustLap"));
    exhaustLap_->setRange(-1.0, 1.0);
    exhaustLap_->setDecimals(4);
    form->addRow(setExhaust_, exhaustLap_);

    auto* buttons = new QHBoxLayout;
    run_ = new QPushButton(QStringLiteral("Run"), this);
    run_->setObjectName(QStringLiteral("Run"));
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("Cancel"));
    cancel_->setEnabled(false);
    apply_ = new QPushButton(QStringLiteral("Apply"), this);
    apply_->setObjectName(QStringLiteral("Apply"));
    apply_->setEnabled(false);
    buttons->addWidget(run_);
    buttons->addWidget(cancel_);
    buttons->addStretch(1);
    buttons->addWidget(apply_);

    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("Summary"));
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* split = new QSplitter(this);
    changes_ = new QTableWidget(split);
    changes_->setObjectName(QStringLiteral("Changes"));
    events_ = new QTableWidget(split);
    events_->setObjectName(QStringLiteral("Events"));
    split->setStretchFactor(1, 3);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addWidget(summary_);
    layout->addWidget(split, 1);
    resize(WindowWidth, WindowHeight);
    connect(run_, &QPushButton::clicked, this, &TDesignTargets::Run);
    connect(cancel_, &QPushButton::clicked, this, &TDesignTargets::Cancel);
    connect(apply_, &QPushButton::clicked, this, &TDesignTargets::Apply);
}

TDesignTargets::~TDesignTargets() {
    cancelFlag_ = true;
    if (worker_.joinable()) worker_.join();
}

kes::TargetsDef TDesignTargets::CurrentDef() const {
    kes::TargetsDef def = kes::DefaultTargetsDef(model_);
    def.Lead = lead_->value();
    def.LeadOverRange = overRange_->isChecked();
    def.FullGearCutOffPct = cutOff_->value();
    if (setExhaust_->isChecked()) def.ExhaustLap = exhaustLap_->value();
    return def;
}

void TDesignTargets::Run() {
    if (Running()) return;
    result_.reset();
    summary_->setText(QStringLiteral("Running..."));
    changes_->setRowCount(0);
    events_->setRowCount(0);
    startRevision_ = kes::DesignRevision(model_);
    cancelFlag_ = false;
    run_->setEnabled(false);
    apply_->setEnabled(false);
    cancel_->setEnabled(true);
    worker_ =
        std::thread([this, start = static_cast<const kes::Mechanism&>(model_), def = CurrentDef()] {
            kes::BalanceControl control;
            control.Cancel = &cancelFlag_;
            pending_ = std::make_unique<kes::TargetsResult>(kes::RunTargets(start, def, control));
            QMetaObject::invokeMethod(this, &TDesignTargets::RunFinished, Qt::QueuedConnection);
        });
}

void TDesignTargets::Cancel() {
    cancelFlag_ = true;
}

void TDesignTargets::RunFinished() {
    if (worker_.joinable()) worker_.join();
    result_ = std::move(pending_);
    run_->setEnabled(true);
    cancel_->setEnabled(false);
    ShowResult();
    emit Finished();
}

void TDesignTargets::ShowResult() {
    if (!result_) return;
    const kes::TargetsResult& r = *result_;
    const kes::BalanceResult b = AsBalance(r);
    balance_tables::FillChanges(*changes_, b);
    balance_tables::FillEvents(*events_, b);
    QStringList lines;
    if (!r.Error.empty()) {
        lines << QString::fromStdString(r.Error);
    } else {
        const kes::TargetsReached& a = r.After;
        lines << QStringLiteral("Lead wanted %1: front %2, rear %3.")
                     .arg(lead_->value(), 0, 'f', 4)
                     .arg(Num(a.LeadFront, 4), Num(a.LeadRear, 4));
        lines << QStringLiteral("Full-gear cut-off wanted %1 %: front %2, rear %3 forward; front "
                                "%4, rear %5 reverse; mean %6.")
                     .arg(cutOff_->value(), 0, 'f', 1)
                     .arg(Num(a.FullGearCutOff[0], 2), Num(a.FullGearCutOff[1], 2),
                          Num(a.FullGearCutOff[2], 2), Num(a.FullGearCutOff[3], 2),
                          Num(a.MeanFullGearCutOff, 2));
        lines << QStringLiteral("Front - rear at full gear: %1 points, the gear's own angularity.")
                     .arg(Num(a.FrontRearSpread, 2));
        if (r.LeverFreed) lines << QStringLiteral("The lead needed the combination lever too.");
        if (!r.Feasible)
            lines << QStringLiteral("No feasible design found: %1")
                         .arg(QString::fromStdString(r.Balance.Suggestion.empty()
                                                         ? r.Fit.Suggestion
                                                         : r.Balance.Suggestion));
    }
    summary_->setText(lines.join(QLatin1Char('\n')));
    apply_->setEnabled(r.Feasible && !r.Changes.empty());
}

bool TDesignTargets::Apply() {
    if (!result_ || !result_->Feasible || Running()) return false;
    if (kes::DesignRevision(model_) != startRevision_) {
        summary_->setText(QStringLiteral("The design has changed since the run: press Run again."));
        apply_->setEnabled(false);
        return false;
    }
    emit AboutToApply();
    if (!balance_apply::ApplyDesignChanges(model_, result_->Changes, "Design Valve to Targets"))
        return false;
    link_.SetRevArmBarPosition(0);
    model_.CutOffFrontText.clear();
    model_.CutOffRearText.clear();
    link_.RefreshUndoButton();
    apply_->setEnabled(false);
    startRevision_ = kes::DesignRevision(model_);
    emit Applied();
    return true;
}
