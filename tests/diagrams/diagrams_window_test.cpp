// SPDX-License-Identifier: GPL-3.0-or-later
// The diagram window frame, driven through TSineDia and TOvalDia: activation
// and closing, the retained picture, the menu commands, the dynamic-variable
// scroll bars with their undo, and "Save Image...".

#include "diagram_test_support.h"
#include "diagrams/oval_diagram.h"
#include "diagrams/oval_window.h"
#include "diagrams/picture_stamp.h"
#include "diagrams/sine_diagram.h"
#include "diagrams/sine_window.h"
#include "model/dimensions.h"
#include "model/dyn_vars.h"
#include "support/fake_main_link.h"

#include <QAction>
#include <QFile>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int StrokeId = 2;

bool AllWhite(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) return false;
    return true;
}

QAction* MenuAction(DiagramWindow& w, const QString& name) {
    return w.DiagramMenuBar()->findChild<QAction*>(name);
}

void Open(DiagramWindow& w, FakeMainLink& link) {
    const int before = link.stopCalls;
    w.show();
    QTRY_VERIFY(link.stopCalls > before);
}

// A dynamic-variable bar as the user drags it: entered, moved to a
// position, released.
void DragBar(QScrollBar* bar, int position) {
    QFocusEvent focusIn(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(bar, &focusIn);
    bar->setSliderDown(true);
    bar->setValue(position);
    bar->setSliderDown(false);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(60, 5),
                        bar->mapToGlobal(QPointF(60, 5)), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(bar, &release);
}

} // namespace

class DiagramWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QuietOffscreenPlatform(); }
    void controlsCarryTheirNames();
    void activationStopsTimerShowsDialogThenDraws();
    void closingStartsTheTimer();
    void portStyleActivationSkipsTheDialog();
    void mouseMoveRedrawsOnlyWhenPending();
    void pictureSurvivesBeingCovered();
    void dynVarBarStepsPushesUndoAndRefocuses();
    void dynVarBarKeyboardAndWheelScrolls();
    void dynVarBarsDisabledWithoutDimensions();
    void undoButtonStepsBackAndDisablesWhenEmpty();
    void undoMenuTogglesTheUndoLine();
    void dynVarMenuTogglesModeAndMainControls();
    void redrawMatchesHeadlessRendering();
    void undoMessageIsSharedBetweenWindows();
    void saveImageWritesPngAndSvg();
    void saveImageFailureReportsAndKeepsData();
    void saveImageCommandUsesChooser();
};

void DiagramWindowTest::controlsCarryTheirNames() {
    auto m = FactoryModel();
    FakeMainLink link;
    DiagramTextState text;
    TSineDia sine(*m, link, text);
    TOvalDia oval(*m, link, text);

    QPushButton* close = sine.findChild<QPushButton*>("CloseSin");
    QVERIFY(close);
    QCOMPARE(close->text(), QString("Close"));
    QCOMPARE(close->geometry(), QRect(408, 8, 75, 25));
    QVERIFY(oval.findChild<QPushButton*>("CloseOval"));
    for (int n = 1; n <= 4; ++n) {
        QScrollBar* bar = sine.findChild<QScrollBar*>(QString("SBDynVarS%1").arg(n));
        QVERIFY(bar);
        QCOMPARE(bar->geometry(), QRect(112, 3 + 12 * (n - 1), 121, 10));
        QCOMPARE(bar->minimum(), -200);
        QCOMPARE(bar->maximum(), 200);
        QCOMPARE(bar->pageStep(), 10);
        QCOMPARE(bar->singleStep(), 1);
        QVERIFY(bar->isHidden());
        QVERIFY(oval.findChild<QScrollBar*>(QString("SBDynVarO%1").arg(n)));
    }
    QPushButton* undo = sine.findChild<QPushButton*>("UnDoDnS");
    QVERIFY(undo && undo->isHidden() && !undo->isEnabled());
    QCOMPARE(undo->geometry(), QRect(110, 54, 40, 16));
    QCOMPARE(undo->text(), QString("UnDo"));
    QVERIFY(oval.findChild<QPushButton*>("UnDoDnO"));

    QCOMPARE(sine.DiagramMenuBar()->objectName(), QString("MainMenuSine"));
    QStringList captions;
    for (QAction* a : sine.DiagramMenuBar()->actions())
        captions << a->text();
    QCOMPARE(captions, (QStringList{"&SetRevArmPos", "&ReDraw", "&UnDo", "&DymamicVariables",
                                    "Save Image..."}));
    QVERIFY(MenuAction(sine, "SetRevArmPos") && MenuAction(sine, "ReDraw") &&
            MenuAction(sine, "UnDoSine") && MenuAction(sine, "DynVari"));
    QStringList ovalCaptions;
    for (QAction* a : oval.DiagramMenuBar()->actions())
        ovalCaptions << a->text();
    QCOMPARE(ovalCaptions,
             (QStringList{"SetRevArmPos", "ReDraw", "&UnDo", "DynamicVari", "Save Image..."}));
    QVERIFY(MenuAction(oval, "SetRevArmPos1") && MenuAction(oval, "ReDraw1") &&
            MenuAction(oval, "UnDoOval") && MenuAction(oval, "DynVar"));
    QCOMPARE(sine.Client()->size(), QSize(632, 414));
    QCOMPARE(oval.Client()->size(), QSize(632, 426));
}

