// SPDX-License-Identifier: GPL-3.0-or-later
// The "Balance Events..." window: a run on the worker thread, the result
// tables, Cancel, Apply with its undo entries and UnDo back to the start.

#include "balance/balance_window.h"
#include "model/design_changes.h"
#include "model/design_edit.h"
#include "model/dimensions.h"
#include "model/dyn_vars.h"
#include "model/mid_gear.h"
#include "model/model.h"
#include "support/fake_main_link.h"
#include "support/same_design.h"

#include <QApplication>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int RunTimeoutMs = 60000;

QtMessageHandler previousHandler = nullptr;
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& msg) {
    if (msg.contains(QLatin1String("This plugin does not support propagateSizeHints()"))) return;
    if (previousHandler) previousHandler(type, context, msg);
}

std::vector<int> AllIds() {
    std::vector<int> ids;
    for (int id = 1; id <= 122; ++id)
        if (kes::IsDimensionId(id)) ids.push_back(id);
    return ids;
}

bool SameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

class BalanceWindowTest : public QObject {
    Q_OBJECT
  private:
    kes::Model model;
    FakeMainLink link;

    QPushButton* Button(TBalanceEvents& w, const char* name) {
        return w.findChild<QPushButton*>(QString::fromLatin1(name));
    }
    bool RunAndWait(TBalanceEvents& w) {
        QSignalSpy finished(&w, &TBalanceEvents::Finished);
        QTest::mouseClick(Button(w, "Run"), Qt::LeftButton);
        return finished.wait(RunTimeoutMs) || finished.count() > 0;
    }

  private slots:
    void initTestCase() { previousHandler = qInstallMessageHandler(QuietHandler); }
    void init() {
        model = kes::Model{};
        kes::InitialiseModel(model);
        kes::MarkDesignSaved(model);
    }

    void runShowsTheResultWithoutChangingTheDesign() {
        TBalanceEvents w(model, link);
        w.show();
        const kes::Model before = model;
        QVERIFY(RunAndWait(w));
        QVERIFY(!w.Running());
        const kes::BalanceResult* r = w.Result();
        QVERIFY(r);
        QVERIFY(r->Feasible);
        QVERIFY(*r->ObjectiveAfter < *r->ObjectiveBefore);
        QVERIFY(test_support::SameDesign(model, before));
        auto* changes = w.findChild<QTableWidget*>(QStringLiteral("Changes"));
        auto* events = w.findChild<QTableWidget*>(QStringLiteral("Events"));
        QCOMPARE(changes->rowCount(), 4);
        QCOMPARE(events->rowCount(), 8 * 4); // eight settings, four quantities
        // In the order of the dimension tables: the drop link first.
        QCOMPARE(changes->item(0, 0)->text(), QStringLiteral("Drop Link to CrossH Vert"));
        QCOMPARE(changes->item(1, 0)->text(), QStringLiteral("Valve Rod Length"));
        QCOMPARE(changes->item(1, 1)->text(), QStringLiteral("6.3430"));
        QVERIFY(Button(w, "Apply")->isEnabled());
        QVERIFY(w.findChild<QLabel*>(QStringLiteral("Summary"))
                    ->text()
                    .contains(QStringLiteral("evaluations")));
    }

    void applyThenUndoGivesBackTheStartBitForBit() {
        const kes::Model start = model;
        TBalanceEvents w(model, link);
        w.show();
        QVERIFY(RunAndWait(w));
        const kes::BalanceResult& r = *w.Result();
        int changed = 0;
        for (const kes::BalanceChange& c : r.Changes)
            changed += c.After != c.Before ? 1 : 0;
        QVERIFY(changed > 0);

        const int undoBefore = model.UndoCount;
        QTest::mouseClick(Button(w, "Apply"), Qt::LeftButton);
        // One step for the whole Apply, named with its count.
        QCOMPARE(model.UndoCount, undoBefore + 1);
        QCOMPARE(kes::UndoStepTitle(model),
                 "Balance Events (" + std::to_string(changed) + " dimensions)");
        QVERIFY(kes::IsDesignModified(model));
        QVERIFY(link.refreshUndoCalls > 0);
        for (const kes::BalanceChange& c : r.Changes)
            QVERIFY(SameBits(kes::GetDimension(model, c.Id), c.After));
        QCOMPARE(model.MidGear(), r.Balanced.MidGear());
        QVERIFY(!Button(w, "Apply")->isEnabled());

        const kes::Model applied = model;
        // One UnDo takes the whole Apply back, mid gear included, bit for bit.
        QVERIFY(kes::UndoStep(model));
        for (int id : AllIds())
            QVERIFY2(SameBits(kes::GetDimension(model, id), kes::GetDimension(start, id)),
                     qPrintable(QString::number(id)));
        QVERIFY(test_support::SameDesign(model, start));
        QVERIFY(std::memcmp(model.RevArmPositions.data(), start.RevArmPositions.data(),
                            sizeof start.RevArmPositions) == 0);
        QVERIFY(SameBits(model.RevArmSetting, start.RevArmSetting));
        QCOMPARE(model.UndoCount, undoBefore);
        // One ReDo puts it back as Apply left it.
        QVERIFY(kes::RedoStep(model));
        QVERIFY(test_support::SameDesign(model, applied));
        QVERIFY(SameBits(model.RevArmSetting, applied.RevArmSetting));
        QCOMPARE(model.UndoCount, undoBefore + 1);
    }

