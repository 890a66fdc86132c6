// SPDX-License-Identifier: GPL-3.0-or-later
#include "balance/balance_window.h"

#include "balance/balance_result_area.h"
#include "balance/balance_tables.h"
#include "balance/design_run.h"
#include "cylinder/balance_mep.h"
#include "model/design_edit.h"
#include "model/dimensions.h"
#include "model/dyn_vars.h"
#include "model/mid_gear.h"
#include "model/model.h"
#include "ui_shell/first_size.h"
#include "ui_shell/main_form_link.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

namespace {

const QString Caption = QStringLiteral("Balance Events");
// The name its Apply gives the undo step.
constexpr std::string_view BalanceStepName = "Balance Events";
constexpr int PollMs = 50;    // progress read-out while a run goes on
constexpr int FollowMs = 100; // a look at the design's revision while shown

QString OffsetsText(const kes::ReportDef& def) {
    QStringList parts;
    for (double o : def.Offsets)
        parts << QString::number(o, 'g', 6);
    return parts.join(QStringLiteral(","));
}

QDoubleSpinBox* Spin(const QString& name, double max, int decimals, QWidget* parent) {
    auto* s = new QDoubleSpinBox(parent);
    s->setObjectName(name);
    s->setRange(0.0, max);
    s->setDecimals(decimals);
    return s;
}

} // namespace

TBalanceEvents::TBalanceEvents(kes::Model& model, MainFormLink& link, QWidget* parent)
    : QDialog(parent), model_(model), link_(link) {
    setObjectName(QStringLiteral("BalanceEvents"));
    setWindowTitle(Caption);
    setModal(false);
    Build();
    RefreshFromModel();
}

TBalanceEvents::~TBalanceEvents() {
    runner_.reset(); // cancels and waits, while pending_ is still there
}

bool TBalanceEvents::Running() const {
    return runner_->Running();
}

