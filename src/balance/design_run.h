// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the Balance and the Targets windows share: a run on a worker thread
// with its own copy of the design, its progress polled on the UI thread,
// Cancel, and Apply, which is refused when the design changed since the
// run and otherwise writes the changes as one step and puts the reverse
// arm back to mid gear. The windows keep their own definitions, results and
// read-outs; this keeps their Run, Cancel and Apply buttons in step.

#include "analysis/balance.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <thread>

class MainFormLink;
class QPushButton;
class QTimer;

namespace kes {
struct Model;
}

namespace balance_run {

// What Apply says when the design changed since the run.
QString DesignChangedText();

struct ProgressNow {
    int Evaluations = 0;
    std::optional<double> Current; // J of the design just evaluated; absent when infeasible
    bool Repairing = false;
};

enum class ApplyOutcome { Applied, DesignChanged, NothingChanged };

class DesignRun : public QObject {
    Q_OBJECT
  public:
    // The buttons are enabled and disabled as the run goes.
    DesignRun(kes::Model& model, MainFormLink& link, QPushButton& run, QPushButton& cancel,
              QPushButton& apply, int pollMs);
    // Cancels the run and waits for it: its work writes into its owner.
    ~DesignRun() override;

    bool Running() const { return worker_.joinable(); }

    // The work runs on the worker thread with the copy and a control whose
    // Cancel and Progress this object serves; it keeps its result itself
    // (read it after Finished). The design as it is now is what Apply
    // later checks against.
    using Work = std::function<void(const kes::Mechanism& start, const kes::BalanceControl&)>;
    void Start(Work work);
    void Cancel() { cancelFlag_ = true; }
    ProgressNow Progress() const;

    // Refuses when the design is not as the run (or the last Apply) left
    // it; otherwise AboutToApply, the changes as one undo step named label,
    // the reverse arm to mid gear and the undo button refreshed.
    ApplyOutcome Apply(std::span<const kes::BalanceChange> changes, std::string_view label);

  signals:
    // Every poll while the run goes on.
    void Polled();
    // On the UI thread once the worker has ended, however it ended.
    void Finished();
    // Just before the design changes, so its owner can keep it as it was.
    void AboutToApply();

  private:
    void WorkerDone();

    kes::Model& model_;
    MainFormLink& link_;
    QPushButton& runButton_;
    QPushButton& cancelButton_;
    QPushButton& applyButton_;
    QTimer* poll_ = nullptr;

    std::atomic<bool> cancelFlag_{false};
    std::atomic<int> evaluations_{0};
    std::atomic<double> current_{-1.0}; // below 0: infeasible or none yet
    std::atomic<bool> repairing_{false};
    uint64_t startRevision_ = 0;
    std::thread worker_;
};

} // namespace balance_run
