// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's smallest size: with every panel shown, no control on
// the picture and no read-out the drawing prints is cut off.

#include "main/main_form.h"
#include "main/mechanism_view.h"
#include "main_test_rig.h"
#include "main_text_recorder.h"
#include "picture/draw_constants.h"

#include <QAction>
#include <QFontMetrics>
#include <QImage>
#include <QTest>

class MainMinimumSizeTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QuietOffscreenMessages(); }
    void shrunkWindowKeepsEveryReadOut();
};

void MainMinimumSizeTest::shrunkWindowKeepsEveryReadOut() {
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
    form.resize(100, 100);
    QTRY_VERIFY(form.width() > 100 && form.height() > 100);
    const QRect picture = form.Picture()->rect();
    QVERIFY(picture.width() < 1000 && picture.height() < 400); // it did shrink

    int shown = 0;
    for (QWidget* w : form.Picture()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!w->isVisible()) continue;
        ++shown;
        QVERIFY2(picture.contains(w->geometry()), qPrintable(w->objectName()));
    }
    QVERIFY(shown > 30);

    // The texts of the top strip, measured in the drawing's own font.
    QFont font(drawk::FontFamily);
    font.setPointSizeF(drawk::FontPoints);
    font.setStretch(drawk::FontStretch);
    QImage device(drawk::ImageWidth, drawk::ImageHeight, QImage::Format_RGB32);
    device.setDotsPerMeterX(drawk::ImageDotsPerMeter);
    device.setDotsPerMeterY(drawk::ImageDotsPerMeter);
    const QFontMetrics metrics(font, &device);
    DrawState s;
    int readOuts = 0;
    for (const RecordedText& t : RecordFrameTexts(m, s)) {
        if (t.TopLeft.y() > 215 || t.TopLeft.x() > 800) continue;
        ++readOuts;
        const QRect box(t.TopLeft, QSize(metrics.horizontalAdvance(t.Text.trimmed()),
                                         metrics.ascent() + metrics.descent()));
        QVERIFY2(picture.contains(box), qPrintable(t.Text));
    }
    QVERIFY(readOuts > 25);
}

QTEST_MAIN(MainMinimumSizeTest)
#include "main_minimum_size_test.moc"
