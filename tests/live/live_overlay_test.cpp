// SPDX-License-Identifier: GPL-3.0-or-later
// A second design under the current one: with itself it changes no pixel
// of the picture; with another design its lines show grey only where the
// current picture is white; tiles keep their place; the command line draws
// the same picture.
#include "diagrams/diagram_paint.h"
#include "diagrams/diagram_render.h"
#include "live/live_job.h"
#include "main/main_test_rig.h"
#include "model/dimensions.h"
#include "model/model.h"
#include "overlay/live_positions.h"
#include "overlay/overlay_render.h"
#include "overlay/second_design_device.h"

#include <QApplication>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

std::shared_ptr<kes::Model> Factory(char portMode = 'B') {
    kes::Model m;
    kes::InitialiseModel(m);
    return live::DrawingCopy(m, overlay::DefaultLiveOffsets(m), portMode);
}

QImage Plain(const diagrams::DiagramKind& kind, kes::Model m) {
    DiagramTextState text;
    return diagrams::RenderDiagram(kind, m, text);
}

QImage Compared(const diagrams::DiagramKind& kind, kes::Model m, kes::Model second) {
    DiagramTextState text;
    return overlay::RenderCompared(kind, m, &second, {QStringLiteral("a"), QStringLiteral("b")},
                                   text);
}

int CountColour(const QImage& image, QRect area, QColor colour) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += image.pixelColor(x, y) == colour;
    return n;
}

} // namespace

class LiveOverlayTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QuietOffscreenMessages(); }

    void aDesignOverItselfIsThePlainPicture() {
        const auto m = Factory();
        for (const diagrams::DiagramKind& kind : diagrams::DiagramKinds()) {
            const QImage plain = Plain(kind, *m);
            const QImage both = Compared(kind, *m, *m);
            QCOMPARE(both.size(), kind.ClientSize + QSize(0, overlay::LegendHeight));
            QCOMPARE(both.copy(QRect(QPoint(0, 0), kind.ClientSize)), plain);
            // The legend's dashed sample is the only grey.
            QVERIFY(CountColour(both,
                                QRect(0, kind.ClientSize.height(), kind.ClientSize.width(),
                                      overlay::LegendHeight),
                                overlay::SecondDesignGrey) > 0);
        }
    }

    void anotherDesignShowsGreyOnlyWhereThePlainPictureIsWhite() {
        const auto m = Factory();
        kes::Model other = *m;
        kes::SetDimension(other, 10, 6.6f); // ValveRodLength
        for (const diagrams::DiagramKind& kind : diagrams::DiagramKinds()) {
            const QImage plain = Plain(kind, *m);
            const QImage both = Compared(kind, *m, other);
            int grey = 0;
            for (int y = 0; y < kind.ClientSize.height(); ++y)
                for (int x = 0; x < kind.ClientSize.width(); ++x) {
                    const QColor p = plain.pixelColor(x, y), b = both.pixelColor(x, y);
                    if (p == b) continue;
                    QCOMPARE(p, QColor(Qt::white));
                    QCOMPARE(b, overlay::SecondDesignGrey);
                    ++grey;
                }
            QVERIFY2(grey > 100, kind.Name.data());
        }
    }

    void dashesAreLeftOutAlongTheLine() {
        // One long grey line through the device: some of its pixels are
        // gaps, so it reads as dashed, and none lies off the line.
        QImage image(200, 10, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter target(&image);
        overlay::SecondDesignDevice device(target, image.size());
        QPainter p(&device);
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(0, 5, 199, 5);
        p.end();
        target.end();
        const int grey = CountColour(image, QRect(0, 5, 200, 1), overlay::SecondDesignGrey);
        QVERIFY(grey > 60 && grey < 190);
        QCOMPARE(CountColour(image, image.rect(), overlay::SecondDesignGrey), grey);
    }

    void eachTileOfAllFourIsItsDiagram() {
        live::LiveRequest request;
        request.Choice = live::LiveChoice::AllFour;
        request.Current = Factory();
        request.Second = Factory();
        kes::SetDimension(*request.Second, 10, 6.6f);
        kes::Model current = *request.Current, second = *request.Second;
        const live::LiveResult result = live::DrawLive(request);
        const auto tiles = live::TilesOf(live::LiveChoice::AllFour, true);
        QCOMPARE(tiles.size(), size_t{4});
        for (const live::Tile& t : tiles) {
            const auto& kind = diagrams::DiagramKinds()[static_cast<size_t>(t.View)];
            DiagramTextState text;
            const QImage alone = overlay::RenderCompared(kind, current, &second, {}, text);
            const QRect picture(t.Area.topLeft(), kind.ClientSize);
            const QImage tile = result.Picture.copy(picture);
            const QImage own = alone.copy(QRect(QPoint(0, 0), kind.ClientSize));
            if (tile != own) {
                tile.save(QStringLiteral("tile.out.png"));
                own.save(QStringLiteral("tile.expected.png"));
            }
            QCOMPARE(tile, own);
        }
        // A point of the third tile reads as the steam diagram's own point.
        const auto at = live::TileAt(live::LiveChoice::AllFour, true,
                                     tiles[2].Area.topLeft() + QPoint(100, 50));
        QVERIFY(at);
        QCOMPARE(at->first, live::DiagramView::Steam);
        QCOMPARE(at->second, QPoint(100, 50));
    }

    void positionsFollowEachDesignsMidGear() {
        kes::Model m;
        kes::InitialiseModel(m);
        const std::vector<float> offsets = overlay::DefaultLiveOffsets(m);
        QCOMPARE(offsets, (std::vector<float>{0.0f, m.Frame.RevArmNorm, -m.Frame.RevArmNorm}));
        overlay::ApplyOffsets(m, offsets);
        QCOMPARE(m.RevArmPositionCount, 3);
        QCOMPARE(m.RevArmPositions[2], m.MidGear() + m.Frame.RevArmNorm);
        QCOMPARE(m.RevArmPositions[4], 0.0f);
        // The same offsets on a design whose mid gear lies elsewhere.
        m.RevArmPositions[0] += 0.25f;
        overlay::ApplyOffsets(m, overlay::TableOffsets(m));
        QCOMPARE(m.RevArmPositions[1], m.MidGear() - 0.25f);
        // Ten offsets keep nine.
        overlay::ApplyOffsets(m, std::vector<float>(10, 0.1f));
        QCOMPARE(m.RevArmPositionCount, 9);
    }

    void commandLineDrawsTheSamePicture() {
        QTemporaryDir dir;
        const QString sample = QStringLiteral(KESTROVE_TEST_DATA "/small-engine.kvd");
        const QString out = dir.filePath(QStringLiteral("sine.png"));
        const QString plainOut = dir.filePath(QStringLiteral("plain.png"));
        const auto run = [](const QStringList& args) {
            QProcess p;
            p.start(QStringLiteral(KESTROVE_CLI), args);
            return p.waitForFinished(60000) && p.exitCode() == 0;
        };
        QVERIFY(run({QStringLiteral("diagram"), QStringLiteral("sine"), QStringLiteral("--bare"),
                     QStringLiteral("--compare"), sample, QStringLiteral("-o"), out}));
        QVERIFY(run({QStringLiteral("diagram"), QStringLiteral("sine"), QStringLiteral("--bare"),
                     QStringLiteral("-o"), plainOut}));
        const QImage drawn(out), plain(plainOut);
        QCOMPARE(drawn.size(), plain.size() + QSize(0, overlay::LegendHeight));
        QVERIFY(CountColour(drawn, plain.rect(), overlay::SecondDesignGrey) > 100);
        // Under the grey, the current design's picture unchanged.
        for (int y = 0; y < plain.height(); ++y)
            for (int x = 0; x < plain.width(); ++x)
                if (drawn.pixelColor(x, y) != overlay::SecondDesignGrey)
                    QCOMPARE(drawn.pixelColor(x, y), plain.pixelColor(x, y));
        // A file that cannot be read is an error, and no picture is written.
        const QString bad = dir.filePath(QStringLiteral("bad.png"));
        QVERIFY(
            !run({QStringLiteral("diagram"), QStringLiteral("sine"), QStringLiteral("--compare"),
                  dir.filePath(QStringLiteral("missing.kvd")), QStringLiteral("-o"), bad}));
        QVERIFY(!QFile::exists(bad));
    }
};

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    LiveOverlayTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "live_overlay_test.moc"
