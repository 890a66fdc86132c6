// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Valve Events": the precise report, the design checks and the
// sensitivities of the design as it stands, in three tabs. Modeless: it
// follows every change of the design while the user works in the other
// windows: the design tells it of each change, and while it is shown a
// change starts a computation on a copy of the design on a worker thread,
// so the animation never waits; hidden, it does nothing. Only the newest request's
// result is shown; an older one that finishes late is dropped.

#include "ui_shell/design_signal.h"
#include "valve_events/events_job.h"

#include <QFutureWatcher>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>

#include "overlay/compared_design.h"

namespace events_window {
class EventsCharts;
}

class QComboBox;
class QLabel;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTabWidget;
class QTableView;
class QTableWidget;

namespace kes {
struct Model;
}

inline const QString ValveEventsCaption = QStringLiteral("Valve Events");

class TValveEvents : public QWidget {
    Q_OBJECT
  public:
    enum Tab { ReportTab = 0, ChecksTab = 1, SensitivityTab = 2, ChartsTab = 3 };

    explicit TValveEvents(kes::Model& model, QWidget* parent = nullptr);
    ~TValveEvents() override;

    // The second design shown beside this one (in the report's extra
    // columns and dashed in the charts); null for none.
    void SetComparedDesign(overlay::ComparedDesign* compared);

    // Compares the design with the last one asked for; on a change (or when
    // the sensitivity tab needs its table) asks for a new computation.
    void FollowDesign();
    bool Computing() const;
    // The result on show, if any.
    const events_window::EventsResult* Shown() const { return shown_ ? &*shown_ : nullptr; }

    // A tab as text with the given separator, every digit kept: what
    // "Copy" puts on the clipboard (tabs) and "Save CSV" writes (commas).
    QString TabText(int tab, char separator) const;
    void CopyTab();
    bool SaveCsv(const QString& fileName, QString* error = nullptr);
    // Test seam: the file chooser of "Save CSV".
    void SetSaveFileChooser(std::function<QString()> chooser) { chooser_ = std::move(chooser); }
    // Shows only the sensitivity columns of one event (-1: all).
    void FilterSensitivity(int quantity);

    QTabWidget* Tabs() const { return tabs_; }
    QTableWidget* ReportTable() const { return report_; }
    QTableWidget* ChecksTable() const { return checks_; }
    QTableView* SensitivityView() const { return sensitivityView_; }
    events_window::EventsCharts* Charts() const { return charts_; }

  signals:
    // A new result is on show.
    void ResultShown();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void Request();
    void Start();
    void Finished();
    void Show(events_window::EventsResult result);
    void SaveClicked();
    bool WantsSensitivity() const;
    bool WantsCharts() const;

    kes::Model& model_;
    shell::DesignSignal designChanges_;
    QFutureWatcher<events_window::EventsResult> watcher_;
    // The design revision last asked for.
    std::optional<uint64_t> requestedRevision_;
    uint64_t requested_ = 0; // generation of the newest request
    // A computation runs until its result has been taken here, which is
    // later than the worker's end.
    bool running_ = false;
    bool pending_ = false; // a request waits for the running one
    std::optional<events_window::EventsResult> shown_;
    std::function<QString()> chooser_;
    QPointer<overlay::ComparedDesign> compared_;
    uint64_t comparedRevision_ = 0; // of the compared design last asked for

    QLabel* status_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QTableWidget* report_ = nullptr;
    QTableWidget* checks_ = nullptr;
    QComboBox* filter_ = nullptr;
    QStandardItemModel* sensitivity_ = nullptr;
    QSortFilterProxyModel* sorted_ = nullptr;
    QTableView* sensitivityView_ = nullptr;
    events_window::EventsCharts* charts_ = nullptr;
};
