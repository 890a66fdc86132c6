// SPDX-License-Identifier: GPL-3.0-or-later
// A stopped picture with nothing changing is not drawn again, and the frame
// it keeps is the one a fresh drawing would give; every change the picture
// shows brings a new frame at the next tick.

#include "main_test_rig.h"
#include "model/design_edit.h"
#include "picture/frame_memo.h"

#include <QTest>

#include <functional>

namespace {

struct MemoRig : FrameRig {
    FrameMemo memo;

    MemoRig() { m.StepAngle = 0.0f; }

    bool Tick() {
        FrameOutcome out;
        return RunTickIfChanged(m, s, image, out, memo);
    }
    // Ticks until a frame is left as it was; how many ticks that took.
    int Settle() {
        for (int i = 1; i <= 10; ++i)
            if (!Tick()) return i;
        return 0;
    }
};

using Change = std::function<void(kes::Model&)>;

} // namespace

Q_DECLARE_METATYPE(Change)

class FrameMemoTest : public QObject {
    Q_OBJECT
  private slots:
    void stoppedPictureSettles();
    void keptFrameIsWhatADrawingGives();
    void runningOrSteamingAlwaysDraws();
    void everyChangeDraws_data();
    void everyChangeDraws();
};

void FrameMemoTest::stoppedPictureSettles() {
    MemoRig rig;
    QVERIFY(rig.Tick()); // the first frame is always drawn
    const int settled = rig.Settle();
    QVERIFY2(settled > 0 && settled <= 3, qPrintable(QString::number(settled)));
    for (int i = 0; i < 5; ++i)
        QVERIFY(!rig.Tick());
}

void FrameMemoTest::keptFrameIsWhatADrawingGives() {
    MemoRig rig;
    rig.m.ReferencePointsOn = true;
    rig.m.PivotDataOn = true;
    rig.m.PivotSlots[1] = {true, kes::CrankPin};
    QVERIFY(rig.Settle() > 0);
    QVERIFY(!rig.Tick());
    MemoRig fresh;
    fresh.m.ReferencePointsOn = true;
    fresh.m.PivotDataOn = true;
    fresh.m.PivotSlots[1] = {true, kes::CrankPin};
    fresh.FrameRig::Tick();
    fresh.FrameRig::Tick();
    QCOMPARE(rig.image, fresh.image);
}

void FrameMemoTest::runningOrSteamingAlwaysDraws() {
    MemoRig running;
    running.m.StepAngle = 10.0f;
    for (int i = 0; i < 40; ++i)
        QVERIFY(running.Tick());
    MemoRig steaming;
    steaming.m.SteamDisplayOn = true;
    for (int i = 0; i < 10; ++i)
        QVERIFY(steaming.Tick());
}

void FrameMemoTest::everyChangeDraws_data() {
    QTest::addColumn<Change>("change");
    auto row = [](const char* name, Change c) { QTest::newRow(name) << c; };
    row("driver turned by hand", [](kes::Model& m) { m.DriverAngle += 5.0f; });
    row("reverse arm", [](kes::Model& m) { m.RevArmSetting += 0.2f; });
    row("a frame dimension", [](kes::Model& m) { m.Frame.MainRodLength += 0.5f; });
    row("a cylinder dimension", [](kes::Model& m) { m.Cylinder[kes::BoreDiameter] += 1.0f; });
    row("a pivot", [](kes::Model& m) { m.Points[kes::GearMount].Y += 0.3f; });
    row("zoom", [](kes::Model& m) { m.CurrentView.Scale *= 1.1f; });
    row("pan", [](kes::Model& m) { m.CurrentView.OffsetX += 7.0f; });
    row("screen data off", [](kes::Model& m) { m.ScreenDataOn = false; });
    row("line width", [](kes::Model& m) { m.LineWidth = 2; });
    row("large font", [](kes::Model& m) { m.TextScaleX = 1.27f, m.TextScaleY = 1.22f; });
    row("reference points", [](kes::Model& m) { m.ReferencePointsOn = true; });
    row("a line", [](kes::Model& m) {
        m.LineTable[1] = {0, 0, 10, 10, -1, -1, -1, -1, 0, 2, 0};
        kes::BumpDesignRevision(m); // as the lines window does
    });
    row("a dynamic variable", [](kes::Model& m) {
        m.DynVarMode = true;
        m.DynVarSlots[1].Name = "Main Rod Length";
    });
    row("an undo line", [](kes::Model& m) {
        m.UndoDisplay = true;
        m.UndoRecord[1] = {3, 16.75f, 17.0f, "Main Rod Length"};
        m.UndoCount = 1;
    });
    row("pick prompts", [](kes::Model& m) { m.LinesPickWaiting = true; });
    row("a highlight", [](kes::Model& m) { m.HighlightedDimension = 3; });
    row("steam display", [](kes::Model& m) { m.SteamDisplayOn = true; });
}

void FrameMemoTest::everyChangeDraws() {
    QFETCH(Change, change);
    MemoRig rig;
    QVERIFY(rig.Settle() > 0);
    const QImage before = rig.image;
    change(rig.m);
    QVERIFY(rig.Tick());
    QVERIFY(rig.image != before);
}

QTEST_MAIN(FrameMemoTest)
#include "frame_memo_test.moc"
