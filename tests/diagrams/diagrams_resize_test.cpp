// SPDX-License-Identifier: GPL-3.0-or-later
// Resizing a diagram window: the picture scales to fit keeping its aspect,
// the controls on it move and grow with it and still take clicks, and
// "Save Image..." keeps writing the picture at its own size.

#include "diagram_test_support.h"
#include "diagrams/diagram_fit.h"
#include "diagrams/oval_window.h"
#include "diagrams/picture_stamp.h"
#include "diagrams/sine_window.h"
#include "support/fake_main_link.h"

#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

namespace {

void Open(DiagramWindow& w, FakeMainLink& link) {
    const int before = link.stopCalls;
    w.show();
    QTRY_VERIFY(link.stopCalls > before);
}

// The client area as painted, without the controls on it.
QImage PaintedClient(DiagramWindow& w) {
    QImage image(w.Client()->size(), QImage::Format_RGB32);
    image.fill(Qt::red);
    w.Client()->render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    return image;
}

QRect InkBounds(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (IsDark(image, x, y)) box |= QRect(x, y, 1, 1);
    return box;
}

// How many of the picture's dark pixels (and of its pixels with white all
// round) show the same way where the fit puts them in the painted image.
struct Agreement {
    double Dark = 0;
    double White = 0;
};

Agreement Compare(const QImage& picture, const QImage& shown, const diagrams::PictureFit& fit) {
    int dark = 0, darkHits = 0, white = 0, whiteHits = 0;
    auto darkNear = [&](int cx, int cy) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int x = cx + dx, y = cy + dy;
                if (x >= 0 && y >= 0 && x < shown.width() && y < shown.height() &&
                    IsDark(shown, x, y))
                    return true;
            }
        return false;
    };
    for (int y = 2; y < picture.height() - 2; y += 1)
        for (int x = 2; x < picture.width() - 2; x += 1) {
            const QPointF c = fit.Offset + QPointF(x + 0.5, y + 0.5) * fit.Scale;
            const int sx = static_cast<int>(c.x()), sy = static_cast<int>(c.y());
            if (IsDark(picture, x, y)) {
                ++dark;
                darkHits += darkNear(sx, sy);
                continue;
            }
            bool allWhite = true;
            for (int dy = -2; dy <= 2 && allWhite; ++dy)
                for (int dx = -2; dx <= 2 && allWhite; ++dx)
                    allWhite = IsWhite(picture, x + dx, y + dy);
            if (!allWhite) continue;
            ++white;
            whiteHits += sx < shown.width() && sy < shown.height() && IsWhite(shown, sx, sy);
        }
    return {dark ? double(darkHits) / dark : 0, white ? double(whiteHits) / white : 0};
}

} // namespace

class DiagramResizeTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QuietOffscreenPlatform(); }
    void fitKeepsAspectAndCentres_data();
    void fitKeepsAspectAndCentres();
    void resizedPictureFillsTheWindow();
    void controlsFollowThePictureAndTakeClicks();
    void saveImageKeepsThePictureSize();
    void naturalSizeShowsThePictureAsIs();
};

void DiagramResizeTest::fitKeepsAspectAndCentres_data() {
    QTest::addColumn<QSize>("area");
    QTest::addColumn<double>("scale");
    QTest::addColumn<QPointF>("offset");
    QTest::newRow("own size") << QSize(632, 414) << 1.0 << QPointF(0, 0);
    QTest::newRow("twice") << QSize(1264, 828) << 2.0 << QPointF(0, 0);
    QTest::newRow("taller") << QSize(1264, 900) << 2.0 << QPointF(0, 36);
    QTest::newRow("wider") << QSize(700, 414) << 1.0 << QPointF(34, 0);
    QTest::newRow("half") << QSize(316, 207) << 0.5 << QPointF(0, 0);
    QTest::newRow("empty") << QSize(0, 0) << 1.0 << QPointF(0, 0);
}

