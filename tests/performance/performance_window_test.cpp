// SPDX-License-Identifier: GPL-3.0-or-later
// The Performance window: a result for the factory design, a new one after
// an edit of the design and after an edit of the engine data, and a clear
// message with empty plots for data the model cannot run.
#include "cylinder/performance.h"
#include "model/design_edit.h"
#include "model/dimensions.h"
#include "model/model.h"
#include "performance/performance_window.h"

#include <QApplication>
#include <QChart>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineSeries>
#include <QSignalSpy>
#include <QTest>

#include <cmath>

namespace {

constexpr int WaitMs = 60000;

void QuietOffscreenMessages() {
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (message.contains(QLatin1String("propagateSizeHints"))) return;
            if (previous) previous(type, context, message);
        });
}

bool Settle(TPerformance& w) {
    w.FollowDesign();
    QSignalSpy shown(&w, &TPerformance::ResultShown);
    while (w.Computing())
        if (!shown.wait(WaitMs)) return false;
    return w.Shown() != nullptr;
}

int PointsOf(const QChart& c, int series) {
    return static_cast<QLineSeries*>(c.series().at(series))->count();
}

} // namespace

class PerformanceWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QuietOffscreenMessages(); }

    void showsTheModelsNumbersAndPlots() {
        kes::Model m;
        kes::InitialiseModel(m);
        TPerformance w(m);
        w.show();
        QVERIFY(Settle(w));
        const kes::PerformanceResult& r = w.Shown()->Turn;
        QVERIFY2(r.Ok, r.Error.c_str());
        // The same numbers as the model run directly at the same request.
        kes::PerformanceRequest q;
        q.Setting = r.Setting;
        q.Speed = 15.0;
        const kes::PerformanceResult direct = kes::ComputePerformance(m, w.Engine(), q);
        QCOMPARE(r.Mep, direct.Mep);
        QCOMPARE(w.CardChart()->series().size(), 4);
        QCOMPARE(PointsOf(*w.CardChart(), 0), 361);
        QCOMPARE(PointsOf(*w.TractiveChart(), 0), 360);
        QCOMPARE(PointsOf(*w.SweepChart(), 0), 10);
        QVERIFY(w.StatusText().startsWith(QStringLiteral("Setting")));
        if (qEnvironmentVariableIsSet("KESTROVE_SHOT")) {
            QTest::qWait(300);
            w.grab().save(qEnvironmentVariable("KESTROVE_SHOT"));
        }
    }

    void followsTheDesignAndTheEngineData() {
        kes::Model m;
        kes::InitialiseModel(m);
        TPerformance w(m);
        w.show();
        QVERIFY(Settle(w));
        const double ihp = w.Shown()->Turn.Ihp;
        m.Cylinder[kes::BoreDiameter] *= 1.2f;
        kes::BumpDesignRevision(m);
        QVERIFY(Settle(w));
        QVERIFY(w.Shown()->Turn.Ok);
        QVERIFY(w.Shown()->Turn.Ihp > 1.3 * ihp);

        auto* boiler = w.findChild<QDoubleSpinBox*>(QStringLiteral("PerformanceBoilerPressure"));
        QVERIFY(boiler);
        const double mep = w.Shown()->Turn.Mep;
        boiler->setValue(150.0);
        QVERIFY(Settle(w));
        QVERIFY(w.Shown()->Turn.Mep < 0.85 * mep);
        QVERIFY(w.HasEngineData());
        QCOMPARE(w.Engine().BoilerPressure, 150.0);
    }

    // Metric: the same steam and the same road speed in the new units, and
    // every field says which; the sweep plots MEP and power on their own axes.
    void unitsConvertTheFieldsAndNameThem() {
        kes::Model m;
        kes::InitialiseModel(m);
        TPerformance w(m);
        w.show();
        QVERIFY(Settle(w));
        const double ihp = w.Shown()->Turn.Ihp;
        auto* boiler = w.findChild<QDoubleSpinBox*>(QStringLiteral("PerformanceBoilerPressure"));
        auto* speed = w.findChild<QDoubleSpinBox*>(QStringLiteral("PerformanceSpeed"));
        auto* units = w.findChild<QComboBox*>(QStringLiteral("PerformanceUnits"));
        QVERIFY(boiler && speed && units);
        QCOMPARE(boiler->suffix(), QStringLiteral(" psi gauge"));
        QCOMPARE(speed->suffix(), QStringLiteral(" mph"));
        QCOMPARE(w.SweepChart()->axes(Qt::Vertical).size(), 2);
        units->setCurrentIndex(1);
        QCOMPARE(boiler->suffix(), QStringLiteral(" bar gauge"));
        QCOMPARE(speed->suffix(), QStringLiteral(" km/h"));
        QVERIFY(std::abs(w.Engine().BoilerPressure - 200.0 / 14.503773773) < 1e-6);
        QVERIFY(std::abs(speed->value() - 24.1) < 0.051);
        units->setCurrentIndex(0);
        QVERIFY(std::abs(speed->value() - 15.0) < 0.051);
        QVERIFY(std::abs(w.Engine().BoilerPressure - 200.0) < 1e-6);
        QVERIFY(Settle(w));
        QVERIFY(std::abs(w.Shown()->Turn.Ihp - ihp) < 1e-3 * ihp);
    }

    void badEngineDataIsAMessageAndNoStalePlot() {
        kes::Model m;
        kes::InitialiseModel(m);
        TPerformance w(m);
        w.show();
        QVERIFY(Settle(w));
        kes::EngineData e = kes::DefaultEngineData();
        e.BackPressure = 250.0; // above the boiler
        w.SetEngineData(e);
        QVERIFY(Settle(w));
        QVERIFY(!w.Shown()->Turn.Ok);
        QVERIFY2(w.StatusText().contains(QStringLiteral("back_pressure")),
                 qPrintable(w.StatusText()));
        QCOMPARE(w.CardChart()->series().size(), 0);
        QCOMPARE(w.SweepChart()->series().size(), 0);
    }
};

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    PerformanceWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "performance_window_test.moc"
