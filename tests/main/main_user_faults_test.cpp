// SPDX-License-Identifier: GPL-3.0-or-later
// What a new user tripped over in the main window: the step-angle dialog
// while stopped, the reverse-arm position dialog's focus, the pivot-data
// panel's positions, "Norm" during a dimension highlight and the highlight
// under the reference-point controls.

#include "controls_rig.h"
#include "main_test_rig.h"
#include "main_text_recorder.h"

#include "main/main_form.h"
#include "main/mechanism_view.h"
#include "model/absolute_points.h"
#include "model/format.h"
#include "motion_dialogs/highlight_dialogs.h"
#include "motion_dialogs/numeric_entry.h"
#include "motion_dialogs/reverse_arm_setting_dialog.h"
#include "motion_dialogs/step_angle_dialog.h"

#include <QTimer>

#include <vector>

namespace {

class RecordingHighlight : public HighlightDialogs {
  public:
    void CloseDimensionDialog(HighlightTarget) override {}
    void ReopenDimensionDialog(HighlightTarget which) override { reopened.push_back(which); }
    std::vector<HighlightTarget> reopened;
};

QString Fixed(double v, int w, int d) {
    return QString::fromStdString(kes::FormatFixed(v, w, d));
}

} // namespace

class MainUserFaultsTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QuietShowMessages(); }
    void stepDialogWhileStoppedKeepsTheRunStep();
    void revArmDialogOpensOnItsField();
    void pivotPanelShowsAbsolutePositions();
    void normDuringHighlightEndsItFirst();
    void highlightHidesTheReferenceControls();
};

void Trigger(ControlsRig& r, const char* action) {
    r.Act(action)->trigger();
}

void MainUserFaultsTest::stepDialogWhileStoppedKeepsTheRunStep() {
    ControlsRig r;
    r.Click("Step45");
    r.Click("Run"); // stop
    QCOMPARE(r.m.StepAngle, 0.0f);
    Trigger(r, "SetStepAng");
    StepAngleDialog* dialog = r.controls->DialogForStepAngle();
    QCOMPARE(dialog->Field()->text(), QStringLiteral("45.00"));
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    QCOMPARE(r.m.SelectedStepAngle, 45.0f);
    QCOMPARE(r.m.StepAngle, 0.0f); // still stopped
    r.Click("Run");
    QCOMPARE(r.m.StepAngle, 45.0f);
}

void MainUserFaultsTest::revArmDialogOpensOnItsField() {
    ControlsRig r;
    ReverseArmSettingDialog* dialog = r.controls->DialogForReverseArmSetting();
    for (int opening = 1; opening <= 2; ++opening) {
        Trigger(r, "SetRevArmPos");
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QVERIFY2(dialog->Field()->hasFocus(), qPrintable(QString::number(opening)));
        QCOMPARE(dialog->Field()->selectedText(), dialog->Field()->text());
        if (opening == 1) {
            // Leave it with the focus on "Cancel", as a user who cancels does.
            dialog->CancelButton()->setFocus();
            QTest::keyClick(dialog->CancelButton(), Qt::Key_Space);
            QVERIFY(!dialog->isVisible());
        }
    }
    // Typing goes into the field and Enter takes it.
    const float target = r.m.MidGear() + 1.0f;
    QTest::keyClicks(dialog->Field(), Fixed(target, 0, 3));
    QTest::keyClick(dialog->Field(), Qt::Key_Return);
    QVERIFY(!dialog->isVisible());
    QVERIFY(std::abs(r.cs().RevArmPos - 1000) <= 1);
}

void MainUserFaultsTest::pivotPanelShowsAbsolutePositions() {
    FrameRig rig;
    rig.m.PivotDataOn = true;
    rig.m.ReferencePointsOn = true;
    // A panel slot may hold a pivot kept relative to the gear mount (as an
    // old pick could leave it): the panel shows where the pivot lies.
    rig.m.PivotSlots[3] = {true, kes::BellCrankPivot};
    rig.m.PivotSlots[4] = {true, kes::BellCrankPivotAbs};
    rig.DrawStill();
    const auto texts = RecordFrameTexts(rig.m, rig.s);
    const kes::WorldPosition abs = kes::AbsolutePosition(rig.m, kes::BellCrankPivot);
    const auto& raw = rig.m.Points[kes::BellCrankPivot];
    QVERIFY(std::fabs(abs.X - raw.X) > 1.0); // the two differ, so the test can tell
    auto shownAt = [&](const QString& text, QPoint at) {
        for (const auto& t : texts)
            if (t.Text == text && t.TopLeft == at) return true;
        return false;
    };
    for (int row : {3, 4}) {
        const int y = 150 + 10 * (row - 1);
        QVERIFY2(shownAt(Fixed(abs.Y, 7, 3), QPoint(12, y)), qPrintable(QString::number(row)));
        QVERIFY2(shownAt(Fixed(abs.X, 7, 3), QPoint(50, y)), qPrintable(QString::number(row)));
    }
    // The distance of pair (3, 4) is zero: the same pivot twice.
    QVERIFY(shownAt(Fixed(0.0, 7, 3), QPoint(90, 175)));
}

