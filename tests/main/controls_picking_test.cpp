// SPDX-License-Identifier: GPL-3.0-or-later
// Mouse picking on the picture, the display settings of "&SetUp", screen
// data on and off, the dynamic-variable bars and the UnDo button.

#include "controls_rig.h"

#include "model/dimensions.h"
#include "model/dyn_vars.h"
#include "model/solver.h"

#include <QSignalSpy>
#include <QToolButton>

#include <cmath>

class ControlsPickingTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QuietShowMessages(); }
    void clicksPlaceReferencePoints();
    void pivotRowThenPointPicksThePivot();
    void linesWindowPickClicks();
    void setUpItemsFlipTheirCaptions();
    void screenDataOffHidesAndDisables();
    void dynamicVariableBarStepsAndRecordsUndo();
    void heldDynamicVariableBarRecordsOneEntry();
    void undoButtonStepsBack();
    void toolButtonsAndCommands();
    void resetAllHidesTheDynamicBars();
};

void ControlsPickingTest::clicksPlaceReferencePoints() {
    ControlsRig r;
    r.Press(400, 300, Qt::LeftButton);
    QCOMPARE(r.m.Points[kes::RefPoint1].X, 0.0f); // reference points off

    r.Act("ReferPoints")->trigger();
    r.Press(400, 300, Qt::LeftButton);
    QVERIFY(std::fabs(r.m.Points[kes::RefPoint1].X - 15.789474f) < 1e-5f);
    QVERIFY(std::fabs(r.m.Points[kes::RefPoint1].Y + 1.0526316f) < 1e-6f);
    QVERIFY(r.Button("RefPt1Zero")->isEnabled());
    QVERIFY(!r.Button("RefPt2Zero")->isEnabled());

    r.Press(138, 242, Qt::RightButton);
    QCOMPARE(r.m.Points[kes::RefPoint2].X, 2.0f);
    QCOMPARE(r.m.Points[kes::RefPoint2].Y, 2.0f);
    QVERIFY(r.Button("RefPt2Zero")->isEnabled());

    // The control strip is not the drawing.
    r.Press(150, 100, Qt::LeftButton);
    QVERIFY(std::fabs(r.m.Points[kes::RefPoint1].X - 15.789474f) < 1e-5f);
}

void ControlsPickingTest::pivotRowThenPointPicksThePivot() {
    ControlsRig r;
    kes::SolveLinkage(r.m);
    r.Act("PivotData")->trigger();
    QVERIFY(r.m.PivotDataOn);
    QVERIFY(r.m.ReferencePointsOn); // switched on with the pivot data
    QVERIFY(r.Shown(r.Button("DataTable")));

    r.Press(10, 167, Qt::LeftButton); // row 2
    QVERIFY(r.m.PivotPickArmed);
    QCOMPARE(r.m.PivotPickSlot, 2);
    QVERIFY(r.m.PivotSlots[2].Active);

    const kes::PointSlot& crank = r.m.Points[kes::CrankPin];
    const int x = int(std::lround(crank.X * 19.0f + 100.0f));
    const int y = int(std::lround(-crank.Y * 19.0f + 280.0f));
    r.Press(x, y, Qt::LeftButton);
    QVERIFY(!r.m.PivotPickArmed);
    QCOMPARE(r.m.PivotSlots[2].PointIndex, int(kes::CrankPin));
}

void ControlsPickingTest::linesWindowPickClicks() {
    ControlsRig r;
    r.m.ReferencePointsOn = true;
    r.m.LinesPickWaiting = true;
    r.m.LinesPickRefChoice = 1;
    // Without a receiver the window is shown when the pick completes.
    r.Press(400, 300, Qt::LeftButton);
    QCOMPARE(r.link.linesWindowCalls, 1);

    QSignalSpy spy(r.controls.get(), &MainControls::LinesPivotClicked);
    r.m.LinesPickRefChoice = 3;
    r.Press(400, 300, Qt::LeftButton);
    r.Press(420, 300, Qt::RightButton);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(0).at(0).toBool(), false);
    QCOMPARE(spy.at(1).at(0).toBool(), true);
    QCOMPARE(r.link.linesWindowCalls, 1); // the receiver shows it
    QVERIFY(std::fabs(r.m.Points[kes::RefPoint2].X - 16.842105f) < 1e-5f);
}

