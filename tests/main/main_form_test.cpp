// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: its menus and tool bar, start-up, the tick with its
// captions, the error item, the highlight's dialogs and the mouse, the undo
// button beside the undo line, closing. Also writes main_form.png.

#include "main/main_controls.h"
#include "main/main_form.h"
#include "main/mechanism_view.h"
#include "main/sound_player.h"
#include "main_test_rig.h"
#include "motion_dialogs/highlight_dialogs.h"
#include "ui_shell/captions.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <functional>
#include <vector>

namespace {

class RecordingHighlight : public HighlightDialogs {
  public:
    void CloseDimensionDialog(HighlightTarget which) override {
        closed.push_back(which);
        if (onClose) onClose();
    }
    void ReopenDimensionDialog(HighlightTarget which) override { reopened.push_back(which); }
    std::vector<HighlightTarget> closed;
    std::vector<HighlightTarget> reopened;
    std::function<void()> onClose;
};

} // namespace

class MainFormTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QuietOffscreenMessages(); }
    void startsInitialisedWithItsMenus();
    void tickAdvancesDrawsAndCaptions();
    void tickPeriodIsAnOption();
    void ticksNeverOverlap();
    void errorItemShowsThenHides();
    void highlightClosesAndReopensOutsideTheTick();
    void clickEndsTheHighlight();
    void plainDialogsAreClosedAndReopened();
    void undoButtonStandsByTheUndoLine();
    void otherWindowsGetTheirCaptions();
    void everyWindowIsCreatedAndReachableFromTheMenus();
    void exitClosesAndStopsTheTimer();
    void everyControlFitsTheStartWindow();
    void rendersToPng();
};

void MainFormTest::startsInitialisedWithItsMenus() {
    kes::Model m;
    TMainForm form(m);
    QVERIFY(std::abs(m.RevArmSetting - m.MidGear()) < 1e-6f);
    QVERIFY(std::abs(m.MidGear() - 10.4234f) < 0.001f);
    QCOMPARE(m.RevArmBarMax, 1700);
    QCOMPARE(form.Sound()->OutputVolume(), 0x80008000u);
    QVERIFY(!form.Sound()->Enabled()); // KESTROVE_NO_SOUND in the tests

    QStringList titles;
    for (QAction* a : form.menuBar()->actions())
        if (a->menu()) titles << a->text();
    QCOMPARE(titles, (QStringList{"&File", "&Dimensions", "&Motion", "&View", "&SetUp",
                                  "Draw&Graphs", "&Help"}));
    auto* exit1 = form.findChild<QAction*>(QStringLiteral("Exit1"));
    QVERIFY(exit1);
    QCOMPARE(exit1->text(), QStringLiteral("E&xit"));
    QVERIFY(form.Menus().File->actions().contains(exit1));
    QVERIFY(form.findChild<QToolBar*>(QStringLiteral("ToolBar1")));
    QVERIFY(form.ErrorItem());
    QVERIFY(!form.ErrorItem()->isVisible());
    QVERIFY(!form.ErrorItem()->icon().isNull());
    QVERIFY(form.ErrorItem()->text().isEmpty());
    QCOMPARE(form.Timer1()->interval(), 16);
    QVERIFY(form.Timer1()->isActive());
}

void MainFormTest::tickAdvancesDrawsAndCaptions() {
    kes::Model m;
    TMainForm form(m);
    form.StopAnimation();
    m.DriverAngle = 100.0f;
    m.StepAngle = 10.0f;
    form.OnTick();
    QCOMPARE(m.DriverAngle, 110.0f);
    // As shown: the modified mark's placeholder follows the name.
    const QString title = form.windowTitle().remove(QStringLiteral("[*]"));
    QVERIFY(title.startsWith(QStringLiteral("KESTROVE            Nominal     ")));
    QVERIFY(title.endsWith(QStringLiteral("   Version 2.6")));
    // The frame holds the gear: the main rod between crank pin and crosshead.
    const QImage& frame = form.Frame();
    QCOMPARE(frame.size(), QSize(1280, 1024));
    const auto& p = m.Points;
    const QPoint mid((p[kes::CrankPin].SX + p[kes::Crosshead].SX) / 2,
                     (p[kes::CrankPin].SY + p[kes::Crosshead].SY) / 2);
    bool red = false;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            red = red || (frame.pixel(mid + QPoint(dx, dy)) & 0xFFFFFFu) == 0xFF0000u;
    QVERIFY(red);
    m.DataSetName = "Test Gear";
    form.OnTick();
    QVERIFY(form.windowTitle()
                .remove(QStringLiteral("[*]"))
                .startsWith(QStringLiteral("KESTROVE            Test Gear     ")));
}

