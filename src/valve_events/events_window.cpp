// SPDX-License-Identifier: GPL-3.0-or-later
#include "valve_events/events_window.h"

#include "analysis/report_format.h"
#include "model/design_edit.h"
#include "model/model.h"
#include "overlay/compared_design.h"
#include "saving/buffered_save.h"
#include "ui_shell/first_size.h"
#include "valve_events/events_charts.h"
#include "valve_events/events_tables.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

using events_window::EventsResult;

namespace {

// Captions and names of the window's parts.
const char* const CopyCaption = "&Copy";
const char* const CopyHint = "Copy the table as tab-separated text";
const char* const SaveCaption = "&Save CSV...";
const char* const SaveHint = "Save the table as a CSV file";
const char* const AllEvents = "All events";
const char* const ComputingText = "Computing...";
const char* const NoMidGearText = "Mid gear cannot be found for these dimensions.";
constexpr int InitialWidth = 980;
constexpr int InitialHeight = 600;

} // namespace

TValveEvents::TValveEvents(kes::Model& model, QWidget* parent)
    : QWidget(parent, Qt::Window), model_(model), designChanges_(model) {
    setObjectName(QStringLiteral("ValveEvents"));
    setWindowTitle(ValveEventsCaption);
    ui_shell::ResizeToFirstSize(*this, QSize(InitialWidth, InitialHeight));

    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("ValveEventsStatus"));
    auto* copy = new QPushButton(QString::fromLatin1(CopyCaption), this);
    copy->setObjectName(QStringLiteral("ValveEventsCopy"));
    copy->setToolTip(QString::fromLatin1(CopyHint));
    auto* save = new QPushButton(QString::fromLatin1(SaveCaption), this);
    save->setObjectName(QStringLiteral("ValveEventsSave"));
    save->setToolTip(QString::fromLatin1(SaveHint));
    bar->addWidget(status_, 1);
    bar->addWidget(copy);
    bar->addWidget(save);
    layout->addLayout(bar);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("ValveEventsTabs"));
    report_ = new QTableWidget(this);
    report_->setObjectName(QStringLiteral("ValveEventsReport"));
    checks_ = new QTableWidget(this);
    checks_->setObjectName(QStringLiteral("ValveEventsChecks"));
    for (QTableWidget* t : {report_, checks_}) {
        t->setEditTriggers(QAbstractItemView::NoEditTriggers);
        t->verticalHeader()->setVisible(false);
    }

    auto* sensitivityPage = new QWidget(this);
    auto* sensitivityLayout = new QVBoxLayout(sensitivityPage);
    filter_ = new QComboBox(sensitivityPage);
    filter_->setObjectName(QStringLiteral("ValveEventsFilter"));
    filter_->addItem(QString::fromLatin1(AllEvents), -1);
    for (int q = 0; q < kes::SensQuantityCount; ++q)
        filter_->addItem(QString::fromLatin1(kes::SensitivityQuantityName(
                             static_cast<kes::SensitivityQuantity>(q))),
                         q);
    sensitivity_ = new QStandardItemModel(this);
    sorted_ = new QSortFilterProxyModel(this);
    sorted_->setSourceModel(sensitivity_);
    sorted_->setSortRole(events_window::SortRole);
    sensitivityView_ = new QTableView(sensitivityPage);
    sensitivityView_->setObjectName(QStringLiteral("ValveEventsSensitivity"));
    sensitivityView_->setModel(sorted_);
    sensitivityView_->setSortingEnabled(true);
    sensitivityView_->verticalHeader()->setVisible(false);
    sensitivityLayout->addWidget(filter_);
    sensitivityLayout->addWidget(sensitivityView_);

    tabs_->addTab(report_, QStringLiteral("Report"));
    tabs_->addTab(checks_, QStringLiteral("Design checks"));
    tabs_->addTab(sensitivityPage, QStringLiteral("Sensitivity"));
    charts_ = new events_window::EventsCharts(this);
    charts_->setObjectName(QStringLiteral("ValveEventsCharts"));
    tabs_->addTab(charts_, QStringLiteral("Charts"));
    layout->addWidget(tabs_, 1);

    connect(copy, &QPushButton::clicked, this, &TValveEvents::CopyTab);
    connect(save, &QPushButton::clicked, this, &TValveEvents::SaveClicked);
    connect(filter_, &QComboBox::currentIndexChanged, this,
            [this](int index) { FilterSensitivity(filter_->itemData(index).toInt()); });
    connect(tabs_, &QTabWidget::currentChanged, this, [this] {
        if (isVisible()) FollowDesign();
    });
    connect(&watcher_, &QFutureWatcher<EventsResult>::finished, this, &TValveEvents::Finished);
    connect(&designChanges_, &shell::DesignSignal::Changed, this, [this] {
        if (isVisible()) FollowDesign();
    });
}

TValveEvents::~TValveEvents() {
    // The worker holds only its own copy of the design; wait for it so its
    // result has somewhere to go.
    watcher_.disconnect(this);
    watcher_.waitForFinished();
}

bool TValveEvents::Computing() const {
    return running_ || pending_;
}

