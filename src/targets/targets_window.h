// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Design Valve to Targets...": the lead wanted, the full-gear cut-off
// wanted and, if asked, the exhaust lap; Run fits the valve and balances on
// a worker thread with a copy of the design; the window shows the targets
// against what was reached, the changed dimensions and the events before
// and after. Nothing changes the design until "Apply".

#include "analysis/valve_targets.h"

#include <QDialog>

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

class MainFormLink;
class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace kes {
struct Model;
}

class TDesignTargets : public QDialog {
    Q_OBJECT
  public:
    TDesignTargets(kes::Model& model, MainFormLink& link, QWidget* parent = nullptr);
    ~TDesignTargets() override;

    bool Running() const { return worker_.joinable(); }
    const kes::TargetsResult* Result() const { return result_.get(); }
    kes::TargetsDef CurrentDef() const;

    void Run();
    void Cancel();
    bool Apply();

  signals:
    void Finished();
    // Just before the design changes, so its owner can keep it as it was.
    void AboutToApply();
    void Applied();

  private:
    void RunFinished();
    void ShowResult();

    kes::Model& model_;
    MainFormLink& link_;
    QDoubleSpinBox* lead_ = nullptr;
    QCheckBox* overRange_ = nullptr;
    QDoubleSpinBox* cutOff_ = nullptr;
    QCheckBox* setExhaust_ = nullptr;
    QDoubleSpinBox* exhaustLap_ = nullptr;
    QPushButton* run_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* apply_ = nullptr;
    QLabel* summary_ = nullptr;
    QTableWidget* changes_ = nullptr;
    QTableWidget* events_ = nullptr;

    std::thread worker_;
    std::atomic<bool> cancelFlag_{false};
    std::unique_ptr<kes::TargetsResult> pending_, result_;
    uint64_t startRevision_ = 0;
};
