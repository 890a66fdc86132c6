// SPDX-License-Identifier: GPL-3.0-or-later
// Pan, zoom, presets and reference points of the main window, and the
// reference-point and graphic-zoom dialogs.

#include "controls_rig.h"

#include "motion_dialogs/graphic_zoom_dialog.h"
#include "motion_dialogs/numeric_entry.h"
#include "motion_dialogs/reference_points_dialog.h"

#include <QLabel>

class ControlsViewTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QuietShowMessages(); }
    void barsSitBesideTheirTexts();
    void panDragMovesFivePixelsAndReturns();
    void arrowClicksNudgeTheView();
    void zoomKeepsTheCentrePixel();
    void presetStoreAndRecall();
    void normButton();
    void panToReferencePoint();
    void referenceBarsAndZeroButtons();
    void referencePointsSwitchShowsTheirControls();
    void referencePointDialog();
    void graphicZoomDialog();
};

void ControlsViewTest::barsSitBesideTheirTexts() {
    ControlsRig r;
    struct Row {
        const char* name;
        int textY; // where the drawing prints the bar's label
        const char* hint;
    };
    const Row rows[] = {
        {"SBPanVert", 25, "Pan Vertical"},
        {"SBPanHorz", 39, "Pan Horizontal"},
        {"SBZoom", 53, "Zoom In / Out"},
    };
    for (const Row& row : rows) {
        QScrollBar* bar = r.Bar(row.name);
        QVERIFY2(bar, row.name);
        QCOMPARE(bar->toolTip(), QString::fromLatin1(row.hint));
        QCOMPARE(bar->value(), 0);
        // Right of the label at x 199, left of the read-outs at x 459.
        QVERIFY(bar->x() >= 245 && bar->x() <= 255);
        QVERIFY(bar->geometry().right() < 459);
        QVERIFY(std::abs(bar->y() - row.textY) <= 2);
    }
    QCOMPARE(r.Bar("SBPanVert")->minimum(), -500);
    QCOMPARE(r.Bar("SBZoom")->maximum(), 200);
    QCOMPARE(r.Button("NormVHZ")->toolTip(), QStringLiteral("Return Pan & Zoom to Normal"));
    QCOMPARE(r.Button("Preset0")->text(), QStringLiteral("P"));
    QCOMPARE(r.Button("Preset0")->toolTip(), QStringLiteral("Select First to Change Presets"));
    QCOMPARE(r.Button("Preset4")->text(), QStringLiteral("4"));
    QCOMPARE(r.Button("Preset4")->toolTip(), QStringLiteral("Pan & Zoom to Preset 4"));
}

void ControlsViewTest::panDragMovesFivePixelsAndReturns() {
    ControlsRig r;
    QVERIFY(!r.Button("NormVHZ")->isEnabled());
    r.Bar("SBPanHorz")->setValue(50);
    QCOMPARE(r.m.CurrentView.OffsetX, 105.0f);
    QCOMPARE(r.Bar("SBPanHorz")->value(), 0);
    QVERIFY(r.Button("NormVHZ")->isEnabled());
    r.Bar("SBPanVert")->setValue(50);
    QCOMPARE(r.m.CurrentView.OffsetY, 275.0f);
    QCOMPARE(r.Bar("SBPanVert")->value(), 0);
}

void ControlsViewTest::arrowClicksNudgeTheView() {
    ControlsRig r;
    r.Bar("SBPanHorz")->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(r.Bar("SBPanHorz")->value(), 0);
    QVERIFY(std::fabs(r.m.CurrentView.OffsetX - 99.9f) < 1e-4f);
    r.Bar("SBPanHorz")->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QVERIFY(std::fabs(r.m.CurrentView.OffsetX - 100.9f) < 1e-4f);
}

void ControlsViewTest::zoomKeepsTheCentrePixel() {
    ControlsRig r;
    auto world = [&] {
        const kes::View& v = r.m.CurrentView;
        return QPointF((320.0 - v.OffsetX) / v.Scale, -(240.0 - v.OffsetY) / v.Scale);
    };
    const QPointF before = world();
    r.Bar("SBZoom")->setValue(100);
    QCOMPARE(r.Bar("SBZoom")->value(), 0);
    QVERIFY(std::fabs(r.m.CurrentView.Scale - 19.0f * 1.1f) < 1e-4f);
    QVERIFY((world() - before).manhattanLength() < 1e-4);
    r.Bar("SBZoom")->setValue(-150);
    QVERIFY(r.m.CurrentView.Scale < 19.0f);
    QVERIFY((world() - before).manhattanLength() < 1e-4);
}

