// SPDX-License-Identifier: GPL-3.0-or-later
// The motion controls of the main window: reverse arm, driver angle, step
// angle, run/stop and their three dialogs, driven as a user would.

#include "controls_rig.h"

#include "motion_dialogs/driver_angle_dialog.h"
#include "motion_dialogs/numeric_entry.h"
#include "motion_dialogs/reverse_arm_setting_dialog.h"
#include "motion_dialogs/step_angle_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QToolButton>

#include <cmath>

class ControlsMotionTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QuietShowMessages(); }
    void controlsCarryTheirNamesHintsAndPlaces();
    void revArmToZeroSelectsMidGear();
    void fwdThenRevPutTheBarAtNormalGear();
    void stopPutsTheDriverBarAtTheAngle();
    void degreeButtons();
    void stepBarBands_data();
    void stepBarBands();
    void stepButtons();
    void driverAngleDialogClampsAndStops();
    void reverseArmDialogKeysAndClamp();
    void stepAngleDialogKeepsRunning();
    void toolButtonsOpenTheDialogs();
};

void ControlsMotionTest::controlsCarryTheirNamesHintsAndPlaces() {
    ControlsRig r;
    struct Row {
        const char* name;
        const char* hint;
    };
    const Row rows[] = {
        {"SBRevArm", "Set Reverse Arm Between Max & Min"},
        {"SBDrvAng", "Set Driver Angle From 0 to 360 Deg"},
        {"SBStepAng", "Set Driver Step Angle to Predefined Values"},
        {"Run", "Start / Stop Driver Rotation"},
        {"Center", "Set Reverse Arm to Mid Gear"},
        {"Fwd", "Set Reverse Arm to Normal Forward"},
        {"Rev", "Set Reverse Arm to Normal Reverse"},
        {"Deg00", "Set Driver to 0 Deg"},
        {"Deg180", "Set Driver Angle to 180 Deg"},
        {"Step1", "Set Driver Step Angle to 1 Deg"},
        {"Step10", "Set Driver Step Angle to 10 Deg"},
        {"Step45", "Set Driver Step Angle to 45 Deg"},
    };
    for (const Row& row : rows) {
        auto* w = r.host.findChild<QWidget*>(QLatin1String(row.name));
        QVERIFY2(w, row.name);
        QCOMPARE(w->toolTip(), QString::fromLatin1(row.hint));
        QVERIFY2(r.Shown(w), row.name);
        // On the control strip, clear of the drawing.
        QVERIFY2(!kes::InDrawingArea(w->geometry().right(), w->geometry().bottom()), row.name);
    }
    QCOMPARE(r.Button("Center")->text(), QStringLiteral("Cen"));
    QCOMPARE(r.Button("Deg00")->text(), QStringLiteral("0.0"));
    QCOMPARE(r.Button("Step45")->text(), QStringLiteral("45.0"));
    QCOMPARE(r.Button("Run")->text(), QStringLiteral("Stop"));
    QCOMPARE(r.Bar("SBRevArm")->minimum(), -1700);
    QCOMPARE(r.Bar("SBRevArm")->maximum(), 1700);
    QCOMPARE(r.Bar("SBDrvAng")->minimum(), -4000);
    QCOMPARE(r.Bar("SBDrvAng")->maximum(), 40000);
    QCOMPARE(r.Bar("SBStepAng")->maximum(), 14613);
    QCOMPARE(r.Bar("SBStepAng")->value(), 12000);
    // Running at start: the driver bar waits for a stop.
    QVERIFY(!r.Bar("SBDrvAng")->isEnabled());
}