void MainFormTest::tickPeriodIsAnOption() {
    kes::Model m;
    TMainForm fast(m, 1);
    QCOMPARE(fast.Timer1()->interval(), 1);
    kes::Model m2;
    TMainForm nonsense(m2, -5);
    QCOMPARE(nonsense.Timer1()->interval(), 1);
    // The timer really drives the ticks.
    m.StepAngle = 1.0f;
    const float start = m.DriverAngle;
    QTRY_VERIFY_WITH_TIMEOUT(m.DriverAngle != start, 5000);
    fast.StopAnimation();
    QVERIFY(!fast.Timer1()->isActive());
    fast.StartAnimation();
    QVERIFY(fast.Timer1()->isActive());
}

void MainFormTest::ticksNeverOverlap() {
    kes::Model m;
    TMainForm form(m);
    form.StopAnimation();
    RecordingHighlight dialogs;
    form.SetHighlightDialogs(&dialogs);
    // A tick that arrives while a tick runs (a nested event loop) is skipped.
    dialogs.onClose = [&] { form.OnTick(); };
    m.HighlightedDimension = 3;
    m.DriverAngle = 0.0f;
    m.StepAngle = 10.0f;
    form.OnTick();
    QCOMPARE(m.DriverAngle, 10.0f);
    QCOMPARE(dialogs.closed.size(), size_t{1});
}

void MainFormTest::errorItemShowsThenHides() {
    kes::Model m;
    TMainForm form(m);
    form.StopAnimation();
    form.show();
    m.SolveError = true;
    for (int frame = 1; frame <= 21; ++frame) {
        form.OnTick();
        QCOMPARE(form.ErrorItem()->isVisible(), frame < 10);
        if (frame == 1) {
            // The item takes room in the menu bar, after the menus.
            QCoreApplication::processEvents();
            QVERIFY(!form.menuBar()->actionGeometry(form.ErrorItem()).isEmpty());
            QVERIFY(form.grab(QRect(0, 0, 600, 30)).save(QStringLiteral("main_error_item.png")));
        }
    }
    QVERIFY(!m.SolveError);
}

void MainFormTest::highlightClosesAndReopensOutsideTheTick() {
    kes::Model m;
    TMainForm form(m);
    form.StopAnimation();
    RecordingHighlight dialogs;
    form.SetHighlightDialogs(&dialogs);
    m.HighlightedDimension = 115;
    for (int i = 0; i < 1001; ++i)
        form.OnTick();
    QCOMPARE(dialogs.closed.size(), size_t{1001});
    QCOMPARE(dialogs.closed.front(), HighlightTarget::Cylinder);
    QCOMPARE(m.HighlightedDimension, 0);
    QVERIFY(dialogs.reopened.empty()); // not from inside the tick
    QTRY_COMPARE(dialogs.reopened.size(), size_t{1});
    QCOMPARE(dialogs.reopened.front(), HighlightTarget::Cylinder);
    QCOMPARE(m.CurrentView.Scale, 19.0f);
}

void MainFormTest::clickEndsTheHighlight() {
    kes::Model m;
    TMainForm form(m);
    form.StopAnimation();
    form.show();
    RecordingHighlight dialogs;
    form.SetHighlightDialogs(&dialogs);
    m.HighlightedDimension = 4;
    for (int i = 0; i < 3; ++i)
        form.OnTick();
    QTest::mouseClick(form.Picture(), Qt::LeftButton, {}, QPoint(600, 500));
    QCOMPARE(form.State().HighlightFrameCount, HighlightClickFrameCount);
    form.OnTick();
    QCOMPARE(m.HighlightedDimension, 0);
    QTRY_COMPARE(dialogs.reopened.size(), size_t{1});
    QCOMPARE(dialogs.reopened.front(), HighlightTarget::Frame);
    // A click without a highlight changes nothing of it.
    QTest::mouseClick(form.Picture(), Qt::LeftButton, {}, QPoint(600, 500));
    QCOMPARE(form.State().HighlightFrameCount, 0);
}