void DiagramResizeTest::fitKeepsAspectAndCentres() {
    QFETCH(QSize, area);
    QFETCH(double, scale);
    QFETCH(QPointF, offset);
    const diagrams::PictureFit fit = diagrams::FitPicture(QSize(632, 414), area);
    QCOMPARE(fit.Scale, scale);
    QCOMPARE(fit.Offset, offset);
    const QRect button(408, 8, 75, 25);
    const QRect mapped = diagrams::MapToArea(fit, button);
    QCOMPARE(mapped.topLeft(), (offset + QPointF(408, 8) * scale).toPoint());
    QCOMPARE(mapped.size(), QSize(qRound(75 * scale), qRound(25 * scale)));
    QCOMPARE(diagrams::MapToPicture(fit, QPointF(mapped.topLeft())), QPointF(408, 8));
}

void DiagramResizeTest::resizedPictureFillsTheWindow() {
    auto m = FactoryModel();
    FakeMainLink link;
    DiagramTextState text;
    TSineDia sine(*m, link, text);
    Open(sine, link);
    sine.resize(1264, 864);
    QTRY_COMPARE(sine.size(), QSize(1264, 864));
    const QSize area = sine.Client()->size();
    QVERIFY(area.width() >= 1200 && area.height() >= 800);
    const diagrams::PictureFit fit = diagrams::FitPicture(sine.Picture().size(), area);
    QCOMPARE(sine.PictureScale(), fit.Scale);
    QVERIFY(fit.Scale > 1.9);

    const QImage shown = PaintedClient(sine);
    // Nothing left unpainted, and the ink spans the picture's ink scaled.
    QVERIFY(!shown.isNull() && shown.pixel(0, 0) != qRgb(255, 0, 0));
    QVERIFY(shown.pixel(area.width() - 1, area.height() - 1) != qRgb(255, 0, 0));
    const QRect ink = InkBounds(sine.Picture());
    const QRect shownInk = InkBounds(shown);
    QVERIFY(!ink.isEmpty());
    const QRect expected = diagrams::MapToArea(fit, ink);
    const int slack = static_cast<int>(fit.Scale) + 2;
    QVERIFY2(std::abs(shownInk.left() - expected.left()) <= slack &&
                 std::abs(shownInk.top() - expected.top()) <= slack &&
                 std::abs(shownInk.right() - expected.right()) <= slack &&
                 std::abs(shownInk.bottom() - expected.bottom()) <= slack,
             qPrintable(QString("ink %1,%2 %3x%4, expected %5,%6 %7x%8")
                            .arg(shownInk.x())
                            .arg(shownInk.y())
                            .arg(shownInk.width())
                            .arg(shownInk.height())
                            .arg(expected.x())
                            .arg(expected.y())
                            .arg(expected.width())
                            .arg(expected.height())));
    // Pixel by pixel: lines where the picture has lines, white where it is white.
    const Agreement scaled = Compare(sine.Picture(), shown, fit);
    QVERIFY2(scaled.Dark > 0.9 && scaled.White > 0.99,
             qPrintable(QString("dark %1 white %2").arg(scaled.Dark).arg(scaled.White)));
    // The same check fails for the picture merely drawn unscaled.
    const Agreement unscaled = Compare(sine.Picture(), shown, diagrams::PictureFit{});
    QVERIFY(unscaled.Dark < 0.8 || unscaled.White < 0.97);
}

