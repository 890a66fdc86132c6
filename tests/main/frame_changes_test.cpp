// SPDX-License-Identifier: GPL-3.0-or-later
// What a frame changed on the screen: the places of the items that differ
// from the last frame's, old and new; everything when there is nothing to
// compare with. On a turning gear every pixel that changed is inside what is
// presented, that is far less than the picture, and a frame cleared only
// where the last one drew comes out pixel for pixel as one cleared whole.
#include "picture/frame_changes.h"
#include "main_test_rig.h"

#include <QGuiApplication>
#include <QTest>

namespace {

DrawnItem BoxItem(uint64_t key, QRect box) {
    DrawnItem item;
    item.Key = key;
    item.Box = box;
    return item;
}

DrawnItem Segment(uint64_t key, QPoint a, QPoint b) {
    DrawnItem item;
    item.Key = key;
    item.IsSegment = true;
    item.A = a;
    item.B = b;
    item.Pad = 2;
    return item;
}

qint64 Area(const QRegion& r) {
    qint64 area = 0;
    for (const QRect& rect : r)
        area += static_cast<qint64>(rect.width()) * rect.height();
    return area;
}

// Every pixel in which a and b differ lies in r.
QString Uncovered(const QImage& a, const QImage& b, const QRegion& r, const QRect& screen) {
    for (int y = screen.top(); y <= screen.bottom(); ++y)
        for (int x = screen.left(); x <= screen.right(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y) && !r.contains(QPoint(x, y)))
                return QString("(%1, %2)").arg(x).arg(y);
    return {};
}

} // namespace

class FrameChangesTest : public QObject {
    Q_OBJECT
  private slots:
    void onlyChangedItemsArePresented() {
        FrameChanges changes;
        const QRect screen(0, 0, 400, 300);
        DrawnItems items{BoxItem(1, QRect(10, 10, 20, 20)), BoxItem(2, QRect(300, 200, 30, 30)),
                         Segment(3, QPoint(0, 0), QPoint(399, 299))};
        QCOMPARE(changes.Update(items, screen), QRegion(screen)); // nothing to compare with
        QVERIFY(changes.Update(items, screen).isEmpty());

        // An item moved: its old place and its new one, nothing else.
        items[1] = BoxItem(20, QRect(200, 40, 30, 30));
        const QRegion moved = changes.Update(items, screen);
        QVERIFY(moved.contains(QPoint(310, 210)) && moved.contains(QPoint(210, 50)));
        QVERIFY(!moved.contains(QPoint(15, 15)));
        QVERIFY(!moved.contains(QPoint(100, 250)));
        QVERIFY(changes.Update(items, screen).isEmpty());

        // A diagonal line: the tiles along it, not its whole box.
        items[2] = Segment(30, QPoint(0, 0), QPoint(399, 299));
        const QRegion line = changes.Update(items, screen);
        QVERIFY(line.contains(QPoint(200, 150)));
        QVERIFY(!line.contains(QPoint(390, 10)) && !line.contains(QPoint(10, 290)));

        // Another number of items, or another screen, and all is presented.
        items.push_back(BoxItem(4, QRect(5, 5, 2, 2)));
        QCOMPARE(changes.Update(items, screen), QRegion(screen));
        const QRect larger(0, 0, 640, 480);
        QCOMPARE(changes.Update(items, larger), QRegion(larger));
        changes.Forget();
        QCOMPARE(changes.Update(items, larger), QRegion(larger));
    }

    void aTurningGearIsPresentedWholeWhereItChanged() {
        for (const bool steam : {false, true}) {
            FrameRig rig;
            rig.m.StepAngle = 2.0f;
            rig.m.SteamDisplayOn = steam;
            FrameChanges changes;
            const QRect screen(0, 0, 800, 600);
            rig.Tick();
            changes.Update(rig.s.Drawn, screen);
            for (int i = 0; i < 12; ++i) {
                const QImage before = rig.image.copy();
                rig.Tick();
                const QRegion changed = changes.Update(rig.s.Drawn, screen);
                const QString missed = Uncovered(before, rig.image, changed, screen);
                QVERIFY2(missed.isEmpty(), qPrintable(missed + " changed, not presented"));
                if (!steam)
                    QVERIFY2(Area(changed) < Area(QRegion(screen)) / 2,
                             qPrintable(QString::number(Area(changed))));
            }
        }
    }

    void aFrameClearedWhereTheLastDrewIsAsOneClearedWhole() {
        FrameRig rig;
        rig.m.StepAngle = 7.0f;
        DrawState fresh = rig.s;
        for (int i = 0; i < 20; ++i) {
            kes::Model copy = rig.m;
            QImage whole = NewFrameImage();
            fresh = rig.s;
            FrameOutcome a, b;
            RunTick(copy, fresh, whole, a); // another image: cleared whole
            RunTick(rig.m, rig.s, rig.image, b);
            QVERIFY(rig.image == whole);
        }
        // An image changed behind the drawing's back is cleared whole.
        rig.image.setPixel(1200, 1000, qRgb(0, 0, 0));
        rig.Tick();
        QCOMPARE(rig.image.pixel(1200, 1000), qRgb(255, 255, 255));
    }
};

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    FrameChangesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "frame_changes_test.moc"