void TBalanceEvents::Build() {
    auto* top = new QHBoxLayout;
    dims_ = new QTableWidget(this);
    dims_->setObjectName(QStringLiteral("FreeDims"));
    top->addWidget(dims_, 3);

    auto* form = new QFormLayout;
    offsets_ = new QLineEdit(this);
    offsets_->setObjectName(QStringLiteral("Offsets"));
    offsets_->setToolTip(QStringLiteral("Reverse-arm offsets from mid gear, comma separated"));
    form->addRow(QStringLiteral("Settings (offsets)"), offsets_);
    weightFwdRev_ = Spin(QStringLiteral("WeightFwdRev"), 1000.0, 3, this);
    form->addRow(QStringLiteral("Weight forward - reverse"), weightFwdRev_);
    weightMidLead_ = Spin(QStringLiteral("WeightMidLead"), 1000.0, 3, this);
    targetMidLead_ = Spin(QStringLiteral("TargetMidLead"), 10.0, 4, this);
    form->addRow(QStringLiteral("Weight mid-gear lead"), weightMidLead_);
    form->addRow(QStringLiteral("Mid-gear lead target"), targetMidLead_);
    weightFullCut_ = Spin(QStringLiteral("WeightFullCut"), 1000.0, 3, this);
    targetFullCut_ = Spin(QStringLiteral("TargetFullCut"), 100.0, 2, this);
    form->addRow(QStringLiteral("Weight full-gear cut-off"), weightFullCut_);
    form->addRow(QStringLiteral("Full-gear cut-off target %"), targetFullCut_);
    minLead_ = Spin(QStringLiteral("MinLead"), 1.0, 4, this);
    minLead_->setToolTip(QStringLiteral("Every lead must exceed this (0: strictly positive)"));
    form->addRow(QStringLiteral("Least lead"), minLead_);
    weightMep_ = Spin(QStringLiteral("WeightMep"), 1000.0, 3, this);
    weightMep_->setToolTip(QStringLiteral(
        "Evens the front and rear MEP (cylinder model at walking pace, the Performance "
        "window's engine data): 1 % of the boiler pressure weighs like a point of cut-off. "
        "0 leaves it out; above 0 a run takes several times longer"));
    form->addRow(QStringLiteral("MEP balance weight"), weightMep_);
    method_ = new QComboBox(this);
    method_->setObjectName(QStringLiteral("Method"));
    for (kes::BalanceMethod m :
         {kes::BalanceMethod::Bobyqa, kes::BalanceMethod::Cobyla, kes::BalanceMethod::NelderMead})
        method_->addItem(QString::fromLatin1(kes::BalanceMethodName(m)), static_cast<int>(m));
    form->addRow(QStringLiteral("Method"), method_);
    maxEvals_ = new QSpinBox(this);
    maxEvals_->setObjectName(QStringLiteral("MaxEvals"));
    maxEvals_->setRange(1, 100000);
    maxEvals_->setValue(kes::BalanceDef{}.MaxEvaluations);
    form->addRow(QStringLiteral("Evaluations at most"), maxEvals_);
    multistart_ = new QSpinBox(this);
    multistart_->setObjectName(QStringLiteral("Multistart"));
    multistart_->setRange(0, 20);
    form->addRow(QStringLiteral("Further starts"), multistart_);
    top->addLayout(form, 2);

    auto* buttons = new QHBoxLayout;
    run_ = new QPushButton(QStringLiteral("Run"), this);
    run_->setObjectName(QStringLiteral("Run"));
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("Cancel"));
    cancel_->setEnabled(false);
    apply_ = new QPushButton(QStringLiteral("Apply"), this);
    apply_->setObjectName(QStringLiteral("Apply"));
    apply_->setEnabled(false);
    suggest_ = new QPushButton(QStringLiteral("Suggest"), this);
    suggest_->setObjectName(QStringLiteral("Suggest"));
    suggest_->setToolTip(QStringLiteral("Tick the dimensions that would help most"));
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("Progress"));
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("Status"));
    buttons->addWidget(run_);
    buttons->addWidget(cancel_);
    buttons->addWidget(suggest_);
    buttons->addWidget(progress_, 1);
    buttons->addWidget(status_, 1);
    buttons->addWidget(apply_);

    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("Summary"));
    results_ = new balance_tables::ResultArea(this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 2);
    layout->addLayout(buttons);
    layout->addWidget(summary_);
    layout->addWidget(results_, 3);
    ui_shell::ResizeToFirstSize(*this, LaidOutSize);

    runner_ =
        std::make_unique<balance_run::DesignRun>(model_, link_, *run_, *cancel_, *apply_, PollMs);
    connect(runner_.get(), &balance_run::DesignRun::Polled, this, &TBalanceEvents::ShowProgress);
    connect(runner_.get(), &balance_run::DesignRun::Finished, this, &TBalanceEvents::RunFinished);
    connect(runner_.get(), &balance_run::DesignRun::AboutToApply, this,
            &TBalanceEvents::AboutToApply);
    follow_ = new QTimer(this);
    follow_->setInterval(FollowMs);
    connect(follow_, &QTimer::timeout, this, &TBalanceEvents::FollowDesign);
    connect(run_, &QPushButton::clicked, this, &TBalanceEvents::Run);
    connect(cancel_, &QPushButton::clicked, this, &TBalanceEvents::Cancel);
    connect(apply_, &QPushButton::clicked, this, &TBalanceEvents::Apply);
    connect(suggest_, &QPushButton::clicked, this, &TBalanceEvents::Suggest);
}

void TBalanceEvents::RefreshFromModel() {
    if (Running()) return;
    balance_tables::FillChecklist(*dims_, model_);
    valuesRevision_ = kes::DesignRevision(model_);
    const kes::BalanceDef def = kes::DefaultBalanceDef(model_);
    offsets_->setText(OffsetsText(def.Settings));
    targetMidLead_->setValue(def.Weights.MidGearLeadTarget);
    targetFullCut_->setValue(def.Weights.FullGearCutOffTarget);
}

