// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Performance": what the gear does for the engine. The engine data form,
// the setting (or a wanted cut-off), the direction and the speed, and three
// plots: the indicator cards of both ends with the ideal cards dashed, the
// tractive effort against crank angle, and a speed or cut-off sweep.
// Modeless and live like Valve Events: a change of the design (which the
// design tells it of) or of the inputs starts the cylinder model on a copy on
// a worker thread while the window is shown, and only the newest request's
// result is shown.
//
// The window holds the engine data of the design. The main window gives it
// the data loaded beside a design file (SetEngineData) and saves Engine()
// beside the design when HasEngineData().

#include "performance/performance_job.h"
#include "ui_shell/design_signal.h"

#include <QFutureWatcher>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <optional>

class QChart;
class QChartView;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace kes {
struct Model;
}

inline const QString PerformanceCaption = QStringLiteral("Performance");

class TPerformance : public QWidget {
    Q_OBJECT
  public:
    explicit TPerformance(kes::Model& model, QWidget* parent = nullptr);
    ~TPerformance() override;

    const kes::EngineData& Engine() const { return input_.Engine; }
    // present: the data came from a file (or were typed), so they are saved.
    void SetEngineData(const kes::EngineData& e, bool present = true);
    bool HasEngineData() const { return hasEngine_; }
    // NAME.engine.json beside the design: loaded when present, the defaults
    // otherwise; a bad file leaves the defaults and says why in the status.
    void LoadBesideDesign(const QString& designPath);
    // Writes NAME.engine.json when the design has engine data; empty when
    // done or nothing to write, else why it failed (the old file stays).
    QString SaveBesideDesign(const QString& designPath);

    void FollowDesign();
    bool Computing() const;
    const performance_window::JobResult* Shown() const { return shown_ ? &*shown_ : nullptr; }
    QString StatusText() const;

    QChart* CardChart() const { return card_; }
    QChart* TractiveChart() const { return tractive_; }
    QChart* SweepChart() const { return sweep_; }

  signals:
    void ResultShown();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* MakeForm();
    void FormToInput();
    void InputToForm();
    void ShowUnits(kes::EngineUnits units);
    void Request();
    void Start();
    void Finished();
    void Show(performance_window::JobResult result);

    kes::Model& model_;
    performance_window::JobInput input_;
    bool hasEngine_ = false;
    bool filling_ = false;
    shell::DesignSignal designChanges_;
    QFutureWatcher<performance_window::JobResult> watcher_;
    std::optional<uint64_t> requestedRevision_;
    std::optional<performance_window::JobInput> requestedInput_;
    uint64_t requested_ = 0;
    bool pending_ = false;
    std::optional<performance_window::JobResult> shown_;
    QString fileProblem_; // a bad engine file, shown with the next result

    QFormLayout* form_ = nullptr;
    QComboBox* units_ = nullptr;
    QDoubleSpinBox* boiler_ = nullptr;
    QDoubleSpinBox* superheat_ = nullptr;
    QDoubleSpinBox* back_ = nullptr;
    QDoubleSpinBox* clearFront_ = nullptr;
    QDoubleSpinBox* clearRear_ = nullptr;
    QLineEdit* rod_ = nullptr;
    QLineEdit* ports_ = nullptr;
    QDoubleSpinBox* discharge_ = nullptr;
    QSpinBox* cylinders_ = nullptr;
    QCheckBox* condensation_ = nullptr;
    QComboBox* mode_ = nullptr;
    QDoubleSpinBox* value_ = nullptr;
    QComboBox* direction_ = nullptr;
    QDoubleSpinBox* speed_ = nullptr;
    QComboBox* sweepKind_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* figures_ = nullptr;
    QChart* card_ = nullptr;
    QChart* tractive_ = nullptr;
    QChart* sweep_ = nullptr;
};