bool TValveEvents::WantsSensitivity() const {
    return tabs_->currentIndex() == SensitivityTab;
}

bool TValveEvents::WantsCharts() const {
    return tabs_->currentIndex() == ChartsTab;
}

void TValveEvents::SetComparedDesign(overlay::ComparedDesign* compared) {
    if (compared_) compared_->disconnect(this);
    compared_ = compared;
    if (compared_)
        connect(compared_, &overlay::ComparedDesign::Changed, this, [this] {
            if (isVisible()) FollowDesign();
        });
    if (isVisible()) FollowDesign();
}

void TValveEvents::FollowDesign() {
    const uint64_t revision = kes::DesignRevision(model_);
    const uint64_t comparedRevision = compared_ ? compared_->Revision() : 0;
    const bool changed = !requestedRevision_ || *requestedRevision_ != revision ||
                         comparedRevision != comparedRevision_;
    // The sensitivities and the charts are computed only while their tab is open.
    const bool needTable =
        !Computing() && shown_ &&
        ((WantsSensitivity() && !shown_->Sensitivity) || (WantsCharts() && !shown_->Charts));
    if (!changed && !needTable) return;
    requestedRevision_ = revision;
    comparedRevision_ = comparedRevision;
    Request();
}

void TValveEvents::Request() {
    ++requested_;
    status_->setText(QString::fromLatin1(ComputingText));
    if (running_) {
        pending_ = true;
        return;
    }
    Start();
}

void TValveEvents::Start() {
    pending_ = false;
    running_ = true;
    const kes::Mechanism copy = model_;
    const uint64_t generation = requested_;
    const events_window::EventsWanted wanted{WantsSensitivity(), WantsCharts()};
    std::optional<kes::Mechanism> compared;
    if (compared_ && compared_->Design()) compared = *compared_->Design();
    watcher_.setFuture(QtConcurrent::run([copy, generation, wanted, compared] {
        return events_window::ComputeEvents(copy, generation, wanted,
                                            compared ? &*compared : nullptr);
    }));
}

void TValveEvents::Finished() {
    running_ = false;
    EventsResult result = watcher_.result();
    if (pending_) {
        Start(); // a newer design waits: this result is already stale
        return;
    }
    if (result.Generation == requested_) Show(std::move(result));
}

void TValveEvents::Show(EventsResult result) {
    shown_ = std::move(result);
    const kes::EventsReport& r = shown_->Report;
    status_->setText(r.MidGear ? QStringLiteral("Mid gear %1").arg(*r.MidGear, 0, 'f', 5)
                               : QString::fromLatin1(NoMidGearText));
    const kes::EventsReport* other = shown_->ComparedReport ? &*shown_->ComparedReport : nullptr;
    events_window::FillReportTable(*report_, r, other);
    report_->resizeColumnsToContents();
    events_window::FillChecksTable(*checks_, shown_->Checks);
    checks_->resizeColumnToContents(0);
    checks_->resizeColumnToContents(1);
    if (shown_->Sensitivity) {
        events_window::FillSensitivityModel(*sensitivity_, *shown_->Sensitivity);
        FilterSensitivity(filter_->currentData().toInt());
        sensitivityView_->resizeColumnsToContents();
    }
    if (shown_->Charts) {
        const QString name = compared_ ? compared_->Name() : QString();
        charts_->Show(*shown_->Charts, shown_->ComparedCharts ? &*shown_->ComparedCharts : nullptr,
                      name);
    }
    emit ResultShown();
}

void TValveEvents::FilterSensitivity(int quantity) {
    for (int port = 0; port < 2; ++port)
        for (int q = 0; q < kes::SensQuantityCount; ++q)
            sensitivityView_->setColumnHidden(
                events_window::SensitivityColumn(port, static_cast<kes::SensitivityQuantity>(q)),
                quantity >= 0 && q != quantity);
}

QString TValveEvents::TabText(int tab, char separator) const {
    if (!shown_) return {};
    std::string text;
    switch (tab) {
    case ReportTab:
        text = kes::ReportCsv(shown_->Report, separator);
        break;
    case ChecksTab:
        text = kes::ChecksCsv(shown_->Checks, separator);
        break;
    case SensitivityTab:
        if (shown_->Sensitivity) text = kes::SensitivityCsv(*shown_->Sensitivity, separator);
        break;
    default:
        break;
    }
    return QString::fromStdString(text);
}

void TValveEvents::CopyTab() {
    QApplication::clipboard()->setText(TabText(tabs_->currentIndex(), '\t'));
}

bool TValveEvents::SaveCsv(const QString& fileName, QString* error) {
    return saving::SaveBytes(fileName, TabText(tabs_->currentIndex(), ',').toUtf8(), error);
}

void TValveEvents::SaveClicked() {
    const QString name =
        chooser_ ? chooser_()
                 : QFileDialog::getSaveFileName(this, QString::fromLatin1(SaveHint), QString(),
                                                QStringLiteral("CSV (*.csv)"));
    if (name.isEmpty()) return;
    QString error;
    if (!SaveCsv(name, &error)) status_->setText(name + QStringLiteral(": ") + error);
}

void TValveEvents::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FollowDesign();
}
