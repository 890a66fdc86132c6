// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Balance Events...": pick the free dimensions and their bounds, the
// settings and the weights, press Run. The optimiser works on a worker
// thread on a copy of the design, so the window and the animation stay
// live; Cancel stops it and keeps the best design found so far. Nothing
// changes the design until "Apply", which sets each changed dimension with
// its own undo entry, as a typed edit does, then finds mid gear.

#include "analysis/balance.h"
#include "cylinder/engine_data.h"

#include <QDialog>
#include <QSize>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class MainFormLink;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTimer;

namespace kes {
struct Model;
}
namespace balance_tables {
class ResultArea;
}
namespace balance_run {
class DesignRun;
}

class TBalanceEvents : public QDialog {
    Q_OBJECT
  public:
    // The size the window is laid out for; a smaller screen gets less.
    static constexpr QSize LaidOutSize{1180, 800};

    TBalanceEvents(kes::Model& model, MainFormLink& link, QWidget* parent = nullptr);
    ~TBalanceEvents() override;

    bool Running() const;
    // The last finished run; nullptr before the first.
    const kes::BalanceResult* Result() const { return result_.get(); }
    // The definition the widgets describe; an error text when they do not
    // describe one.
    kes::BalanceDef CurrentDef(QString& error) const;

    // The buttons' work.
    void Run();
    void Cancel();
    bool Apply();
    // The checklist's values and default bounds from the design as it is.
    void RefreshFromModel();
    // The checklist's Value column from the design (after Apply, UnDo).
    void RefreshValues();
    // RefreshValues when the design's revision moved since the last look:
    // on show, on activation and on a light check while shown.
    void FollowDesign();
    // Ticks the dimensions that would help most (balance_suggest.h) and
    // says why in the summary.
    void Suggest();
    // Where the MEP term takes the engine data from (the Performance
    // window's); without it, the defaults.
    void SetEngineDataSource(std::function<kes::EngineData()> source) {
        engineData_ = std::move(source);
    }

  signals:
    void Finished();
    // Just before the design changes, so its owner can keep it as it was.
    void AboutToApply();
    void Applied();

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void Build();
    void ShowProgress();
    void RunFinished();
    void ShowResult();

    kes::Model& model_;
    MainFormLink& link_;

    QTableWidget* dims_ = nullptr;
    QLineEdit* offsets_ = nullptr;
    QDoubleSpinBox* weightFwdRev_ = nullptr;
    QDoubleSpinBox* weightMidLead_ = nullptr;
    QDoubleSpinBox* targetMidLead_ = nullptr;
    QDoubleSpinBox* weightFullCut_ = nullptr;
    QDoubleSpinBox* targetFullCut_ = nullptr;
    QComboBox* method_ = nullptr;
    QSpinBox* maxEvals_ = nullptr;
    QSpinBox* multistart_ = nullptr;
    QPushButton* run_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* apply_ = nullptr;
    QPushButton* suggest_ = nullptr;
    QDoubleSpinBox* minLead_ = nullptr;
    QDoubleSpinBox* weightMep_ = nullptr;
    std::function<kes::EngineData()> engineData_;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* summary_ = nullptr;
    balance_tables::ResultArea* results_ = nullptr;
    QTimer* follow_ = nullptr;
    std::optional<uint64_t> valuesRevision_; // of the design the Value column shows

    std::unique_ptr<kes::BalanceResult> pending_, result_;
    // Last, so it ends the run before the results it writes go.
    std::unique_ptr<balance_run::DesignRun> runner_;
};