void MainFormTest::plainDialogsAreClosedAndReopened() {
    kes::Model m;
    TMainForm form(m);
    form.StopAnimation();
    auto* frameDi = new QDialog(&form);
    frameDi->setObjectName(QStringLiteral("FrameDi"));
    form.SetOtherWindow(OtherWindow::FrameDi, frameDi);
    QCOMPARE(form.Window(OtherWindow::FrameDi), frameDi);
    frameDi->show();
    m.HighlightedDimension = 10;
    form.OnTick();
    QVERIFY(!frameDi->isVisible());
    // The reopened dialog runs modal; close it from inside its own loop.
    bool reopened = false;
    QTimer::singleShot(0, frameDi, [&] {
        QTimer::singleShot(50, frameDi, [&] {
            reopened = frameDi->isVisible();
            frameDi->reject();
        });
    });
    form.State().HighlightFrameCount = HighlightClickFrameCount;
    form.OnTick();
    QTRY_VERIFY(reopened);
}

void MainFormTest::undoButtonStandsByTheUndoLine() {
    kes::Model m;
    TMainForm form(m);
    form.StopAnimation();
    form.show();
    auto* undo = form.Picture()->findChild<QAbstractButton*>(QStringLiteral("UnDoDn"));
    if (!undo) QSKIP("the controls have no UnDo button");
    m.UndoDisplay = true;
    form.OnTick();
    QVERIFY(undo->isVisible());
    QCOMPARE(undo->y(), 72);
    m.DynVarMode = true;
    form.OnTick();
    QCOMPARE(undo->y(), 127);
    m.ScreenDataOn = false;
    form.OnTick();
    QVERIFY(!undo->isVisible());
}

void MainFormTest::otherWindowsGetTheirCaptions() {
    kes::Model m;
    TMainForm form(m);
    form.StopAnimation();
    QWidget sine;
    form.SetOtherWindow(OtherWindow::SineDia, &sine, captions::Sine);
    form.OnTick();
    QVERIFY(sine.windowTitle().startsWith(QStringLiteral("KESTROVE      Sine Diagram    Nominal")));
    form.ShowOtherWindow(OtherWindow::SineDia); // not a dialog: shown application-modal
    QVERIFY(sine.isVisible());
    QCOMPARE(sine.windowModality(), Qt::ApplicationModal);
    sine.close();
}

void MainFormTest::everyWindowIsCreatedAndReachableFromTheMenus() {
    kes::Model m;
    TMainForm form(m);
    form.StopAnimation();
    for (int i = 0; i < static_cast<int>(OtherWindow::Count); ++i)
        QVERIFY2(form.Window(static_cast<OtherWindow>(i)), qPrintable(QString::number(i)));

    const struct {
        const char* action;
        OtherWindow window;
    } commands[] = {{"FrameDimensions1", OtherWindow::FrameDi},
                    {"CylinderDimensions1", OtherWindow::CylDimen},
                    {"SineDiagram1", OtherWindow::SineDia},
                    {"OvalDiagram1", OtherWindow::OvalDia},
                    {"SteamDiagram1", OtherWindow::SteamDia},
                    {"PortOpenClose1", OtherWindow::PortDia},
                    {"Instructions1", OtherWindow::Inst},
                    {"InstructionsSpecial1", OtherWindow::KesSpInst}};
    for (const auto& c : commands) {
        auto* action = form.findChild<QAction*>(QString::fromLatin1(c.action));
        QVERIFY2(action, c.action);
        auto* dialog = qobject_cast<QDialog*>(form.Window(c.window));
        QVERIFY2(dialog, c.action);
        bool opened = false;
        // The command opens its window modally; close it from inside its loop.
        QTimer::singleShot(0, dialog, [&] {
            opened = dialog->isVisible();
            dialog->reject();
        });
        m.PortGraphMode = 'B';
        action->trigger();
        QVERIFY2(opened, c.action);
        if (c.window == OtherWindow::PortDia) QCOMPARE(m.PortGraphMode, 'F');
    }
    // The tool bar carries a button for each of the six windows with a hint.
    for (const char* hint :
         {"Change Frame Dimensions", "Change Cylinder Dimensions", "View Sine Diagram",
          "View Oval Diagram", "View Steam Diagram", "View Port Events vs Reverse Arm Position"}) {
        bool found = false;
        for (QAction* a : form.Menus().ToolBar->actions())
            found |= a->toolTip() == hint;
        QVERIFY2(found, hint);
    }
    // Exit stays the last item of the File menu, after the file commands.
    const auto fileActions = form.Menus().File->actions();
    QCOMPARE(fileActions.last()->objectName(), QStringLiteral("Exit1"));
    QVERIFY(form.findChild<QAction*>(QStringLiteral("OpenDimensions")));
}