void TBalanceEvents::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) RefreshFromModel();
    QDialog::showEvent(event);
    FollowDesign();
    results_->Fit();
    follow_->start();
}

void TBalanceEvents::hideEvent(QHideEvent* event) {
    follow_->stop();
    QDialog::hideEvent(event);
}

void TBalanceEvents::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FollowDesign();
    QDialog::changeEvent(event);
}

kes::BalanceDef TBalanceEvents::CurrentDef(QString& error) const {
    kes::BalanceDef def;
    def.Free = balance_tables::CheckedDims(*dims_, error);
    if (!error.isEmpty()) return def;
    if (def.Free.empty()) error = QStringLiteral("Check at least one dimension to free.");
    for (const QString& part : offsets_->text().split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const double v = part.trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(v)) {
            error = QStringLiteral("Not an offset: %1").arg(part.trimmed());
            return def;
        }
        def.Settings.Offsets.push_back(v);
    }
    if (def.Settings.Offsets.empty()) error = QStringLiteral("Give at least one setting.");
    def.Weights.ForwardReverse = weightFwdRev_->value();
    def.Weights.MidGearLead = weightMidLead_->value();
    def.Weights.MidGearLeadTarget = targetMidLead_->value();
    def.Weights.FullGearCutOff = weightFullCut_->value();
    def.Weights.FullGearCutOffTarget = targetFullCut_->value();
    def.Method = static_cast<kes::BalanceMethod>(method_->currentData().toInt());
    def.MinLead = minLead_->value();
    def.Weights.MepFrontRear = weightMep_->value();
    if (def.Weights.MepFrontRear > 0.0) {
        std::string why;
        def.Mep = kes::MakeBalanceMepProbe(
            model_, engineData_ ? engineData_() : kes::DefaultEngineData(), std::nullopt, why);
        if (!def.Mep) error = QStringLiteral("MEP balance: %1").arg(QString::fromStdString(why));
    }
    // The default free set may grow when the repair is stuck; a chosen one not.
    std::vector<int> ids;
    for (const kes::BalanceFreeDim& f : def.Free)
        ids.push_back(f.Id);
    std::vector<int> defaults(std::begin(kes::DefaultFreeDimensionIds),
                              std::end(kes::DefaultFreeDimensionIds));
    std::sort(ids.begin(), ids.end());
    std::sort(defaults.begin(), defaults.end());
    def.AddFreeWhenStuck = ids == defaults;
    def.MaxEvaluations = maxEvals_->value();
    def.Multistart = multistart_->value();
    return def;
}

void TBalanceEvents::Run() {
    if (Running()) return;
    QString error;
    const kes::BalanceDef def = CurrentDef(error);
    if (!error.isEmpty()) {
        status_->setText(error);
        return;
    }
    // The last run's message, tables and chart go.
    result_.reset();
    summary_->clear();
    results_->Clear();
    progress_->setRange(0, def.MaxEvaluations);
    progress_->setValue(0);
    status_->setText(QStringLiteral("Running..."));
    runner_->Start([this, def](const kes::Mechanism& start, const kes::BalanceControl& control) {
        pending_ = std::make_unique<kes::BalanceResult>(kes::RunBalance(start, def, control));
    });
}

void TBalanceEvents::Cancel() {
    runner_->Cancel();
}

void TBalanceEvents::ShowProgress() {
    const balance_run::ProgressNow now = runner_->Progress();
    const int n = now.Evaluations;
    progress_->setValue(std::min(n, progress_->maximum()));
    if (now.Repairing)
        status_->setText(QStringLiteral("Evaluations: %1   repairing").arg(n));
    else
        status_->setText(
            now.Current
                ? QStringLiteral("Evaluations: %1   J: %2").arg(n).arg(*now.Current, 0, 'f', 3)
                : QStringLiteral("Evaluations: %1   J: infeasible").arg(n));
}

void TBalanceEvents::RunFinished() {
    result_ = std::move(pending_);
    ShowProgress();
    progress_->setValue(progress_->maximum()); // the run is over, however it ended
    ShowResult();
    emit Finished();
}

