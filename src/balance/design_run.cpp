// SPDX-License-Identifier: GPL-3.0-or-later
#include "balance/design_run.h"

#include "balance/design_apply.h"
#include "model/design_edit.h"
#include "model/model.h"
#include "ui_shell/main_form_link.h"

#include <QPushButton>
#include <QTimer>

namespace balance_run {

QString DesignChangedText() {
    return QStringLiteral("The design has changed since the run: press Run again.");
}

DesignRun::DesignRun(kes::Model& model, MainFormLink& link, QPushButton& run, QPushButton& cancel,
                     QPushButton& apply, int pollMs)
    : model_(model), link_(link), runButton_(run), cancelButton_(cancel), applyButton_(apply) {
    poll_ = new QTimer(this);
    poll_->setInterval(pollMs);
    connect(poll_, &QTimer::timeout, this, &DesignRun::Polled);
    cancelButton_.setEnabled(false);
    applyButton_.setEnabled(false);
}

DesignRun::~DesignRun() {
    cancelFlag_ = true;
    if (worker_.joinable()) worker_.join();
}

void DesignRun::Start(Work work) {
    if (Running()) return;
    startRevision_ = kes::DesignRevision(model_);
    cancelFlag_ = false;
    evaluations_ = 0;
    current_ = -1.0;
    repairing_ = false;
    runButton_.setEnabled(false);
    applyButton_.setEnabled(false);
    cancelButton_.setEnabled(true);
    // The worker has its own copy: the design may be edited meanwhile.
    worker_ = std::thread(
        [this, start = static_cast<const kes::Mechanism&>(model_), work = std::move(work)] {
            kes::BalanceControl control;
            control.Cancel = &cancelFlag_;
            control.Progress = [this](const kes::BalanceProgress& p) {
                evaluations_ = p.Evaluations;
                current_ = p.Current.value_or(-1.0);
                repairing_ = p.Phase == 1;
            };
            work(start, control);
            QMetaObject::invokeMethod(this, &DesignRun::WorkerDone, Qt::QueuedConnection);
        });
    poll_->start();
}

ProgressNow DesignRun::Progress() const {
    ProgressNow now;
    now.Evaluations = evaluations_;
    const double j = current_;
    if (j >= 0.0) now.Current = j;
    now.Repairing = repairing_ && Running();
    return now;
}

void DesignRun::WorkerDone() {
    if (worker_.joinable()) worker_.join();
    poll_->stop();
    runButton_.setEnabled(true);
    cancelButton_.setEnabled(false);
    emit Finished();
}

ApplyOutcome DesignRun::Apply(std::span<const kes::BalanceChange> changes, std::string_view label) {
    if (kes::DesignRevision(model_) != startRevision_) {
        applyButton_.setEnabled(false);
        return ApplyOutcome::DesignChanged;
    }
    emit AboutToApply();
    if (!balance_apply::ApplyDesignChanges(model_, changes, label))
        return ApplyOutcome::NothingChanged;
    // Mid gear again and the arm to it, as when a dimension dialog closes.
    link_.SetRevArmBarPosition(0);
    link_.RefreshUndoButton();
    applyButton_.setEnabled(false);
    startRevision_ = kes::DesignRevision(model_);
    return ApplyOutcome::Applied;
}

} // namespace balance_run