void ControlsPickingTest::setUpItemsFlipTheirCaptions() {
    ControlsRig r;
    struct Row {
        const char* action;
        const char* off;
        const char* on;
    };
    const Row rows[] = {
        {"SetSteamDisp", "SetS&teamDisp On", "SetS&teamDisp Off"},
        {"SetErrorBeep", "Set&ErrorBeep Off", "Set&ErrorBeep On"},
        {"SetLineWidth", "Set&LineWidth 2", "Set&LineWidth 1"},
        {"SetFont", "SetLarge&Font", "SetSmall&Font"},
    };
    for (const Row& row : rows) {
        QAction* a = r.Act(row.action);
        QVERIFY2(a && r.setUp.actions().contains(a), row.action);
        QCOMPARE(a->text(), QString::fromLatin1(row.off));
        a->trigger();
        QCOMPARE(a->text(), QString::fromLatin1(row.on));
        a->trigger();
        QCOMPARE(a->text(), QString::fromLatin1(row.off));
    }
    r.Act("SetSteamDisp")->trigger();
    QVERIFY(r.m.SteamDisplayOn);
    r.Act("SetErrorBeep")->trigger();
    QVERIFY(!r.m.BeepOnError);
    r.Act("SetLineWidth")->trigger();
    QCOMPARE(r.m.LineWidth, 2);
    r.Act("SetFont")->trigger();
    QCOMPARE(r.m.TextScaleY, 1.22f);
    QCOMPARE(r.Act("SetScreenData")->text(), QStringLiteral("SetScree&nData Off"));
}

void ControlsPickingTest::screenDataOffHidesAndDisables() {
    ControlsRig r;
    r.Act("ReferPoints")->trigger();
    r.Act("PivotData")->trigger();
    r.Act("DynamicVari")->trigger();
    r.Act("UnDoDisplay")->trigger();
    QAction* panZoom = r.Act("SetPanZoom");
    QCOMPARE(panZoom->text(), QStringLiteral("SetP&anZoom On"));
    QVERIFY(!panZoom->isEnabled());

    r.Act("SetScreenData")->trigger();
    QCOMPARE(r.Act("SetScreenData")->text(), QStringLiteral("SetScree&nData On"));
    const char* hidden[] = {"SBRevArm",  "Center",    "Fwd",        "Rev",        "SBDrvAng",
                            "Deg00",     "Deg180",    "Run",        "SBStepAng",  "Step1",
                            "Step10",    "Step45",    "NormVHZ",    "Preset0",    "Preset6",
                            "RefPt1",    "RefPt2",    "RefPt1Zero", "SBRef1Vert", "SBRef2Horz",
                            "SBDynVar1", "SBDynVar4", "SBPanVert",  "SBPanHorz",  "SBZoom",
                            "DataTable", "UnDoDn"};
    for (const char* name : hidden)
        QVERIFY2(!r.Shown(r.host.findChild<QWidget*>(QLatin1String(name))), name);
    QVERIFY(r.toolBar.isHidden());
    QVERIFY(!r.m.DynVarMode && !r.m.ReferencePointsOn && !r.m.UndoDisplay && !r.m.PivotDataOn);
    for (const char* name : {"SetDriverAng", "ReferPoints", "CalcCentRevArm", "DynamicVari",
                             "UnDoDisplay", "PivotData", "DrawLinesCircles"})
        QVERIFY2(!r.Act(name)->isEnabled(), name);
    QVERIFY(panZoom->isEnabled());

    // The pan and zoom bars may come back on their own.
    panZoom->trigger();
    QCOMPARE(panZoom->text(), QStringLiteral("SetP&anZoom Off"));
    QVERIFY(r.Shown(r.Bar("SBPanVert")) && r.Shown(r.Bar("SBZoom")));
    QVERIFY(!r.Shown(r.Bar("SBRevArm")));

    r.Act("SetScreenData")->trigger();
    for (const char* name : {"SBRevArm", "Run", "Step45", "NormVHZ", "Preset3", "SBPanVert"})
        QVERIFY2(r.Shown(r.host.findChild<QWidget*>(QLatin1String(name))), name);
    QVERIFY(!r.toolBar.isHidden());
    QVERIFY(!panZoom->isEnabled());
    QCOMPARE(panZoom->text(), QStringLiteral("Set&PanZoom On"));
    for (const char* name : {"SetDriverAng", "ReferPoints", "CalcCentRevArm", "DynamicVari"})
        QVERIFY2(r.Act(name)->isEnabled(), name);
    // The modes stay off until asked for again.
    QVERIFY(!r.Shown(r.Bar("SBRef1Vert")));
    QVERIFY(!r.Shown(r.Bar("SBDynVar1")));
}