void MainFormTest::exitClosesAndStopsTheTimer() {
    kes::Model m;
    TMainForm form(m);
    form.show();
    QVERIFY(form.isVisible());
    form.Sound()->SetOutputVolume(0x07000700u);
    form.findChild<QAction*>(QStringLiteral("Exit1"))->trigger();
    QVERIFY(!form.isVisible());
    QVERIFY(!form.Timer1()->isActive());
    QCOMPARE(form.Sound()->OutputVolume(), 0x80008000u);
    form.StartAnimation(); // a diagram closing late does not restart it
    QVERIFY(!form.Timer1()->isActive());
}

void MainFormTest::everyControlFitsTheStartWindow() {
    // With every panel shown, each control on the picture can be reached
    // (its arrows too) in the window as it opens.
    kes::Model m;
    TMainForm form(m);
    form.StopAnimation();
    form.show();
    for (const char* name : {"ReferPoints", "PivotData", "DynamicVari", "UnDoDisplay"}) {
        auto* action = form.findChild<QAction*>(QLatin1String(name));
        QVERIFY2(action, name);
        action->trigger();
    }
    form.OnTick();
    QVERIFY(m.ReferencePointsOn && m.PivotDataOn && m.DynVarMode && m.UndoDisplay);
    const QRect picture = form.Picture()->rect();
    QVERIFY(picture.width() >= 800);
    int shown = 0;
    for (QWidget* w : form.Picture()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!w->isVisible()) continue;
        ++shown;
        QVERIFY2(picture.contains(w->geometry()), qPrintable(w->objectName()));
    }
    QVERIFY(shown > 30);
}

void MainFormTest::rendersToPng() {
    kes::Model m;
    TMainForm form(m);
    form.StopAnimation();
    form.show();
    m.DriverAngle = 60.0f;
    m.SteamDisplayOn = true;
    m.StepAngle = 10.0f;
    m.RevArmSetting = m.MidGear() + m.Frame.RevArmNorm;
    for (int i = 0; i < 30; ++i)
        form.OnTick();
    const QImage shot = form.grab().toImage();
    QVERIFY(shot.save(QStringLiteral("main_form.png")));
    QVERIFY(form.Frame().save(QStringLiteral("main_frame.png")));
    // The picture shows below the menu and tool bar, as drawn.
    const QPoint at = form.Picture()->mapTo(&form, QPoint(0, 0));
    QVERIFY(at.y() > 0);
    const QPoint p0(m.Points[kes::DriverCentre].SX, m.Points[kes::DriverCentre].SY);
    QCOMPARE(shot.pixel(at + p0 + QPoint(5, 5)) & 0xFFFFFFu, 0xFF0000u);
    // The cylinder close up (the third preset view).
    m.CurrentView = {55.0f, -800.0f, 275.0f};
    for (int i = 0; i < 3; ++i)
        form.OnTick();
    QVERIFY(form.Frame().copy(0, 0, 800, 600).save(QStringLiteral("main_frame_cylinder.png")));
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    MainFormTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "main_form_test.moc"
