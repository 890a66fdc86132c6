// SPDX-License-Identifier: GPL-3.0-or-later
// The "Design Valve to Targets..." window: a run on the worker thread meets
// the targets, Apply writes the design, UnDo gives back the start bit for
// bit.

#include "model/design_changes.h"
#include "model/dimensions.h"
#include "model/dyn_vars.h"
#include "model/mid_gear.h"
#include "model/model.h"
#include "support/fake_main_link.h"
#include "support/same_design.h"
#include "targets/targets_window.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <cstring>

namespace {

constexpr int RunTimeoutMs = 120000;

QtMessageHandler previousHandler = nullptr;
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& msg) {
    if (msg.contains(QLatin1String("This plugin does not support propagateSizeHints()"))) return;
    if (previousHandler) previousHandler(type, context, msg);
}

bool SameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

class TargetsWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { previousHandler = qInstallMessageHandler(QuietHandler); }

    void runMeetsTheTargetsAndApplyUndoesBitForBit() {
        kes::Model model;
        kes::InitialiseModel(model);
        kes::MarkDesignSaved(model);
        const kes::Model start = model;
        FakeMainLink link;
        TDesignTargets w(model, link);
        w.show();
        QSignalSpy finished(&w, &TDesignTargets::Finished);
        QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("Run")), Qt::LeftButton);
        QVERIFY(finished.wait(RunTimeoutMs) || finished.count() > 0);
        const kes::TargetsResult* r = w.Result();
        QVERIFY(r && r->Feasible);
        QVERIFY(std::fabs(*r->After.LeadFront - 0.03) <= 0.002);
        QVERIFY(std::fabs(*r->After.MeanFullGearCutOff - 75.0) <= 1.0);
        QVERIFY(w.findChild<QLabel*>(QStringLiteral("Summary"))
                    ->text()
                    .contains(QStringLiteral("angularity")));
        QVERIFY(test_support::SameDesign(model, start));

        QVERIFY(w.Apply());
        for (const kes::BalanceChange& c : r->Changes)
            QVERIFY(SameBits(kes::GetDimension(model, c.Id), c.After));
        QVERIFY(kes::IsDesignModified(model));
        // One undo entry per changed dimension today; one step once grouped.
        while (model.UndoCount > start.UndoCount)
            QVERIFY(kes::UndoStep(model));
        for (int id = 1; id <= 122; ++id)
            if (kes::IsDimensionId(id))
                QVERIFY2(SameBits(kes::GetDimension(model, id), kes::GetDimension(start, id)),
                         qPrintable(QString::number(id)));
        kes::FindMidGear(model);
        QVERIFY(test_support::SameDesign(model, start));
    }
};

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("KESTROVE_NO_SOUND", "1");
    QApplication app(argc, argv);
    TargetsWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "targets_window_test.moc"