void ControlsMotionTest::revArmToZeroSelectsMidGear() {
    ControlsRig r;
    QScrollBar* bar = r.Bar("SBRevArm");
    bar->setValue(-400);
    QCOMPARE(r.m.GearDirection, kes::GearDir::Rev);
    QVERIFY(r.Button("Center")->isEnabled());
    QVERIFY(std::fabs(r.m.RevArmSetting - (r.m.MidGear() - 0.4f)) < 1e-5f);

    bar->setValue(0);
    QCOMPARE(r.m.RevArmSetting, r.m.MidGear());
    QVERIFY(!r.Button("Center")->isEnabled());
    QCOMPARE(r.m.GearDirection, kes::GearDir::Fwd);

    // A step of the arrow moves the arm a thousandth.
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(bar->value(), 1);
    QVERIFY(std::fabs(r.m.RevArmSetting - (r.m.MidGear() + 0.001f)) < 1e-5f);
}

void ControlsMotionTest::fwdThenRevPutTheBarAtNormalGear() {
    ControlsRig r;
    const int norm = int(std::lround(r.m.Frame.RevArmNorm * 1000));
    r.Click("Fwd");
    QCOMPARE(r.Bar("SBRevArm")->value(), norm);
    QVERIFY(!r.Button("Fwd")->isEnabled());
    QVERIFY(r.Button("Rev")->isEnabled());
    QVERIFY(r.Button("Center")->isEnabled());
    r.Click("Rev");
    QCOMPARE(r.Bar("SBRevArm")->value(), -norm);
    QVERIFY(!r.Button("Rev")->isEnabled());
    QCOMPARE(r.m.GearDirection, kes::GearDir::Rev);
    r.Click("Center");
    QCOMPARE(r.Bar("SBRevArm")->value(), 0);
    QCOMPARE(r.m.RevArmSetting, r.m.MidGear());

    // The range follows a new RevArmMax when the main window asks.
    r.Click("Fwd");
    r.m.Frame.RevArmMax = 1.2f;
    kes::SetRevArmBarRange(r.m);
    r.controls->SetRevArmBarRange();
    QCOMPARE(r.Bar("SBRevArm")->maximum(), 1200);
    QCOMPARE(r.Bar("SBRevArm")->value(), 1200);
    QVERIFY(std::fabs(r.m.RevArmSetting - (r.m.MidGear() + 1.2f)) < 1e-5f);
    r.controls->SetRevArmBarPosition(0);
    QCOMPARE(r.Bar("SBRevArm")->value(), 0);
    QCOMPARE(r.m.RevArmSetting, r.m.MidGear());

    // A narrower range set by another window shows at the next tick.
    r.Click("Fwd");
    r.m.Frame.RevArmMax = 0.8f;
    kes::SetRevArmBarRange(r.m);
    r.controls->SyncFromModel();
    QCOMPARE(r.Bar("SBRevArm")->value(), 800);
    QVERIFY(std::fabs(r.m.RevArmSetting - (r.m.MidGear() + 0.8f)) < 1e-5f);
}

void ControlsMotionTest::stopPutsTheDriverBarAtTheAngle() {
    ControlsRig r;
    r.m.DriverAngle = 123.456f;
    r.Click("Run");
    QCOMPARE(r.Button("Run")->text(), QStringLiteral("Run"));
    QCOMPARE(r.Bar("SBDrvAng")->value(), 12346);
    QCOMPARE(r.m.StepAngle, 0.0f);
    QVERIFY(r.Bar("SBDrvAng")->isEnabled());

    // Standing still, the bar turns the driver.
    r.Bar("SBDrvAng")->setValue(9000);
    QCOMPARE(r.m.DriverAngle, 90.0f);

    r.Click("Run");
    QCOMPARE(r.Button("Run")->text(), QStringLiteral("Stop"));
    QCOMPARE(r.m.StepAngle, 10.0f);
    QVERIFY(!r.Bar("SBDrvAng")->isEnabled());
}

void ControlsMotionTest::degreeButtons() {
    ControlsRig r;
    r.Click("Deg180");
    QCOMPARE(r.m.DriverAngle, 180.0f);
    QCOMPARE(r.Bar("SBDrvAng")->value(), 18000);
    QCOMPARE(r.Button("Run")->text(), QStringLiteral("Run"));
    QVERIFY(!r.Button("Deg180")->isEnabled());
    QVERIFY(r.Button("Deg00")->isEnabled());
    r.Click("Deg00");
    QCOMPARE(r.m.DriverAngle, 0.0f);
    QVERIFY(!r.Button("Deg00")->isEnabled());
    QVERIFY(r.Button("Deg180")->isEnabled());
}

