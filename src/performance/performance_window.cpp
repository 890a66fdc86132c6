// SPDX-License-Identifier: GPL-3.0-or-later
#include "performance/performance_window.h"

#include "model/design_edit.h"

#include "cylinder/performance_json.h"
#include "model/model.h"
#include "performance/performance_charts.h"
#include "ui_shell/first_size.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegend>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

using performance_window::JobResult;

namespace {

constexpr int InitialWidth = 1200;
constexpr int InitialHeight = 760;
const char* const ComputingText = "Computing...";
const char* const DefaultHint = "blank: the default from the design";
constexpr double KmPerMile = 1.609344;

QDoubleSpinBox* Spin(QWidget* parent, const char* name, double lo, double hi, int decimals,
                     const char* hint) {
    auto* s = new QDoubleSpinBox(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(lo, hi);
    s->setDecimals(decimals);
    s->setToolTip(QString::fromUtf8(hint));
    return s;
}

QChartView* View(QChart* chart, QWidget* parent, const char* name) {
    chart->legend()->setAlignment(Qt::AlignBottom);
    // Dashed lines (the ideal cards, the mean) show dashed in the legend too.
    chart->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
    auto* v = new QChartView(chart, parent);
    v->setObjectName(QString::fromLatin1(name));
    v->setRenderHint(QPainter::Antialiasing);
    v->setMinimumSize(360, 260);
    return v;
}

QString Text(double v, int decimals) {
    return QString::number(v, 'f', decimals);
}

} // namespace

TPerformance::TPerformance(kes::Model& model, QWidget* parent)
    : QWidget(parent, Qt::Window), model_(model), designChanges_(model) {
    setObjectName(QStringLiteral("Performance"));
    setWindowTitle(PerformanceCaption);
    ui_shell::ResizeToFirstSize(*this, QSize(InitialWidth, InitialHeight));
    input_.Engine = kes::DefaultEngineData();

    card_ = new QChart;
    tractive_ = new QChart;
    sweep_ = new QChart;
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(MakeForm());
    auto* plots = new QGridLayout;
    plots->addWidget(View(card_, this, "PerformanceCard"), 0, 0, 1, 2);
    plots->addWidget(View(tractive_, this, "PerformanceTractive"), 1, 0);
    plots->addWidget(View(sweep_, this, "PerformanceSweepChart"), 1, 1);
    plots->setRowStretch(0, 3);
    plots->setRowStretch(1, 2);
    layout->addLayout(plots, 1);
    InputToForm();

    connect(&watcher_, &QFutureWatcher<JobResult>::finished, this, &TPerformance::Finished);
    connect(&designChanges_, &shell::DesignSignal::Changed, this, [this] {
        if (isVisible()) FollowDesign();
    });
}

TPerformance::~TPerformance() {
    watcher_.disconnect(this);
    watcher_.waitForFinished();
}

QWidget* TPerformance::MakeForm() {
    auto* box = new QWidget(this);
    auto* column = new QVBoxLayout(box);
    auto* form = new QFormLayout;
    form_ = form;
    column->addLayout(form);
    units_ = new QComboBox(box);
    units_->setObjectName(QStringLiteral("PerformanceUnits"));
    units_->addItems({QStringLiteral("imperial"), QStringLiteral("metric")});
    units_->setToolTip(
        QStringLiteral("imperial: in, psi, \u00b0F, mph; metric: mm, bar, \u00b0C, km/h"));
    boiler_ = Spin(box, "PerformanceBoilerPressure", 0.01, 5000, 2,
                   "Steam-chest pressure at rest, gauge");
    superheat_ =
        Spin(box, "PerformanceSuperheat", 0, 800, 1, "Degrees above saturation; 0 = dry saturated");
    back_ = Spin(box, "PerformanceBackPressure", 0, 5000, 2, "Exhaust back pressure, gauge");
    clearFront_ = Spin(box, "PerformanceClearanceFront", 0.1, 100, 2,
                       "Front clearance, % of the front end's swept volume");
    clearRear_ = Spin(box, "PerformanceClearanceRear", 0.1, 100, 2,
                      "Rear clearance, % of the rear end's swept volume");
    rod_ = new QLineEdit(box);
    rod_->setObjectName(QStringLiteral("PerformanceRodDiameter"));
    rod_->setToolTip(QStringLiteral("Piston-rod diameter, design units; ") + DefaultHint);
    ports_ = new QLineEdit(box);
    ports_->setObjectName(QStringLiteral("PerformancePortCircumference"));
    ports_->setToolTip(
        QStringLiteral("The ports' effective width around the valve, design units; ") +
        DefaultHint);
    discharge_ =
        Spin(box, "PerformanceDischarge", 0.01, 1, 3, "Discharge coefficient of the ports");
    cylinders_ = new QSpinBox(box);
    cylinders_->setObjectName(QStringLiteral("PerformanceCylinders"));
    cylinders_->setRange(1, 8);
    cylinders_->setToolTip(QStringLiteral("Cylinders, quartered"));
    condensation_ = new QCheckBox(QStringLiteral("C&ondensation"), box);
    condensation_->setObjectName(QStringLiteral("PerformanceCondensation"));
    condensation_->setToolTip(QStringLiteral("Heat exchange with the cylinder walls"));

    mode_ = new QComboBox(box);
    mode_->setObjectName(QStringLiteral("PerformanceMode"));
    mode_->addItems({QStringLiteral("Cut-off (%)"), QStringLiteral("Setting")});
    mode_->setToolTip(QStringLiteral("A wanted mean cut-off, or the reverse-arm setting itself"));
    value_ = Spin(box, "PerformanceValue", -1000, 1000, 3, "The cut-off or the setting");
    direction_ = new QComboBox(box);
    direction_->setObjectName(QStringLiteral("PerformanceDirection"));
    direction_->addItems({QStringLiteral("Forward"), QStringLiteral("Reverse")});
    direction_->setToolTip(QStringLiteral("Running direction"));
    speed_ = Spin(box, "PerformanceSpeed", 0.1, 500, 1, "Road speed (mph or km/h)");
    sweepKind_ = new QComboBox(box);
    sweepKind_->setObjectName(QStringLiteral("PerformanceSweep"));
    sweepKind_->addItems({QStringLiteral("Speed sweep"), QStringLiteral("Cut-off sweep")});
    sweepKind_->setToolTip(QStringLiteral("What the lower right plot sweeps"));

    form->addRow(QStringLiteral("&Units"), units_);
    form->addRow(QStringLiteral("&Boiler pressure"), boiler_);
    form->addRow(QStringLiteral("Super&heat"), superheat_);
    form->addRow(QStringLiteral("Bac&k pressure"), back_);
    form->addRow(QStringLiteral("Clearance &front %"), clearFront_);
    form->addRow(QStringLiteral("Clearance &rear %"), clearRear_);
    form->addRow(QStringLiteral("Piston-ro&d diameter"), rod_);
    form->addRow(QStringLiteral("&Port circumference"), ports_);
    form->addRow(QStringLiteral("D&ischarge coefficient"), discharge_);
    form->addRow(QStringLiteral("C&ylinders"), cylinders_);
    form->addRow(QString(), condensation_);
    form->addRow(QStringLiteral("&Set by"), mode_);
    form->addRow(QStringLiteral("&Value"), value_);
    form->addRow(QStringLiteral("Dir&ection"), direction_);
    form->addRow(QStringLiteral("Spee&d"), speed_);
    form->addRow(QStringLiteral("S&weep"), sweepKind_);
    status_ = new QLabel(box);
    status_->setObjectName(QStringLiteral("PerformanceStatus"));
    status_->setWordWrap(true);
    figures_ = new QLabel(box);
    figures_->setObjectName(QStringLiteral("PerformanceFigures"));
    figures_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(status_);
    column->addWidget(figures_);
    column->addStretch(1);
    box->setMaximumWidth(340);

    const auto edited = [this] {
        if (filling_) return;
        hasEngine_ = true;
        FormToInput();
        FollowDesign();
    };
    for (QDoubleSpinBox* s : {boiler_, superheat_, back_, clearFront_, clearRear_, discharge_})
        connect(s, &QDoubleSpinBox::valueChanged, this, edited);
    connect(cylinders_, &QSpinBox::valueChanged, this, edited);
    connect(condensation_, &QCheckBox::toggled, this, edited);
    for (QLineEdit* l : {rod_, ports_})
        connect(l, &QLineEdit::editingFinished, this, edited);
    const auto request = [this] {
        if (filling_) return;
        FormToInput();
        FollowDesign();
    };
    for (QDoubleSpinBox* s : {value_, speed_})
        connect(s, &QDoubleSpinBox::valueChanged, this, request);
    for (QComboBox* c : {direction_, sweepKind_})
        connect(c, &QComboBox::currentIndexChanged, this, request);
    connect(mode_, &QComboBox::currentIndexChanged, this, [this] {
        if (filling_) return;
        // A fresh start for the new meaning of the value.
        const bool cutoff = mode_->currentIndex() == 0;
        input_.Mode = cutoff ? performance_window::SettingMode::CutOff
                             : performance_window::SettingMode::Setting;
        input_.Value = cutoff ? 25.0 : model_.MidGear() + 0.5 * model_.Frame.RevArmNorm;
        InputToForm();
        FollowDesign();
    });
    connect(units_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (filling_) return;
        // The pressures and temperatures convert with the units; so does the
        // road speed, which the engine file does not hold.
        const bool metric = index == 1;
        if ((input_.Engine.Units == kes::EngineUnits::Metric) != metric)
            input_.Speed *= metric ? KmPerMile : 1.0 / KmPerMile;
        kes::SetEngineValue(input_.Engine, "units", metric ? "metric" : "imperial");
        hasEngine_ = true;
        InputToForm();
        FollowDesign();
    });
    return box;
}