void ControlsPickingTest::dynamicVariableBarStepsAndRecordsUndo() {
    ControlsRig r;
    r.Act("DynamicVari")->trigger();
    QScrollBar* bar = r.Bar("SBDynVar1");
    QVERIFY(r.Shown(bar));
    QCOMPARE(bar->toolTip(), QStringLiteral("Change Last Variable Clicked"));
    QVERIFY(!bar->isEnabled()); // no dimension chosen yet
    QVERIFY(!r.Shown(r.Button("UnDoDn")));

    kes::SelectDimension(r.m, 3); // Main Rod Length
    r.controls->SyncFromModel();
    QVERIFY(bar->isEnabled());
    QVERIFY(!r.Bar("SBDynVar2")->isEnabled());
    const float before = r.m.Frame.MainRodLength;
    bar->setValue(20);
    QCOMPARE(bar->value(), 0);
    QVERIFY(std::fabs(r.m.Frame.MainRodLength - (before + 0.02f)) < 1e-5f);
    QCOMPARE(r.m.UndoCount, 1);
    QCOMPARE(r.m.UndoRecord[1].Id, 3);
    QCOMPARE(r.m.UndoRecord[1].Before, before);

    // Its row of the drawing: right of the value at x 498, level with name 1.
    QVERIFY(bar->x() > 540);
    QVERIFY(std::abs(bar->y() - 71) <= 2);
    QVERIFY(std::abs(r.Bar("SBDynVar4")->y() - 107) <= 2);
}

void ControlsPickingTest::heldDynamicVariableBarRecordsOneEntry() {
    ControlsRig r;
    r.Act("DynamicVari")->trigger();
    kes::SelectDimension(r.m, 2); // Stroke
    kes::SelectDimension(r.m, 3); // slot 2 now holds the stroke
    r.controls->SyncFromModel();
    QScrollBar* bar = r.Bar("SBDynVar2");
    QVERIFY(bar->isEnabled());
    const float before = r.m.Frame.StrokeLength;
    const QPoint rightArrow(bar->width() - 3, bar->height() / 2);
    QTest::mousePress(bar, Qt::LeftButton, {}, rightArrow);
    QCOMPARE(r.m.UndoCount, 0); // not yet let go
    QVERIFY(r.m.Frame.StrokeLength > before);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, rightArrow);
    QTRY_COMPARE(r.m.UndoCount, 1); // once the bar has finished its release
    QCOMPARE(r.m.UndoRecord[1].Id, 2);
    QCOMPARE(r.m.UndoRecord[1].Before, before);
    QCOMPARE(bar->value(), 0);
}

void ControlsPickingTest::undoButtonStepsBack() {
    ControlsRig r;
    r.Act("UnDoDisplay")->trigger();
    QPushButton* undo = r.Button("UnDoDn");
    QVERIFY(r.Shown(undo));
    QCOMPARE(undo->y(), 72);
    QVERIFY(!undo->isEnabled());

    const float before = r.m.Frame.MainRodLength;
    kes::PushUndo(r.m, 3, before);
    kes::SetDimension(r.m, 3, 18.0f);
    kes::CompleteUndo(r.m, 18.0f, "Main Rod Length");
    r.controls->RefreshUndoButton();
    QVERIFY(undo->isEnabled());
    QTest::mouseClick(undo, Qt::LeftButton);
    QCOMPARE(r.m.Frame.MainRodLength, before);
    QVERIFY(undo->isEnabled());
    QTest::mouseClick(undo, Qt::LeftButton); // the record is empty now
    QVERIFY(!undo->isEnabled());
    QCOMPARE(r.m.Frame.MainRodLength, before);

    r.Act("DynamicVari")->trigger();
    QCOMPARE(undo->y(), 127);
}