void ControlsViewTest::presetStoreAndRecall() {
    ControlsRig r;
    r.Click("Preset1");
    QCOMPARE(r.m.CurrentView.Scale, 62.0f);
    QCOMPARE(r.m.CurrentView.OffsetX, 315.0f);
    QCOMPARE(r.m.CurrentView.OffsetY, 237.0f);

    r.Bar("SBPanHorz")->setValue(100); // offset 325
    const kes::View stored = r.m.CurrentView;
    r.Click("Preset0");
    QVERIFY(!r.Button("Preset0")->isEnabled()); // armed
    r.Bar("SBPanVert")->setValue(-200);         // moved on after "P"
    r.Click("Preset3");
    QVERIFY(r.Button("Preset0")->isEnabled());
    QCOMPARE(r.m.CurrentView.Scale, stored.Scale);
    QCOMPARE(r.m.CurrentView.OffsetX, stored.OffsetX);
    QCOMPARE(r.m.CurrentView.OffsetY, stored.OffsetY);

    // "3" again just recalls it.
    r.Click("NormVHZ");
    r.Click("Preset3");
    QCOMPARE(r.m.CurrentView.OffsetX, stored.OffsetX);
    r.Click("Preset2");
    QCOMPARE(r.m.CurrentView.Scale, 45.0f);
}

void ControlsViewTest::normButton() {
    ControlsRig r;
    r.Bar("SBZoom")->setValue(40);
    const kes::View zoomed = r.m.CurrentView;
    r.Click("NormVHZ");
    QCOMPARE(r.m.CurrentView.Scale, 19.0f);
    QCOMPARE(r.m.CurrentView.OffsetX, 100.0f);
    QCOMPARE(r.m.CurrentView.OffsetY, 280.0f);
    QCOMPARE(r.m.SavedView.Scale, zoomed.Scale);
    QVERIFY(!r.Button("NormVHZ")->isEnabled());
}

void ControlsViewTest::panToReferencePoint() {
    ControlsRig r;
    r.Act("ReferPoints")->trigger();
    QVERIFY(r.Shown(r.Button("RefPt1")));
    r.m.Points[kes::RefPoint1].X = 2.0f;
    r.m.Points[kes::RefPoint1].Y = 1.0f;
    r.Click("RefPt1");
    QCOMPARE(r.m.CurrentView.OffsetX, 282.0f);
    QCOMPARE(r.m.CurrentView.OffsetY, 259.0f);
    QCOMPARE(r.Bar("SBPanHorz")->value(), 0);
    QCOMPARE(r.Bar("SBPanVert")->value(), 0);
    QCOMPARE(r.Button("RefPt2")->toolTip(), QStringLiteral("Pan to Ref Point 2"));
}

void ControlsViewTest::referenceBarsAndZeroButtons() {
    ControlsRig r;
    r.Act("ReferPoints")->trigger();
    QVERIFY(!r.Button("RefPt1Zero")->isEnabled());
    r.Bar("SBRef1Vert")->setValue(250);
    QCOMPARE(r.Bar("SBRef1Vert")->value(), 0);
    QVERIFY(std::fabs(r.m.Points[kes::RefPoint1].Y - 0.25f) < 1e-6f);
    QVERIFY(r.Button("RefPt1Zero")->isEnabled());
    QVERIFY(!r.Button("RefPt2Zero")->isEnabled());
    r.Bar("SBRef2Horz")->setValue(-1000);
    QVERIFY(std::fabs(r.m.Points[kes::RefPoint2].X + 1.0f) < 1e-6f);
    QVERIFY(r.Button("RefPt2Zero")->isEnabled());

    r.Click("RefPt1Zero");
    QCOMPARE(r.m.Points[kes::RefPoint1].Y, 0.0f);
    QVERIFY(!r.Button("RefPt1Zero")->isEnabled());
    QVERIFY(r.m.Points[kes::RefPoint2].X != 0.0f);
    QCOMPARE(r.Bar("SBRef1Horz")->maximum(), 10000);
    QCOMPARE(r.Bar("SBRef2Vert")->minimum(), -5000);
    QCOMPARE(r.Bar("SBRef2Vert")->toolTip(), QStringLiteral("Change Ref Point 2 Vert"));
}