void TPerformance::InputToForm() {
    filling_ = true;
    const kes::EngineData& e = input_.Engine;
    units_->setCurrentIndex(e.Units == kes::EngineUnits::Metric ? 1 : 0);
    ShowUnits(e.Units);
    boiler_->setValue(e.BoilerPressure);
    superheat_->setValue(e.Superheat);
    back_->setValue(e.BackPressure);
    clearFront_->setValue(e.ClearanceFrontPct);
    clearRear_->setValue(e.ClearanceRearPct);
    rod_->setText(e.PistonRodDiameter ? QString::number(*e.PistonRodDiameter) : QString());
    ports_->setText(e.PortCircumference ? QString::number(*e.PortCircumference) : QString());
    rod_->setPlaceholderText(Text(kes::PistonRodDiameterOf(e, model_), 3));
    ports_->setPlaceholderText(Text(kes::PortCircumferenceOf(e, model_), 3));
    discharge_->setValue(e.DischargeCoefficient);
    cylinders_->setValue(e.Cylinders);
    condensation_->setChecked(e.Condensation);
    mode_->setCurrentIndex(input_.Mode == performance_window::SettingMode::CutOff ? 0 : 1);
    value_->setValue(input_.Value);
    direction_->setCurrentIndex(input_.Direction == kes::RunDirection::Forward ? 0 : 1);
    speed_->setValue(input_.Speed);
    sweepKind_->setCurrentIndex(input_.SweepKind == performance_window::Sweep::Speed ? 0 : 1);
    filling_ = false;
}