void DiagramWindowTest::activationStopsTimerShowsDialogThenDraws() {
    auto m = FactoryModel();
    FakeMainLink link;
    DiagramTextState text;
    TSineDia sine(*m, link, text);
    bool blankWhileDialogOpen = false;
    bool timerStoppedBeforeDialog = false;
    link.onSetRevArmDialog = [&] {
        blankWhileDialogOpen = AllWhite(sine.Picture());
        timerStoppedBeforeDialog = !link.animationRunning;
        m->VerticalScale = 4.0f; // what the user sets in the dialog
    };
    Open(sine, link);
    QCOMPARE(link.setRevArmDialogCalls, 1);
    QVERIFY(blankWhileDialogOpen);
    QVERIFY(timerStoppedBeforeDialog);
    QVERIFY(!link.animationRunning);
    QVERIFY(!AllWhite(sine.Picture()));
    // Drawn after the dialog, with its setting.
    QCOMPARE(sine.Picture(), PaintToImage(&diagrams::PaintSineDiagram, *m, {632, 414}));
    QVERIFY(sine.windowTitle().startsWith("KESTROVE      Sine Diagram    Nominal"));
    QVERIFY(sine.windowTitle().endsWith("Version 2.6"));
}

void DiagramWindowTest::closingStartsTheTimer() {
    auto m = FactoryModel();
    FakeMainLink link;
    DiagramTextState text;
    TOvalDia oval(*m, link, text);
    Open(oval, link);
    QVERIFY(!link.animationRunning);
    QVERIFY(oval.CloseButton());
    QTest::mouseClick(oval.CloseButton(), Qt::LeftButton);
    QVERIFY(!oval.isVisible());
    QVERIFY(link.animationRunning);
    QCOMPARE(link.startCalls, 1);
    // Opened again: stopped again.
    Open(oval, link);
    QVERIFY(!link.animationRunning);
    oval.reject(); // Esc
    QVERIFY(link.animationRunning);
    QCOMPARE(link.startCalls, 2);
}

namespace {
class PortStyleWindow : public DiagramWindow {
  public:
    static DiagramWindowNames Names() {
        DiagramWindowNames names;
        names.CaptionPrefix = "Port style ";
        names.CloseName = "ClosePort";
        names.ClosePos = {447, 2};
        names.DynVarBarPrefix = "SBDynVarP";
        names.UndoButtonName = "UnDoDnP";
        names.ReDraw = {"ReDraw1", "ReDraw"};
        names.ShowsSetRevArmOnActivate = false;
        names.RedrawsOnMouseMove = false;
        names.UndoButtonRedraws = 1;
        return names;
    }
    PortStyleWindow(kes::Model& m, MainFormLink& link, DiagramTextState& text)
        : DiagramWindow(m, link, text, Names()) {}
    int draws = 0;

  protected:
    void Draw(QPainter& p) override {
        ++draws;
        diagrams::PaintSineDiagram(p, Model(), TextState());
    }
};
} // namespace