    void applyIsRefusedAfterTheDesignChanged() {
        TBalanceEvents w(model, link);
        w.show();
        QVERIFY(RunAndWait(w));
        // An edit made while the result was shown, stored as a typed field does.
        kes::SetDimension(model, 20, 2.2f);
        kes::BumpDesignRevision(model);
        const kes::Model edited = model;
        QVERIFY(!w.Apply());
        QVERIFY(test_support::SameDesign(model, edited));
        QCOMPARE(model.UndoCount, edited.UndoCount);
    }

    void cancelKeepsTheBestSoFar() {
        TBalanceEvents w(model, link);
        w.show();
        QSignalSpy finished(&w, &TBalanceEvents::Finished);
        QTest::mouseClick(Button(w, "Run"), Qt::LeftButton);
        QVERIFY(w.Running());
        auto* progress = w.findChild<QProgressBar*>(QStringLiteral("Progress"));
        QTRY_VERIFY_WITH_TIMEOUT(progress->value() >= 10, RunTimeoutMs);
        QTest::mouseClick(Button(w, "Cancel"), Qt::LeftButton);
        QVERIFY(finished.wait(RunTimeoutMs) || finished.count() > 0);
        const kes::BalanceResult* r = w.Result();
        QVERIFY(r && r->Cancelled);
        QVERIFY(r->Feasible);
        QVERIFY(*r->ObjectiveAfter <= *r->ObjectiveBefore);
        QVERIFY(r->Evaluations < 2000);
    }

    void anInfeasibleDesignIsSaidSo() {
        model.Frame.RevArmMax = 2.5f; // the radius bar cannot follow so far
        TBalanceEvents w(model, link);
        w.show();
        // Only the wheel free: nothing can repair it.
        auto* dims = w.findChild<QTableWidget*>(QStringLiteral("FreeDims"));
        for (int row = 0; row < dims->rowCount(); ++row)
            dims->item(row, 0)->setCheckState(
                dims->item(row, 0)->data(Qt::UserRole).toInt() == 1 ? Qt::Checked : Qt::Unchecked);
        QVERIFY(RunAndWait(w));
        QVERIFY(!w.Result()->Feasible);
        QVERIFY(w.findChild<QLabel*>(QStringLiteral("Summary"))
                    ->text()
                    .contains(QStringLiteral("No feasible design found")));
        QVERIFY(w.findChild<QLabel*>(QStringLiteral("Summary"))
                    ->text()
                    .contains(QStringLiteral("Driver Dia has no effect on the events")));
        QVERIFY(!Button(w, "Apply")->isEnabled());
        QCOMPARE(w.findChild<QProgressBar*>(QStringLiteral("Progress"))->value(),
                 w.findChild<QProgressBar*>(QStringLiteral("Progress"))->maximum());
    }

    void badBoundsAreRefusedBeforeRunning() {
        TBalanceEvents w(model, link);
        w.show();
        auto* dims = w.findChild<QTableWidget*>(QStringLiteral("FreeDims"));
        QVERIFY(dims->rowCount() == static_cast<int>(AllIds().size()));
        for (int row = 0; row < dims->rowCount(); ++row)
            if (dims->item(row, 0)->checkState() == Qt::Checked)
                dims->item(row, 2)->setText(QStringLiteral("abc"));
        QTest::mouseClick(Button(w, "Run"), Qt::LeftButton);
        QVERIFY(!w.Running());
        QVERIFY(!w.Result());
    }

    void mepWeightTakesTheEngineDataFromItsSource() {
        TBalanceEvents w(model, link);
        auto* weight = w.findChild<QDoubleSpinBox*>(QStringLiteral("WeightMep"));
        QVERIFY(weight);
        QVERIFY(!weight->toolTip().isEmpty());
        QString error;
        kes::BalanceDef def = w.CurrentDef(error);
        QVERIFY(error.isEmpty());
        QCOMPARE(def.Weights.MepFrontRear, 0.0);
        QVERIFY(!def.Mep);
        weight->setValue(2.5);
        def = w.CurrentDef(error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(def.Weights.MepFrontRear, 2.5);
        QVERIFY(def.Mep);
        kes::EngineData bad = kes::DefaultEngineData();
        bad.BoilerPressure = -1.0;
        w.SetEngineDataSource([bad] { return bad; });
        w.CurrentDef(error);
        QVERIFY2(error.contains(QLatin1String("boiler_pressure")), qPrintable(error));
    }
};

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("KESTROVE_NO_SOUND", "1");
    QApplication app(argc, argv);
    BalanceWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "balance_window_test.moc"