void MainUserFaultsTest::normDuringHighlightEndsItFirst() {
    kes::Model m;
    TMainForm form(m);
    form.StopAnimation();
    RecordingHighlight dialogs;
    form.SetHighlightDialogs(&dialogs);
    // The user has panned, then asks to see a dimension.
    auto* pan = form.Picture()->findChild<QScrollBar*>(QStringLiteral("SBPanHorz"));
    for (int i = 0; i < 5; ++i)
        pan->triggerAction(QAbstractSlider::SliderPageStepAdd);
    const kes::View before = m.CurrentView;
    QCOMPARE(before.OffsetX, 105.0f);
    m.HighlightedDimension = 10;
    for (int i = 0; i < 5; ++i)
        form.OnTick();
    QVERIFY(m.CurrentView.Scale != before.Scale); // the highlight's view
    auto* norm = form.Picture()->findChild<QPushButton*>(QStringLiteral("NormVHZ"));
    QVERIFY(norm && norm->isEnabled());
    QTest::mouseClick(norm, Qt::LeftButton);
    form.OnTick();
    QCOMPARE(m.HighlightedDimension, 0);
    QTRY_COMPARE(dialogs.reopened.size(), size_t{1});
    // The normal view, with "Norm" greyed, and the view before the highlight saved.
    QCOMPARE(m.CurrentView.Scale, m.NormalView.Scale);
    QCOMPARE(m.CurrentView.OffsetX, m.NormalView.OffsetX);
    QCOMPARE(m.SavedView.OffsetX, before.OffsetX);
    QCOMPARE(m.SavedView.Scale, before.Scale);
    QVERIFY(!norm->isEnabled());
    // Further frames keep it.
    form.OnTick();
    QCOMPARE(m.CurrentView.OffsetX, m.NormalView.OffsetX);
}

void MainUserFaultsTest::highlightHidesTheReferenceControls() {
    ControlsRig r;
    r.Act("ReferPoints")->trigger();
    const char* hidden[] = {"SBRef1Vert", "SBRef1Horz", "SBRef2Vert", "SBRef2Horz"};
    for (const char* name : hidden)
        QVERIFY(r.Shown(r.Bar(name)));
    QVERIFY(r.Shown(r.Button("RefPt1Zero")));
    r.m.HighlightedDimension = 20;
    r.controls->SyncFromModel();
    // The hourglass (20..44, 100..142) and the name at (30, 75) lie clear.
    const QRect hourglass(20, 100, 25, 43);
    for (QWidget* w : r.host.findChildren<QWidget*>()) {
        if (!r.Shown(w) || w->parentWidget() != &r.host) continue;
        QVERIFY2(!w->geometry().intersects(hourglass), qPrintable(w->objectName()));
    }
    for (const char* name : hidden)
        QVERIFY2(!r.Shown(r.Bar(name)), name);
    QVERIFY(!r.Shown(r.Button("RefPt1Zero")));
    QVERIFY(!r.Shown(r.Button("RefPt2Zero")));
    // They come back when it ends.
    r.m.HighlightedDimension = 0;
    r.controls->SyncFromModel();
    for (const char* name : hidden)
        QVERIFY(r.Shown(r.Bar(name)));

    // Nor do the reference-point values lie under the dimension's name.
    FrameRig rig;
    rig.m.ReferencePointsOn = true;
    rig.m.HighlightedDimension = 4;
    rig.DrawStill();
    bool name = false;
    for (const auto& t : RecordFrameTexts(rig.m, rig.s)) {
        QVERIFY2(!t.Text.startsWith(QLatin1String("Pt1")), qPrintable(t.Text));
        if (t.Text == QLatin1String("Drop Link to CrossH Vert")) name = true;
    }
    QVERIFY(name);
}

int main(int argc, char** argv) {
    MainUserFaultsTest test;
    return RunHeadless(test, argc, argv);
}

#include "main_user_faults_test.moc"