void ControlsMotionTest::stepBarBands_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<float>("step");
    QTest::addColumn<int>("largeChange");
    QTest::newRow("705") << 705 << 0.02f << 10;
    QTest::newRow("11612") << 11612 << 5.0f << 2500;
    QTest::newRow("14613") << 14613 << 45.0f << 4500;
    QTest::newRow("0") << 0 << 0.01f << 5;
}

void ControlsMotionTest::stepBarBands() {
    QFETCH(int, position);
    QFETCH(float, step);
    QFETCH(int, largeChange);
    ControlsRig r;
    r.Bar("SBStepAng")->setValue(position);
    QCOMPARE(r.m.SelectedStepAngle, step);
    QCOMPARE(r.m.StepAngle, step); // running
    QCOMPARE(r.Bar("SBDrvAng")->pageStep(), largeChange);
}

void ControlsMotionTest::stepButtons() {
    ControlsRig r;
    QVERIFY(!r.Button("Step10")->isEnabled());
    r.Click("Step1");
    QCOMPARE(r.Bar("SBStepAng")->value(), 8000);
    QCOMPARE(r.m.StepAngle, 1.0f);
    QVERIFY(!r.Button("Step1")->isEnabled());
    QVERIFY(r.Button("Step10")->isEnabled());
    r.Click("Step45");
    QCOMPARE(r.Bar("SBStepAng")->value(), 14613);
    QCOMPARE(r.m.StepAngle, 45.0f);
    QCOMPARE(r.Bar("SBDrvAng")->singleStep(), 4500);
}

void ControlsMotionTest::driverAngleDialogClampsAndStops() {
    ControlsRig r;
    r.Act("SetDriverAng")->trigger();
    DriverAngleDialog* dialog = r.controls->DialogForDriverAngle();
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Driver Angle"));
    auto* field = dialog->findChild<NumericEntry*>(QStringLiteral("Edit1"));
    QCOMPARE(field->text(), QStringLiteral("0.00")); // running
    QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("Enter"));

    field->clear();
    // Letters and "-" are discarded; one "." only.
    QTest::keyClicks(field, "4a0-0..");
    QCOMPARE(field->text(), QStringLiteral("400."));
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(r.m.DriverAngle, 360.0f);
    QCOMPARE(r.m.StepAngle, 0.0f);
    QCOMPARE(r.Bar("SBDrvAng")->value(), 36000);
    QVERIFY(r.Bar("SBDrvAng")->isEnabled());
    QCOMPARE(r.Button("Run")->text(), QStringLiteral("Run"));

    // Pasted text follows the same rule as typed keys.
    r.Act("SetDriverAng")->trigger();
    field->clear();
    QApplication::clipboard()->setText(QStringLiteral("-12"));
    field->paste();
    QCOMPARE(field->text(), QString());
    QApplication::clipboard()->setText(QStringLiteral("45.5"));
    field->paste();
    QCOMPARE(field->text(), QStringLiteral("45.5"));
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    QCOMPARE(r.m.DriverAngle, 45.5f);

    // Stopped, it shows the angle; Cancel changes nothing.
    r.Act("SetDriverAng")->trigger();
    QCOMPARE(field->text(), QStringLiteral("45.50"));
    field->clear();
    QTest::keyClicks(field, "12");
    QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
    QCOMPARE(r.m.DriverAngle, 45.5f);
}