void ControlsViewTest::referencePointsSwitchShowsTheirControls() {
    ControlsRig r;
    const char* refControls[] = {"SBRef1Vert", "SBRef1Horz", "SBRef2Vert", "SBRef2Horz",
                                 "RefPt1",     "RefPt2",     "RefPt1Zero", "RefPt2Zero"};
    for (const char* name : refControls)
        QVERIFY2(!r.Shown(r.host.findChild<QWidget*>(QLatin1String(name))), name);
    QVERIFY(!r.Act("DrawLinesCircles")->isEnabled());

    QAction* refs = r.Act("ReferPoints");
    QCOMPARE(refs->text(), QStringLiteral("&ReferPoints"));
    QCOMPARE(refs->toolTip(), QStringLiteral("Turn On Reference Points"));
    refs->trigger();
    for (const char* name : refControls)
        QVERIFY2(r.Shown(r.host.findChild<QWidget*>(QLatin1String(name))), name);
    QVERIFY(r.Act("DrawLinesCircles")->isEnabled());
    QVERIFY(!r.Shown(r.Button("DataTable")));

    r.Act("PivotData")->trigger();
    QVERIFY(r.Shown(r.Button("DataTable")));
    refs->trigger(); // off: pivot data goes too
    QVERIFY(!r.m.PivotDataOn);
    QVERIFY(!r.Shown(r.Button("DataTable")));
    QVERIFY(!r.Shown(r.Bar("SBRef1Vert")));
}

void ControlsViewTest::referencePointDialog() {
    ControlsRig r;
    r.m.Points[kes::RefPoint2].X = 1.5f;
    r.Act("SetRefPoints")->trigger();
    ReferencePointsDialog* dialog = r.controls->DialogForReferencePoints();
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Reference Points"));
    QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
             QStringLiteral("RefPt V1"));
    QCOMPARE(dialog->Field(3)->text(), QStringLiteral("1.500"));

    NumericEntry* v1 = dialog->Field(0);
    v1->clear();
    QTest::keyClicks(v1, "-2.5-x");
    QCOMPARE(v1->text(), QStringLiteral("-2.5"));
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("OKBtn")), Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(r.m.Points[kes::RefPoint1].Y, -2.5f);
    QCOMPARE(r.m.Points[kes::RefPoint2].X, 1.5f);
    QVERIFY(r.m.ReferencePointsOn);
    QVERIFY(r.Button("RefPt1Zero")->isEnabled());
    QVERIFY(r.Button("RefPt2Zero")->isEnabled());
    QVERIFY(r.Shown(r.Bar("SBRef1Vert")));

    // Cancel switches them off; Escape does the same.
    r.Act("SetRefPoints")->trigger();
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("CancelBtn")), Qt::LeftButton);
    QVERIFY(!r.m.ReferencePointsOn);
    QVERIFY(!r.Shown(r.Bar("SBRef1Vert")));
    QCOMPARE(r.m.Points[kes::RefPoint1].Y, -2.5f);

    r.Act("SetRefPoints")->trigger();
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("ZeroBtn")), Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(r.m.Points[kes::RefPoint1].Y, 0.0f);
    QCOMPARE(r.m.Points[kes::RefPoint2].X, 0.0f);
    QVERIFY(!r.m.ReferencePointsOn);
    QVERIFY(!r.controls->State().RefPt1ZeroEnabled);
}

void ControlsViewTest::graphicZoomDialog() {
    ControlsRig r;
    r.Act("SetGraphicZoom")->trigger();
    GraphicZoomDialog* dialog = r.controls->DialogForGraphicZoom();
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Set Zoom of Dimensional Graphic Position"));
    QCOMPARE(dialog->Field()->text(), QStringLiteral("7.50"));
    dialog->Field()->clear();
    QTest::keyClicks(dialog->Field(), "-0.1");
    QCOMPARE(dialog->Field()->text(), QStringLiteral("0.1"));
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    QCOMPARE(r.m.GraphicZoom, 0.5f);

    r.Act("SetGraphicZoom")->trigger();
    dialog->Field()->clear();
    QTest::keyClicks(dialog->Field(), "99999");
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    QCOMPARE(r.m.GraphicZoom, 2000.0f);
}

int main(int argc, char** argv) {
    ControlsViewTest test;
    return RunHeadless(test, argc, argv);
}

#include "controls_view_test.moc"