// Every field that holds a physical quantity names its unit.
void TPerformance::ShowUnits(kes::EngineUnits units) {
    const bool metric = units == kes::EngineUnits::Metric;
    const kes::PerformanceUnitNames n = kes::UnitNames(units);
    const QString pressure = QStringLiteral(" %1 gauge").arg(QString::fromUtf8(n.Pressure));
    boiler_->setSuffix(pressure);
    back_->setSuffix(pressure);
    superheat_->setSuffix(metric ? QString::fromUtf8(" \u00b0C") : QString::fromUtf8(" \u00b0F"));
    speed_->setSuffix(QStringLiteral(" ") + QString::fromUtf8(n.Speed));
    const QString length = metric ? QStringLiteral(" (mm)") : QStringLiteral(" (in)");
    if (auto* label = qobject_cast<QLabel*>(form_->labelForField(rod_)))
        label->setText(QStringLiteral("Piston-ro&d diameter") + length);
    if (auto* label = qobject_cast<QLabel*>(form_->labelForField(ports_)))
        label->setText(QStringLiteral("&Port circumference") + length);
}

void TPerformance::FormToInput() {
    kes::EngineData& e = input_.Engine;
    e.BoilerPressure = boiler_->value();
    e.Superheat = superheat_->value();
    e.BackPressure = back_->value();
    e.ClearanceFrontPct = clearFront_->value();
    e.ClearanceRearPct = clearRear_->value();
    const auto optionalOf = [](const QLineEdit* l) -> std::optional<double> {
        bool ok = false;
        const double v = l->text().trimmed().toDouble(&ok);
        if (l->text().trimmed().isEmpty() || !ok) return std::nullopt;
        return v;
    };
    e.PistonRodDiameter = optionalOf(rod_);
    e.PortCircumference = optionalOf(ports_);
    e.DischargeCoefficient = discharge_->value();
    e.Cylinders = cylinders_->value();
    e.Condensation = condensation_->isChecked();
    input_.Value = value_->value();
    input_.Direction =
        direction_->currentIndex() == 0 ? kes::RunDirection::Forward : kes::RunDirection::Reverse;
    input_.Speed = speed_->value();
    input_.SweepKind = sweepKind_->currentIndex() == 0 ? performance_window::Sweep::Speed
                                                       : performance_window::Sweep::CutOff;
}

void TPerformance::SetEngineData(const kes::EngineData& e, bool present) {
    input_.Engine = e;
    hasEngine_ = present;
    InputToForm();
    if (isVisible()) FollowDesign();
}