void ControlsMotionTest::reverseArmDialogKeysAndClamp() {
    ControlsRig r;
    r.Act("SetRevArmPos")->trigger();
    ReverseArmSettingDialog* dialog = r.controls->DialogForReverseArmSetting();
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Reverse Arm Position"));
    QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("Label2"))->text(),
             QStringLiteral("Min = 8.723"));
    QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("Label6"))->text(),
             QStringLiteral("Fwd = 11.923"));
    auto* field = dialog->findChild<NumericEntry*>(QStringLiteral("Edit1"));
    QCOMPARE(field->text(), QStringLiteral(" 10.423"));

    field->clear();
    QTest::keyClicks(field, "-x-9.5.");
    QCOMPARE(field->text(), QStringLiteral("-9.5"));
    QTest::keyClick(field, Qt::Key_Backspace);
    QCOMPARE(field->text(), QStringLiteral("-9."));
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    // Far below the travel: clamped to the minimum, not refused.
    QCOMPARE(r.Bar("SBRevArm")->value(), -1700);
    QCOMPARE(r.m.GearDirection, kes::GearDir::Rev);

    r.Act("SetRevArmPos")->trigger();
    field->clear();
    QTest::keyClicks(field, "10.9234");
    QTest::keyClick(field, Qt::Key_Return); // the default button
    QVERIFY(!dialog->isVisible());
    QCOMPARE(r.Bar("SBRevArm")->value(), 500);
}

void ControlsMotionTest::stepAngleDialogKeepsRunning() {
    ControlsRig r;
    r.Act("SetStepAng")->trigger();
    StepAngleDialog* dialog = r.controls->DialogForStepAngle();
    auto* field = dialog->findChild<NumericEntry*>(QStringLiteral("Edit1"));
    QCOMPARE(field->text(), QStringLiteral("10.00"));
    field->clear();
    QTest::keyClicks(field, "7");
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    QCOMPARE(r.m.SelectedStepAngle, 7.0f);
    QCOMPARE(r.m.StepAngle, 7.0f);
    QCOMPARE(r.Button("Run")->text(), QStringLiteral("Stop"));
    QCOMPARE(r.Bar("SBStepAng")->value(), 11380);

    // Stopped, it stays stopped; 0 is clamped to the smallest step.
    r.Click("Run");
    r.Act("SetStepAng")->trigger();
    field->clear();
    QTest::keyClicks(field, "0");
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    QCOMPARE(r.m.SelectedStepAngle, kes::MinStepAngle);
    QCOMPARE(r.m.StepAngle, 0.0f);
    QCOMPARE(r.Button("Run")->text(), QStringLiteral("Run"));
    r.Click("Run");
    QCOMPARE(r.m.StepAngle, kes::MinStepAngle);
}

void ControlsMotionTest::toolButtonsOpenTheDialogs() {
    ControlsRig r;
    struct Row {
        const char* action;
        const char* hint;
        QDialog* dialog;
    };
    const Row rows[] = {
        {"SetRevArmPos", "Set Reverse Arm to Desired Position",
         r.controls->DialogForReverseArmSetting()},
        {"SetDriverAng", "Set Driver Angle to Desired Position",
         r.controls->DialogForDriverAngle()},
        {"SetStepAng", "Set Step Angle to Desired Amount", r.controls->DialogForStepAngle()},
    };
    for (const Row& row : rows) {
        QAction* a = r.Act(row.action);
        QVERIFY(a);
        QCOMPARE(a->toolTip(), QString::fromLatin1(row.hint));
        QVERIFY(!a->icon().isNull());
        QVERIFY(r.motion.actions().contains(a));
        auto* button = qobject_cast<QToolButton*>(r.toolBar.widgetForAction(a));
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(row.dialog->isVisible());
        QVERIFY(row.dialog->isModal());
        row.dialog->reject();
    }
    QCOMPARE(r.Act("SetRevArmPos")->text(), QStringLiteral("Set&RevArmPos"));
    QCOMPARE(r.Act("SetDriverAng")->text(), QStringLiteral("Set&DriverAng"));
    QCOMPARE(r.Act("SetStepAng")->text(), QStringLiteral("Set&StepAng"));
}

int main(int argc, char** argv) {
    ControlsMotionTest test;
    return RunHeadless(test, argc, argv);
}
#include "controls_motion_test.moc"
