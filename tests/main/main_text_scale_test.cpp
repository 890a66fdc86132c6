// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's top strip at both font sizes: with every panel on and
// long dynamic-variable names, no text the drawing prints lies under the
// pan, zoom or dynamic-variable bars or the UnDo button, and no two texts
// cover each other. With KESTROVE_LAYOUT_PNG_DIR set the picture is also
// written there as PNG for a look by eye.

#include "main/main_form.h"
#include "main/mechanism_view.h"
#include "main/scaled_controls.h"
#include "main_test_rig.h"
#include "main_text_recorder.h"
#include "picture/draw_constants.h"

#include <QAction>
#include <QDir>
#include <QFontMetrics>
#include <QImage>
#include <QScrollBar>
#include <QtTest>

namespace {

// The rectangle a text's characters cover; leading blanks cover nothing.
QRect InkRect(const QFontMetrics& metrics, const RecordedText& t) {
    const QString trimmed = t.Text.trimmed();
    const int lead = metrics.horizontalAdvance(t.Text.left(t.Text.indexOf(trimmed)));
    return metrics.tightBoundingRect(trimmed).translated(t.TopLeft +
                                                         QPoint(lead, metrics.ascent()));
}

} // namespace

class MainTextScaleTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QuietOffscreenMessages(); }
    void topStripTextsClearOfControls_data();
    void topStripTextsClearOfControls();
    void normalFontKeepsTheFixedPlaces();
};

void MainTextScaleTest::topStripTextsClearOfControls_data() {
    QTest::addColumn<bool>("large");
    QTest::newRow("normal") << false;
    QTest::newRow("large") << true;
}

void MainTextScaleTest::topStripTextsClearOfControls() {
    QFETCH(bool, large);
    kes::Model m;
    TMainForm form(m);
    form.StopAnimation();
    form.resize(1280, 900);
    form.show();
    for (const char* name : {"ReferPoints", "DynamicVari", "UnDoDisplay"}) {
        auto* action = form.findChild<QAction*>(QLatin1String(name));
        QVERIFY2(action, name);
        action->trigger();
    }
    const char* names[] = {"Drop Link to CrossH Vert", "Steam Port Width   Front",
                           "Valve Length   Front Half", "Gear Con Rod Lower BkS"};
    for (int s = 1; s <= 4; ++s)
        m.DynVarSlots[static_cast<size_t>(s)] = {s, -18.71f, names[s - 1]};
    m.UndoCount = 20;
    m.UndoRecord[1] = {4, -4.9f, -5.0f, names[0]};
    if (large) form.findChild<QAction*>(QStringLiteral("SetFont"))->trigger();
    QCOMPARE(m.TextScaleX != 1.0f, large);
    form.OnTick();
    QCoreApplication::processEvents();

    const QString dir = qEnvironmentVariable("KESTROVE_LAYOUT_PNG_DIR");
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        form.Picture()
            ->grab(QRect(0, 0, 820, 220))
            .save(QString("%1/main-%2.png").arg(dir, large ? "large" : "normal"));
    }

    QImage device(drawk::ImageWidth, drawk::ImageHeight, QImage::Format_RGB32);
    device.setDotsPerMeterX(drawk::ImageDotsPerMeter);
    device.setDotsPerMeterY(drawk::ImageDotsPerMeter);
    const QFontMetrics metrics(ScreenTextFont(m), &device);
    DrawState s;
    std::vector<std::pair<QString, QRect>> boxes;
    for (const RecordedText& t : RecordFrameTexts(m, s)) {
        if (t.TopLeft.y() > 215 || t.TopLeft.x() > 820 || t.Text.trimmed().isEmpty()) continue;
        boxes.emplace_back(t.Text.trimmed(), InkRect(metrics, t));
    }
    QVERIFY(boxes.size() > 25);

    QStringList faults;
    const char* controls[] = {"SBPanVert", "SBPanHorz", "SBZoom",    "SBDynVar1",
                              "SBDynVar2", "SBDynVar3", "SBDynVar4", "UnDoDn"};
    for (const char* name : controls) {
        auto* w = form.Picture()->findChild<QWidget*>(QLatin1String(name));
        QVERIFY2(w && w->isVisible(), name);
        for (const auto& [text, box] : boxes)
            if (w->geometry().intersects(box))
                faults << QString("%1 covers \"%2\"").arg(name, text);
    }
    for (size_t i = 0; i < boxes.size(); ++i)
        for (size_t j = i + 1; j < boxes.size(); ++j)
            if (boxes[i].second.intersects(boxes[j].second))
                faults << QString("\"%1\" / \"%2\"").arg(boxes[i].first, boxes[j].first);
    if (!faults.isEmpty()) QFAIL(qPrintable(faults.join("\n")));
}

void MainTextScaleTest::normalFontKeepsTheFixedPlaces() {
    kes::Model m;
    m.DynVarMode = true;
    const ScaledControlRects normal = ControlRectsFor(m);
    QCOMPARE(normal.PanVert, QRect(250, 25, 200, 13));
    QCOMPARE(normal.Zoom, QRect(250, 53, 200, 13));
    QCOMPARE(normal.DynVar[3], QRect(655, 107, 140, 11));
    QCOMPARE(normal.UnDo, QRect(270, 127, 46, 16));
    m.TextScaleX = 1.27f;
    m.TextScaleY = 1.22f;
    const ScaledControlRects large = ControlRectsFor(m);
    QVERIFY(large.PanVert.left() > normal.PanVert.left());
    QCOMPARE(large.UnDo.top(), 155); // 127 x 1.22
}

QTEST_MAIN(MainTextScaleTest)
#include "main_text_scale_test.moc"