void ControlsPickingTest::toolButtonsAndCommands() {
    ControlsRig r;
    struct Row {
        const char* action;
        const char* text;
        const char* hint;
    };
    const Row rows[] = {
        {"CalcCentRevArm", "&CalcCentRevArm", "Calculate Mid Gear Position if Necessary"},
        {"ReferPoints", "&ReferPoints", "Turn On Reference Points"},
        {"PivotData", "Pi&votData", "Turn On Pivot Data"},
        {"UnDoDisplay", "&UnDo", "Turn On UnDo"},
        {"DrawLinesCircles", "&DrawLinesCircles", "Draw Lines and Circles"},
        {"DynamicVari", "D&ynamicVari", "Turn On Dynamic Variables"},
    };
    for (const Row& row : rows) {
        QAction* a = r.Act(row.action);
        QVERIFY2(a, row.action);
        QCOMPARE(a->text(), QString::fromLatin1(row.text));
        QCOMPARE(a->toolTip(), QString::fromLatin1(row.hint));
        QVERIFY2(qobject_cast<QToolButton*>(r.toolBar.widgetForAction(a)), row.action);
    }
    QVERIFY(r.dimensions.actions().contains(r.Act("CalcCentRevArm")));
    QVERIFY(r.dimensions.actions().contains(r.Act("ResetAllDimensions")));

    // Mid gear, then the arm centred.
    r.Click("Fwd");
    kes::SetDimension(r.m, 19, 3.1f);
    const float oldMid = r.m.MidGear();
    QTest::mouseClick(r.toolBar.widgetForAction(r.Act("CalcCentRevArm")), Qt::LeftButton);
    QVERIFY(r.m.MidGear() != oldMid);
    QCOMPARE(r.m.RevArmSetting, r.m.MidGear());
    QCOMPARE(r.Bar("SBRevArm")->value(), 0);

    // Lines and circles: a beep while both reference points sit at the origin.
    QSignalSpy beeps(r.controls.get(), &MainControls::Beeped);
    r.Act("ReferPoints")->trigger();
    r.Act("DrawLinesCircles")->trigger();
    QCOMPARE(beeps.count(), 1);
    QCOMPARE(r.link.linesWindowCalls, 1);
    r.m.Points[kes::RefPoint1].X = 1.0f;
    r.Act("DrawLinesCircles")->trigger();
    QCOMPARE(beeps.count(), 1);
    QCOMPARE(r.link.linesWindowCalls, 2);

    QSignalSpy table(r.controls.get(), &MainControls::DataTableRequested);
    r.Act("PivotData")->trigger();
    r.Click("DataTable");
    QCOMPARE(table.count(), 1);
}

void ControlsPickingTest::resetAllHidesTheDynamicBars() {
    ControlsRig r;
    r.Act("DynamicVari")->trigger();
    QVERIFY(r.Shown(r.Bar("SBDynVar3")));
    r.controls->SetDynVarControlsVisible(false);
    QVERIFY(!r.Shown(r.Bar("SBDynVar3")));
    r.controls->SetDynVarControlsVisible(true);
    QVERIFY(r.Shown(r.Bar("SBDynVar3")));

    kes::SelectDimension(r.m, 3);
    kes::PushUndo(r.m, 3, 1.0f);
    r.Bar("SBZoom")->setValue(60);
    r.Click("Rev");
    r.Act("ResetAllDimensions")->trigger();
    QVERIFY(!r.Shown(r.Bar("SBDynVar3")));
    QCOMPARE(r.m.UndoCount, 0);
    QCOMPARE(r.Bar("SBRevArm")->value(), 0);
    QCOMPARE(r.m.CurrentView.Scale, 19.0f);
    QVERIFY(!r.Button("NormVHZ")->isEnabled());
    QVERIFY(!r.Button("Center")->isEnabled());
}

int main(int argc, char** argv) {
    ControlsPickingTest test;
    return RunHeadless(test, argc, argv);
}

#include "controls_picking_test.moc"
