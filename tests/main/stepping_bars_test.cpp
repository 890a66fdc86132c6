// SPDX-License-Identifier: GPL-3.0-or-later
// The self-centring bars, clicked, notched and dragged as a user does: in
// the main window (pan, zoom, reference points, dynamic variables) and in a
// diagram window. Every click moves by its step in its own direction, the
// second and later ones too.

#include "controls_rig.h"

#include "diagrams/sine_window.h"
#include "model/dyn_vars.h"

#include <QStyle>
#include <QStyleOptionSlider>
#include <QWheelEvent>

#include <cmath>
#include <functional>

namespace {

// The middle of one part of a scroll bar (an arrow or the trough beside the thumb).
QPoint PartOf(QScrollBar* bar, QStyle::SubControl part) {
    QStyleOptionSlider opt;
    opt.initFrom(bar);
    opt.subControls = QStyle::SC_All;
    opt.orientation = bar->orientation();
    opt.minimum = bar->minimum();
    opt.maximum = bar->maximum();
    opt.sliderPosition = bar->sliderPosition();
    opt.sliderValue = bar->value();
    opt.singleStep = bar->singleStep();
    opt.pageStep = bar->pageStep();
    opt.upsideDown = bar->invertedAppearance();
    if (bar->orientation() == Qt::Horizontal) opt.state |= QStyle::State_Horizontal;
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, part, bar).center();
}

void ClickPart(QScrollBar* bar, QStyle::SubControl part) {
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, PartOf(bar, part));
}

void WheelNotch(QScrollBar* bar, int notches) {
    const QPointF at(bar->width() / 2.0, bar->height() / 2.0);
    QWheelEvent wheel(at, bar->mapToGlobal(at), QPoint(), QPoint(0, -120 * notches), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(bar, &wheel);
    QCoreApplication::processEvents();
}

// The thumb held and moved through the positions, as the bar reports them
// while it keeps recentring.
void Drag(QScrollBar* bar, std::initializer_list<int> positions) {
    bar->setSliderDown(true);
    for (int p : positions)
        bar->setSliderPosition(p);
    bar->setSliderDown(false);
    QCoreApplication::processEvents();
}

} // namespace

class SteppingBarsTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QuietShowMessages(); }
    void mainWindowBarsStepOnEveryClick_data();
    void mainWindowBarsStepOnEveryClick();
    void wheelNotchesStepEachTime();
    void clickAfterADragStepsItsOwnWay();
    void mainDynVarBarStepsAndRecordsEachClick();
    void diagramDynVarBarStepsOnEveryClick();
    void scrollThatEndsWhereItBeganRecordsNothing();
};

void SteppingBarsTest::mainWindowBarsStepOnEveryClick_data() {
    QTest::addColumn<QString>("bar");
    QTest::addColumn<int>("part");
    QTest::addColumn<double>("step"); // of the value the bar drives, per click
    const int right = QStyle::SC_ScrollBarAddLine, left = QStyle::SC_ScrollBarSubLine;
    const int troughRight = QStyle::SC_ScrollBarAddPage;
    QTest::newRow("pan horz, right arrow") << "SBPanHorz" << right << 0.1;
    QTest::newRow("pan horz, left arrow") << "SBPanHorz" << left << -0.1;
    QTest::newRow("pan horz, trough") << "SBPanHorz" << troughRight << 1.0;
    QTest::newRow("pan vert, right arrow") << "SBPanVert" << right << -0.1; // offset Y -= d
    QTest::newRow("ref 1 vert, right arrow") << "SBRef1Vert" << right << 0.001;
    QTest::newRow("ref 2 horz, left arrow") << "SBRef2Horz" << left << -0.001;
}

void SteppingBarsTest::mainWindowBarsStepOnEveryClick() {
    QFETCH(QString, bar);
    QFETCH(int, part);
    QFETCH(double, step);
    ControlsRig r;
    r.m.ReferencePointsOn = true;
    r.controls->SyncFromModel();
    QScrollBar* b = r.Bar(bar.toLatin1().constData());
    QVERIFY(b && b->isVisible());
    auto value = [&]() -> double {
        if (bar == QLatin1String("SBPanHorz")) return r.m.CurrentView.OffsetX;
        if (bar == QLatin1String("SBPanVert")) return r.m.CurrentView.OffsetY;
        if (bar == QLatin1String("SBRef1Vert")) return r.m.Points[kes::RefPoint1].Y;
        return r.m.Points[kes::RefPoint2].X;
    };
    const double start = value();
    for (int click = 1; click <= 3; ++click) {
        ClickPart(b, static_cast<QStyle::SubControl>(part));
        QCOMPARE(b->value(), 0);
        QVERIFY2(std::fabs(value() - (start + click * step)) < 1e-4,
                 qPrintable(QStringLiteral("click %1: %2").arg(click).arg(value() - start)));
    }
}

void SteppingBarsTest::wheelNotchesStepEachTime() {
    ControlsRig r;
    QScrollBar* zoom = r.Bar("SBZoom");
    double last = r.m.CurrentView.Scale;
    for (int notch = 1; notch <= 3; ++notch) {
        WheelNotch(zoom, 1);
        QCOMPARE(zoom->value(), 0);
        QVERIFY2(r.m.CurrentView.Scale > last, qPrintable(QStringLiteral("notch %1").arg(notch)));
        last = r.m.CurrentView.Scale;
    }
    for (int notch = 1; notch <= 2; ++notch) {
        WheelNotch(zoom, -1);
        QVERIFY(r.m.CurrentView.Scale < last);
        last = r.m.CurrentView.Scale;
    }
}