void DiagramResizeTest::controlsFollowThePictureAndTakeClicks() {
    auto m = FactoryModel();
    FakeMainLink link;
    DiagramTextState text;
    TOvalDia oval(*m, link, text);
    Open(oval, link);
    oval.DynVarMenuClick();
    oval.resize(1264, 900);
    QTRY_COMPARE(oval.size(), QSize(1264, 900));
    const diagrams::PictureFit fit =
        diagrams::FitPicture(oval.Picture().size(), oval.Client()->size());
    QVERIFY(fit.Scale > 1.9);
    const QRect close = diagrams::MapToArea(fit, QRect(oval.Names().ClosePos, QSize(75, 25)));
    QCOMPARE(oval.CloseButton()->geometry(), close);
    for (int n = 1; n <= 4; ++n) {
        QScrollBar* bar = oval.DynVarBar(n);
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->geometry(), diagrams::MapToArea(fit, QRect(112, 3 + 12 * (n - 1), 121, 10)));
    }
    QCOMPARE(oval.UndoButton()->geometry(), diagrams::MapToArea(fit, QRect(110, 54, 40, 16)));

    // A click where the picture shows the button's middle lands on it.
    const QPoint middle =
        (fit.Offset + QPointF(oval.Names().ClosePos + QPoint(37, 12)) * fit.Scale).toPoint();
    QCOMPARE(oval.Client()->childAt(middle), oval.CloseButton());
    QTest::mouseClick(oval.CloseButton(), Qt::LeftButton, Qt::NoModifier,
                      oval.CloseButton()->mapFrom(oval.Client(), middle));
    QTRY_VERIFY(!oval.isVisible());
}

void DiagramResizeTest::saveImageKeepsThePictureSize() {
    auto m = FactoryModel();
    FakeMainLink link;
    DiagramTextState text;
    TSineDia sine(*m, link, text);
    Open(sine, link);
    sine.resize(1264, 864);
    QTRY_COMPARE(sine.size(), QSize(1264, 864));
    QCOMPARE(sine.Picture().size(), QSize(632, 414));
    QTemporaryDir dir;
    const QString png = dir.filePath("sine.png");
    sine.StampImages = false;
    QVERIFY(sine.SaveImage(png));
    QCOMPARE(QImage(png).convertToFormat(QImage::Format_RGB32), sine.Picture());

    // On request, twice the size: the same drawing, scaled.
    sine.SaveImageScale = 2;
    QVERIFY(sine.SaveImage(png));
    const QImage twice = QImage(png).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(twice.size(), QSize(1264, 828));
    const Agreement agree = Compare(sine.Picture(), twice, diagrams::PictureFit{2.0, {}});
    QVERIFY2(agree.Dark > 0.9 && agree.White > 0.99,
             qPrintable(QString("dark %1 white %2").arg(agree.Dark).arg(agree.White)));
    // Asked for by name, with the stamp: twice the picture, the strip below.
    sine.SaveImageScale = 1;
    sine.StampImages = true;
    const QString named = dir.filePath("sine@2x.png");
    QVERIFY(sine.SaveImage(named));
    QCOMPARE(QImage(named).size(), diagrams::StampedSize(QSize(1264, 828)));
    QVERIFY(sine.SaveImage(png));
    QCOMPARE(QImage(png).size(), diagrams::StampedSize(QSize(632, 414)));
}

void DiagramResizeTest::naturalSizeShowsThePictureAsIs() {
    auto m = FactoryModel();
    FakeMainLink link;
    DiagramTextState text;
    TSineDia sine(*m, link, text);
    Open(sine, link);
    const QSize natural = sine.size();
    QCOMPARE(sine.Client()->size(), QSize(632, 414));
    sine.resize(1264, 864);
    QTRY_COMPARE(sine.size(), QSize(1264, 864));
    QVERIFY(PaintedClient(sine).size() != sine.Picture().size());
    sine.resize(natural);
    QTRY_COMPARE(sine.Client()->size(), QSize(632, 414));
    QCOMPARE(sine.PictureScale(), 1.0);
    // On a high-density screen the picture is drawn again at the finer pixels.
    if (sine.Client()->devicePixelRatioF() == 1.0) {
        QCOMPARE(PaintedClient(sine), sine.Picture());
    } else {
        const Agreement agree = Compare(sine.Picture(), PaintedClient(sine), {});
        QVERIFY(agree.Dark > 0.9 && agree.White > 0.99);
    }
    QCOMPARE(sine.CloseButton()->geometry(), QRect(408, 8, 75, 25));
}

QTEST_MAIN(DiagramResizeTest)
#include "diagrams_resize_test.moc"