void DiagramWindowTest::portStyleActivationSkipsTheDialog() {
    auto m = FactoryModel();
    FakeMainLink link;
    DiagramTextState text;
    PortStyleWindow w(*m, link, text);
    QVERIFY(!MenuAction(w, "SetRevArmPos"));
    QCOMPARE(w.CloseButton()->geometry(), QRect(447, 2, 75, 25));
    Open(w, link);
    QCOMPARE(link.setRevArmDialogCalls, 0);
    QCOMPARE(w.draws, 1);
    QVERIFY(!link.animationRunning);
    // No mouse-move redraw; the UnDo button redraws once.
    m->RedrawPending = true;
    QMouseEvent move(QEvent::MouseMove, QPointF(300, 200), QPointF(300, 200), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w.Client(), &move);
    QCOMPARE(w.draws, 1);
    QVERIFY(m->RedrawPending);
    w.UnDoButtonClick();
    QCOMPARE(w.draws, 2);
}

void DiagramWindowTest::mouseMoveRedrawsOnlyWhenPending() {
    auto m = FactoryModel();
    FakeMainLink link;
    DiagramTextState text;
    TSineDia sine(*m, link, text);
    Open(sine, link);
    const QImage before = sine.Picture();

    // A change without the dialog's flag is not picked up by a mouse move.
    m->RevArmPositionCount = 1;
    QMouseEvent move(QEvent::MouseMove, QPointF(300, 200), QPointF(300, 200), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(sine.Client(), &move);
    QCOMPARE(sine.Picture(), before);

    m->RedrawPending = true;
    QApplication::sendEvent(sine.Client(), &move);
    QVERIFY(!m->RedrawPending);
    QVERIFY(sine.Picture() != before);
    QCOMPARE(sine.Picture(), PaintToImage(&diagrams::PaintSineDiagram, *m, {632, 414}));
    QVERIFY(sine.Client()->hasMouseTracking());
}

void DiagramWindowTest::pictureSurvivesBeingCovered() {
    auto m = FactoryModel();
    FakeMainLink link;
    DiagramTextState text;
    TSineDia sine(*m, link, text);
    Open(sine, link);
    // What the window shows below its controls.
    const QRect below(0, 72, 632, 414 - 72);
    auto shown = [&] {
        return sine.Client()->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(below);
    };
    const QImage drawn = sine.Picture().copy(below);
    QVERIFY(!AllWhite(drawn));
    QCOMPARE(shown(), drawn);

    QWidget cover;
    cover.setGeometry(sine.geometry());
    cover.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cover));
    cover.close();
    sine.Client()->repaint();
    QCOMPARE(shown(), drawn);

    // Hidden and shown again without a redraw in between: still there.
    sine.hide();
    QCOMPARE(shown(), drawn);
}

void DiagramWindowTest::dynVarBarStepsPushesUndoAndRefocuses() {
    auto m = FactoryModel();
    FakeMainLink link;
    DiagramTextState text;
    TSineDia sine(*m, link, text);
    kes::SelectDimension(*m, StrokeId);
    m->DynVarMode = true;
    Open(sine, link);
    sine.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&sine));

    QScrollBar* bar = sine.DynVarBar(1);
    QVERIFY(bar->isVisible() && bar->isEnabled());
    QVERIFY(!sine.DynVarBar(2)->isEnabled());
    const float before = m->Frame.StrokeLength;
    const int refreshes = link.refreshUndoCalls;

    DragBar(bar, 20);
    QCOMPARE(bar->value(), 0);
    QVERIFY(qAbs(m->Frame.StrokeLength - (before + 0.02f)) < 1e-5f);
    QCOMPARE(m->DynVarSlots[1].Value, m->Frame.StrokeLength);
    // The picture shows the changed stroke already.
    QCOMPARE(sine.Picture(), PaintToImage(&diagrams::PaintSineDiagram, *m, {632, 414}));

    QTRY_COMPARE(m->UndoCount, 1);
    QCOMPARE(m->UndoRecord[1].Id, StrokeId);
    QCOMPARE(m->UndoRecord[1].Before, before);
    QCOMPARE(m->UndoRecord[1].After, m->Frame.StrokeLength);
    QCOMPARE(m->UndoRecord[2].Id, 0);
    QVERIFY(m->UndoButtonsEnabled);
    QVERIFY(link.refreshUndoCalls > refreshes);
    QVERIFY(sine.CloseButton()->hasFocus());

    // A second drag is a second entry, remembered from its own start.
    const float afterFirst = m->Frame.StrokeLength;
    DragBar(bar, -5);
    QTRY_COMPARE(m->UndoCount, 2);
    QVERIFY(qAbs(m->Frame.StrokeLength - (afterFirst - 0.005f)) < 1e-5f);
    QCOMPARE(m->UndoRecord[1].Before, afterFirst);
}