void SteppingBarsTest::clickAfterADragStepsItsOwnWay() {
    ControlsRig r;
    QScrollBar* pan = r.Bar("SBPanHorz");
    const double start = r.m.CurrentView.OffsetX;
    // A drag to the right that came back a little on its way.
    Drag(pan, {20, 40, 30});
    QCOMPARE(pan->value(), 0);
    const double afterDrag = r.m.CurrentView.OffsetX;
    QVERIFY(afterDrag != start);
    ClickPart(pan, QStyle::SC_ScrollBarSubLine);
    QVERIFY(std::fabs(r.m.CurrentView.OffsetX - (afterDrag - 0.1)) < 1e-4);
    ClickPart(pan, QStyle::SC_ScrollBarAddLine);
    ClickPart(pan, QStyle::SC_ScrollBarAddLine);
    QVERIFY(std::fabs(r.m.CurrentView.OffsetX - (afterDrag + 0.1)) < 1e-4);
    // A second drag starts from rest, not from where the first ended.
    const double beforeSecond = r.m.CurrentView.OffsetX;
    Drag(pan, {10});
    QVERIFY(std::fabs(r.m.CurrentView.OffsetX - (beforeSecond + 1.0)) < 1e-4);
}

void SteppingBarsTest::mainDynVarBarStepsAndRecordsEachClick() {
    ControlsRig r;
    kes::SelectDimension(r.m, 10); // Valve Rod Length
    r.m.DynVarMode = true;
    r.cs().DynVarBarsShown = true;
    r.controls->SyncFromModel();
    QScrollBar* bar = r.Bar("SBDynVar1");
    QVERIFY(bar->isVisible() && bar->isEnabled());
    const float start = r.m.Frame.ValveRodLength;
    for (int click = 1; click <= 3; ++click) {
        ClickPart(bar, QStyle::SC_ScrollBarAddLine);
        QCoreApplication::processEvents(); // the release ends the scroll
        QVERIFY(std::fabs(r.m.Frame.ValveRodLength - (start + 0.001f * click)) < 1e-5f);
        QCOMPARE(r.m.UndoCount, click);
        QVERIFY(r.m.UndoRecord[1].After != r.m.UndoRecord[1].Before);
    }
    ClickPart(bar, QStyle::SC_ScrollBarSubLine);
    QCoreApplication::processEvents();
    QVERIFY(std::fabs(r.m.Frame.ValveRodLength - (start + 0.002f)) < 1e-5f);
}

void SteppingBarsTest::diagramDynVarBarStepsOnEveryClick() {
    kes::Model m;
    kes::InitialiseModel(m);
    FakeMainLink link;
    DiagramTextState text;
    TSineDia sine(m, link, text);
    kes::SelectDimension(m, 2); // Stroke
    m.DynVarMode = true;
    sine.show();
    QTRY_VERIFY(link.stopCalls > 0);
    QScrollBar* bar = sine.DynVarBar(1);
    QTRY_VERIFY(bar->isVisible() && bar->isEnabled());
    const float start = m.Frame.StrokeLength;
    const double steps[] = {0.001, 0.002, 0.003, 0.013, 0.023, 0.022};
    const QStyle::SubControl parts[] = {QStyle::SC_ScrollBarAddLine, QStyle::SC_ScrollBarAddLine,
                                        QStyle::SC_ScrollBarAddLine, QStyle::SC_ScrollBarAddPage,
                                        QStyle::SC_ScrollBarAddPage, QStyle::SC_ScrollBarSubLine};
    for (size_t i = 0; i < std::size(steps); ++i) {
        ClickPart(bar, parts[i]);
        QCoreApplication::processEvents();
        QCOMPARE(bar->value(), 0);
        QVERIFY2(std::fabs(m.Frame.StrokeLength - (start + steps[i])) < 1e-5,
                 qPrintable(QStringLiteral("click %1").arg(i + 1)));
        QCOMPARE(m.UndoCount, static_cast<int>(i) + 1);
    }
    sine.close();
}

void SteppingBarsTest::scrollThatEndsWhereItBeganRecordsNothing() {
    ControlsRig r;
    kes::SelectDimension(r.m, 10);
    r.m.DynVarMode = true;
    r.controls->SyncFromModel();
    QScrollBar* bar = r.Bar("SBDynVar1");
    const float start = r.m.Frame.ValveRodLength;
    // Held, dragged out and back to where it began.
    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, PartOf(bar, QStyle::SC_ScrollBarSlider));
    bar->setSliderPosition(5);
    bar->setSliderPosition(-5);
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier,
                        PartOf(bar, QStyle::SC_ScrollBarSlider));
    QCoreApplication::processEvents();
    QCOMPARE(r.m.Frame.ValveRodLength, start);
    QCOMPARE(r.m.UndoCount, 0);
    QVERIFY(!r.m.UndoButtonsEnabled);
}

int main(int argc, char** argv) {
    SteppingBarsTest test;
    return RunHeadless(test, argc, argv);
}

#include "stepping_bars_test.moc"