void TBalanceEvents::ShowResult() {
    if (!result_) return;
    const kes::BalanceResult& r = *result_;
    results_->Show(r);
    const auto j = [](const std::optional<double>& v) {
        return v ? QString::number(*v, 'f', 3) : QStringLiteral("-");
    };
    QStringList lines;
    for (int id : r.LeftOut)
        lines << QString::fromStdString(kes::NoEffectText(id));
    if (!r.Added.empty()) {
        QStringList names;
        for (int id : r.Added)
            names << QString::fromStdString(kes::PlainDimensionName(id));
        lines << QStringLiteral("The repair needed more free dimensions: added %1.")
                     .arg(names.join(QStringLiteral(", ")));
    }
    if (!r.Error.empty()) {
        lines << QString::fromStdString(r.Error);
    } else if (!r.Feasible) {
        lines << QStringLiteral("No feasible design found (infeasibility %1 remains).")
                     .arg(r.InfeasibilityAfter, 0, 'f', 3);
        for (const std::string& l :
             kes::BalanceFailureLines(r.Failures, r.Start.Feasible() ? 0.0 : minLead_->value()))
            lines << QString::fromStdString(l);
        lines << QString::fromStdString(r.Suggestion);
    } else {
        lines << QStringLiteral("%1J before %2, after %3; %4 evaluations%5.")
                     .arg(r.Repaired()
                              ? QStringLiteral("The design was infeasible and is repaired. ")
                              : QString())
                     .arg(j(r.ObjectiveBefore), j(r.ObjectiveAfter))
                     .arg(r.Evaluations)
                     .arg(r.Cancelled ? QStringLiteral(" (cancelled: the best so far)")
                                      : QString());
    }
    const QString text = lines.join(QLatin1Char('\n'));
    summary_->setText(text);
    apply_->setEnabled(r.Feasible && r.Changed());
}

bool TBalanceEvents::Apply() {
    if (!result_ || !result_->Feasible || Running()) return false;
    switch (runner_->Apply(result_->Changes, BalanceStepName)) {
    case balance_run::ApplyOutcome::DesignChanged:
        status_->setText(balance_run::DesignChangedText());
        return false;
    case balance_run::ApplyOutcome::NothingChanged:
        return false;
    case balance_run::ApplyOutcome::Applied:
        break;
    }
    FollowDesign();
    emit Applied();
    return true;
}

void TBalanceEvents::FollowDesign() {
    const uint64_t revision = kes::DesignRevision(model_);
    if (valuesRevision_ == revision) return;
    valuesRevision_ = revision;
    RefreshValues();
}

void TBalanceEvents::RefreshValues() {
    for (int row = 0; row < dims_->rowCount(); ++row) {
        const QTableWidgetItem* name = dims_->item(row, balance_tables::DimColumn);
        QTableWidgetItem* value = dims_->item(row, balance_tables::ValueColumn);
        if (!name || !value) continue;
        value->setText(
            QString::number(kes::GetDimension(model_, name->data(Qt::UserRole).toInt()), 'f', 4));
    }
}

void TBalanceEvents::Suggest() {
    if (Running()) return;
    QString error;
    const kes::BalanceDef def = CurrentDef(error);
    if (!error.isEmpty()) {
        status_->setText(error);
        return;
    }
    const kes::FreeAdviceResult advice = kes::SuggestFreeDimensions(model_, def);
    const std::vector<int> ids = kes::DimensionsToAdd(advice.Ranked, def.MaxAdded);
    for (int row = 0; row < dims_->rowCount(); ++row) {
        QTableWidgetItem* name = dims_->item(row, balance_tables::DimColumn);
        if (name &&
            std::find(ids.begin(), ids.end(), name->data(Qt::UserRole).toInt()) != ids.end())
            name->setCheckState(Qt::Checked);
    }
    summary_->setText(advice.Line.empty()
                          ? QStringLiteral("The design is feasible at these settings.")
                          : QString::fromStdString(advice.Line));
}