void DiagramWindowTest::dynVarBarKeyboardAndWheelScrolls() {
    auto m = FactoryModel();
    FakeMainLink link;
    DiagramTextState text;
    TOvalDia oval(*m, link, text);
    kes::SelectDimension(*m, StrokeId);
    m->DynVarMode = true;
    Open(oval, link);
    QScrollBar* bar = oval.DynVarBar(1);
    const float before = m->Frame.StrokeLength;

    // One arrow key: one small step of 0.001, one undo entry on release.
    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(bar, &focusIn);
    QTest::keyClick(bar, Qt::Key_Right);
    QCOMPARE(bar->value(), 0);
    QVERIFY(qAbs(m->Frame.StrokeLength - (before + 0.001f)) < 1e-6f);
    QCOMPARE(m->UndoCount, 1);
    QCOMPARE(m->UndoRecord[1].Before, before);

    // A page key: the large change of 10.
    QApplication::sendEvent(bar, &focusIn);
    QTest::keyClick(bar, Qt::Key_PageDown);
    QVERIFY(qAbs(m->Frame.StrokeLength - (before + 0.011f)) < 1e-6f);
    QCOMPARE(m->UndoCount, 2);

    // The wheel, without the bar being entered first, still records its entry.
    const float beforeWheel = m->Frame.StrokeLength;
    QWheelEvent wheel(QPointF(60, 5), bar->mapToGlobal(QPointF(60, 5)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(bar, &wheel);
    QTRY_COMPARE(m->UndoCount, 3);
    QVERIFY(m->Frame.StrokeLength != beforeWheel);
    QCOMPARE(m->UndoRecord[1].Before, beforeWheel);
    QCOMPARE(m->UndoRecord[1].After, m->Frame.StrokeLength);
    QCOMPARE(bar->value(), 0);
}

void DiagramWindowTest::dynVarBarsDisabledWithoutDimensions() {
    auto m = FactoryModel();
    FakeMainLink link;
    DiagramTextState text;
    TSineDia sine(*m, link, text);
    m->DynVarMode = true;
    Open(sine, link);
    for (int n = 1; n <= 4; ++n) {
        QVERIFY(sine.DynVarBar(n)->isVisible());
        QVERIFY(!sine.DynVarBar(n)->isEnabled());
    }
    // The red block stands where the names would be.
    int red = 0;
    for (int x = 235; x < 420; ++x)
        for (int y = 12; y < 24; ++y)
            if (sine.Picture().pixelColor(x, y).red() > 200 &&
                sine.Picture().pixelColor(x, y).green() < 100)
                ++red;
    QVERIFY(red > 50);
    // A stray release on a disabled bar records nothing.
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(sine.DynVarBar(1), &release);
    QTest::qWait(10);
    QCOMPARE(m->UndoCount, 0);
}

void DiagramWindowTest::undoButtonStepsBackAndDisablesWhenEmpty() {
    auto m = FactoryModel();
    FakeMainLink link;
    DiagramTextState text;
    TSineDia sine(*m, link, text);
    kes::SelectDimension(*m, StrokeId);
    m->DynVarMode = true;
    m->UndoDisplay = true;
    Open(sine, link);
    const float before = m->Frame.StrokeLength;
    DragBar(sine.DynVarBar(1), 30);
    QTRY_COMPARE(m->UndoCount, 1);

    QPushButton* undo = sine.UndoButton();
    QVERIFY(undo->isVisible());
    QVERIFY(undo->isEnabled());
    QTest::mouseClick(undo, Qt::LeftButton);
    QCOMPARE(m->Frame.StrokeLength, before);
    QCOMPARE(m->UndoCount, 0);
    QCOMPARE(sine.Picture(), [&] {
        DiagramTextState copy = text;
        // The button draws twice: the second drawing shows the line the first built.
        PaintToImage(&diagrams::PaintSineDiagram, *m, {632, 414}, &copy);
        return PaintToImage(&diagrams::PaintSineDiagram, *m, {632, 414}, &copy);
    }());

    // Empty record: the buttons are disabled and nothing changes.
    const int refreshes = link.refreshUndoCalls;
    QTest::mouseClick(undo, Qt::LeftButton);
    QCOMPARE(m->Frame.StrokeLength, before);
    QVERIFY(!m->UndoButtonsEnabled);
    QVERIFY(!undo->isEnabled());
    QVERIFY(link.refreshUndoCalls > refreshes);
}

void DiagramWindowTest::undoMenuTogglesTheUndoLine() {
    auto m = FactoryModel();
    FakeMainLink link;
    DiagramTextState text;
    TSineDia sine(*m, link, text);
    Open(sine, link);
    QVERIFY(!m->UndoDisplay);
    MenuAction(sine, "UnDoSine")->trigger();
    QVERIFY(m->UndoDisplay);
    QVERIFY(sine.UndoButton()->isVisible());
    QCOMPARE(text.UndoMessage, diagrams::BuildUndoMessage(*m));
    MenuAction(sine, "UnDoSine")->trigger();
    QVERIFY(!m->UndoDisplay);
    QVERIFY(!sine.UndoButton()->isVisible());
}

void DiagramWindowTest::dynVarMenuTogglesModeAndMainControls() {
    auto m = FactoryModel();
    FakeMainLink link;
    DiagramTextState text;
    TOvalDia oval(*m, link, text);
    Open(oval, link);
    MenuAction(oval, "DynVar")->trigger();
    QVERIFY(m->DynVarMode);
    QVERIFY(link.dynVarControlsVisible);
    for (int n = 1; n <= 4; ++n)
        QVERIFY(oval.DynVarBar(n)->isVisible());
    MenuAction(oval, "DynVar")->trigger();
    QVERIFY(!m->DynVarMode);
    QVERIFY(!link.dynVarControlsVisible);
    for (int n = 1; n <= 4; ++n)
        QVERIFY(!oval.DynVarBar(n)->isVisible());

    // "SetRevArmPos" opens the dialog and leaves the picture alone.
    const QImage before = oval.Picture();
    m->VerticalScale = 3.0f;
    MenuAction(oval, "SetRevArmPos1")->trigger();
    QCOMPARE(link.setRevArmDialogCalls, 2);
    QCOMPARE(oval.Picture(), before);
    MenuAction(oval, "ReDraw1")->trigger();
    QVERIFY(oval.Picture() != before);
}

void DiagramWindowTest::redrawMatchesHeadlessRendering() {
    auto m = FactoryModel();
    FakeMainLink link;
    DiagramTextState text;
    TOvalDia oval(*m, link, text);
    Open(oval, link);
    SetPositions(*m, {m->MidGear(), m->MidGear() + 1.0f});
    MenuAction(oval, "ReDraw1")->trigger();
    QCOMPARE(oval.Picture(), PaintToImage(&diagrams::PaintOvalDiagram, *m, {632, 426}));
}

void DiagramWindowTest::undoMessageIsSharedBetweenWindows() {
    auto m = FactoryModel();
    FakeMainLink link;
    DiagramTextState text;
    TSineDia sine(*m, link, text);
    TOvalDia oval(*m, link, text);
    m->UndoDisplay = true;
    kes::PushUndo(*m, StrokeId, 3.5f);
    kes::CompleteUndo(*m, 3.6f, "Stroke");
    sine.ReDrawClick();
    const QString built = text.UndoMessage;
    QVERIFY(built.startsWith(" 1- Stroke  3.600 to  3.500"));
    // The oval window shows the line the sine window built.
    RecordingPaintDevice rec({632, 426});
    DiagramTextState copy = text;
    PaintToRecorder(&diagrams::PaintOvalDiagram, *m, rec, &copy);
    QCOMPARE(TextAt(rec, {150, 55})->Text, built);
    oval.ReDrawClick();
    QCOMPARE(text.UndoMessage, built);
}

void DiagramWindowTest::saveImageWritesPngAndSvg() {
    auto m = FactoryModel();
    FakeMainLink link;
    DiagramTextState text;
    TSineDia sine(*m, link, text);
    Open(sine, link);
    QTemporaryDir dir;
    const QString png = dir.filePath("sine.png");
    const QString svg = dir.filePath("sine.svg");
    QVERIFY(sine.SaveImage(png));
    // The picture, with the footer strip below it.
    const QImage saved = QImage(png).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(saved.size(), diagrams::StampedSize(sine.Picture().size()));
    QCOMPARE(saved.copy(QRect(QPoint(0, 0), sine.Picture().size())), sine.Picture());
    // Bare (the save dialog's check box cleared): the picture alone.
    sine.StampImages = false;
    QVERIFY(sine.SaveImage(png));
    QCOMPARE(QImage(png).convertToFormat(QImage::Format_RGB32), sine.Picture());

    const float setting = m->RevArmSetting, angle = m->DriverAngle;
    QVERIFY(sine.SaveImage(svg));
    QCOMPARE(m->RevArmSetting, setting);
    QCOMPARE(m->DriverAngle, angle);
    QSvgRenderer renderer(svg);
    QVERIFY(renderer.isValid());
    QCOMPARE(renderer.viewBox(), QRect(0, 0, 632, 414)); // bare
    QFile file(svg);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    QVERIFY(content.contains("Reverse Arm Positions"));
    QVERIFY(content.contains("<polyline") || content.contains("<line") ||
            content.contains("<path"));
    // Rendered back, the port lines stand where the picture has them.
    QImage back(632, 414, QImage::Format_RGB32);
    back.fill(Qt::white);
    {
        QPainter p(&back);
        renderer.render(&p);
    }
    kes::SolveLinkage(*m);
    const int y = PixelY(m->Solver.FrontSteamOpenLevel(), m->VerticalScale);
    QVERIFY(back.pixelColor(20, y).green() > 200);
    QVERIFY(back.pixelColor(20, y).red() < 128);
}

void DiagramWindowTest::saveImageFailureReportsAndKeepsData() {
    auto m = FactoryModel();
    FakeMainLink link;
    DiagramTextState text;
    TSineDia sine(*m, link, text);
    QString error;
    QVERIFY(!sine.SaveImage("/nonexistent-folder/for/sure/x.png", &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!sine.SaveImage("/nonexistent-folder/for/sure/x.svg", &error));

    // A name that is a folder with a file in it: refused, the folder untouched.
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("picture.png"));
    const QString inside = dir.filePath("picture.png/keep.txt");
    {
        QFile f(inside);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("kept");
    }
    error.clear();
    QVERIFY(!sine.SaveImage(dir.filePath("picture.png"), &error));
    QVERIFY(!error.isEmpty());
    QFile f(inside);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("kept"));
}

void DiagramWindowTest::saveImageCommandUsesChooser() {
    auto m = FactoryModel();
    FakeMainLink link;
    DiagramTextState text;
    TOvalDia oval(*m, link, text);
    Open(oval, link);
    QTemporaryDir dir;
    int asked = 0;
    oval.ChooseImageFile = [&](QWidget*) {
        ++asked;
        return dir.filePath("oval"); // no suffix: PNG
    };
    MenuAction(oval, "SaveImage")->trigger();
    QCOMPARE(asked, 1);
    QCOMPARE(QImage(dir.filePath("oval.png"))
                 .convertToFormat(QImage::Format_RGB32)
                 .copy(QRect(QPoint(0, 0), oval.Picture().size())),
             oval.Picture());
    // Cancelled: nothing written.
    oval.ChooseImageFile = [&](QWidget*) { return QString(); };
    MenuAction(oval, "SaveImage")->trigger();
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

KESTROVE_DIAGRAM_TEST_MAIN(DiagramWindowTest)
#include "diagrams_window_test.moc"