void TPerformance::LoadBesideDesign(const QString& designPath) {
    if (designPath.isEmpty()) {
        fileProblem_.clear();
        SetEngineData(kes::DefaultEngineData(), false);
        return;
    }
    const kes::EngineFileResult r =
        kes::LoadEngineFile(kes::EngineFilePathFor(designPath.toStdString()));
    fileProblem_ = r.Ok ? QString() : QString::fromStdString(r.Message);
    SetEngineData(r.Ok ? r.Data : kes::DefaultEngineData(), r.Ok && r.Present);
    if (!fileProblem_.isEmpty()) status_->setText(fileProblem_);
}

QString TPerformance::SaveBesideDesign(const QString& designPath) {
    if (!hasEngine_ || designPath.isEmpty()) return {};
    const kes::EngineFileResult r =
        kes::SaveEngineFile(kes::EngineFilePathFor(designPath.toStdString()), input_.Engine);
    return r.Ok ? QString() : QString::fromStdString(r.Message);
}

void TPerformance::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FollowDesign();
}

bool TPerformance::Computing() const {
    return watcher_.isRunning() || pending_;
}

QString TPerformance::StatusText() const {
    return status_->text();
}

void TPerformance::FollowDesign() {
    const uint64_t revision = kes::DesignRevision(model_);
    const bool changed = !requestedRevision_ || *requestedRevision_ != revision ||
                         !requestedInput_ || !(*requestedInput_ == input_);
    if (!changed) return;
    requestedRevision_ = revision;
    requestedInput_ = input_;
    Request();
}

void TPerformance::Request() {
    ++requested_;
    status_->setText(QString::fromLatin1(ComputingText));
    if (watcher_.isRunning()) {
        pending_ = true;
        return;
    }
    Start();
}

void TPerformance::Start() {
    pending_ = false;
    const kes::Mechanism copy = model_;
    const performance_window::JobInput in = input_;
    const uint64_t generation = requested_;
    watcher_.setFuture(QtConcurrent::run(
        [copy, in, generation] { return performance_window::RunJob(copy, in, generation); }));
}

void TPerformance::Finished() {
    JobResult result = watcher_.result();
    if (pending_) {
        Start();
        return;
    }
    if (result.Generation == requested_) Show(std::move(result));
}

void TPerformance::Show(JobResult result) {
    shown_ = std::move(result);
    const kes::PerformanceResult& r = shown_->Turn;
    if (!r.Ok) {
        // Nothing stale stays on show.
        status_->setText(QString::fromStdString(r.Error));
        figures_->clear();
        performance_window::ClearChart(*card_, QStringLiteral("Indicator cards"));
        performance_window::ClearChart(*tractive_, QStringLiteral("Tractive effort"));
        performance_window::ClearChart(*sweep_, QStringLiteral("Sweep"));
        emit ResultShown();
        return;
    }
    const kes::PerformanceUnitNames n = kes::UnitNames(r.Units);
    status_->setText(
        QStringLiteral("Setting %1, %2 rpm%3%4")
            .arg(r.Setting, 0, 'f', 4)
            .arg(r.Rpm, 0, 'f', 0)
            .arg(r.Converged ? QString() : QStringLiteral(" (cycle not settled)"))
            .arg(fileProblem_.isEmpty() ? QString() : QStringLiteral("\n") + fileProblem_));
    const auto pct = [](const std::optional<double>& v) {
        return v ? QString::number(*v, 'f', 1) + QStringLiteral(" %") : QStringLiteral("-");
    };
    figures_->setText(
        QStringLiteral("Cut-off %1 / %2\nRelease %3 / %4\nCompression %5 / %6\n"
                       "MEP %7 %8\nIHP %9 %10\nTractive effort %11 %12\n"
                       "Steam %13 %14/h\nSteam rate %15 %16\nCylinder efficiency %17")
            .arg(pct(r.Front.CutOffPct), pct(r.Rear.CutOffPct), pct(r.Front.ReleasePct),
                 pct(r.Rear.ReleasePct), pct(r.Front.CompressionPct), pct(r.Rear.CompressionPct))
            .arg(Text(r.Mep, 1), QString::fromUtf8(n.Pressure), Text(r.Ihp, 2),
                 QString::fromUtf8(n.Power), Text(r.TractiveEffort, 1), QString::fromUtf8(n.Force),
                 Text(r.SteamPerHour, 1), QString::fromUtf8(n.Mass))
            .arg(r.SteamRate ? Text(*r.SteamRate, 1) : QStringLiteral("-"),
                 QString::fromUtf8(n.Rate),
                 r.CylinderEfficiency ? pct(*r.CylinderEfficiency * 100.0) : QStringLiteral("-")));
    performance_window::FillCardChart(*card_, r);
    performance_window::FillTractiveChart(*tractive_, r);
    performance_window::FillSweepChart(*sweep_, shown_->SweepKind, r.Units, shown_->Rows);
    emit ResultShown();
}
