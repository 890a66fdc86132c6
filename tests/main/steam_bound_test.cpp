// SPDX-License-Identifier: GPL-3.0-or-later
// The steam display's dots are bounded by what can land on the 1280 x 1024
// picture, whatever the view: counted through a paint engine that sees every
// dot a frame paints.

#include "model/model.h"
#include "model/rounding.h"
#include "picture/animation_tick.h"
#include "picture/draw_constants.h"
#include "picture/draw_state.h"
#include "picture/mechanism_painter.h"
#include "picture/steam_display.h"
#include "support/recording_paint_device.h"

#include <QPainter>
#include <QTest>

#include <cmath>
#include <limits>

namespace {

class DotCountingEngine : public RecordingPaintEngine {
  public:
    void drawPoints(const QPoint* points, int count) override {
        for (int i = 0; i < count; ++i) {
            ++Dots;
            if (points[i].x() < 0 || points[i].y() < 0 || points[i].x() >= drawk::ImageWidth ||
                points[i].y() >= drawk::ImageHeight)
                ++OffPicture;
        }
    }
    void drawPoints(const QPointF* points, int count) override {
        for (int i = 0; i < count; ++i)
            drawPoints(std::array<QPoint, 1>{points[i].toPoint()}.data(), 1);
    }
    int64_t Dots = 0;
    int64_t OffPicture = 0;
};

class DotCountingDevice : public RecordingPaintDevice {
  public:
    DotCountingDevice() : RecordingPaintDevice(QSize(drawk::ImageWidth, drawk::ImageHeight)) {}
    QPaintEngine* paintEngine() const override { return &engine; }
    mutable DotCountingEngine engine;
};

struct SteamFrame {
    kes::Model m;
    DrawState s;

    SteamFrame() {
        kes::InitialiseModel(m);
        m.SteamDisplayOn = true;
        m.StepAngle = 0.0f;
        s.FixedSeed = 777u;
        // Both ends at the top of their pressure, the exhausts open: every
        // group at its largest.
        s.FrontSteamPressure = s.RearSteamPressure = 2000.0f;
    }

    DotCountingEngine& Draw() {
        PrepareFrame(m, s);
        m.Solver.FrontExhaustOpen = m.Solver.RearExhaustOpen = 0.1f;
        device = std::make_unique<DotCountingDevice>();
        QPainter painter(device.get());
        FrameOutcome out;
        DrawMechanism(painter, m, s, out);
        return device->engine;
    }

    std::unique_ptr<DotCountingDevice> device;
};

int64_t Count(double v) {
    return std::max<int64_t>(kes::RoundHalfEven(v), 0);
}

} // namespace

class SteamBoundTest : public QObject {
    Q_OBJECT
  private slots:
    void hostileViewsAreBounded_data();
    void hostileViewsAreBounded();
    void factoryViewKeepsEveryDot();
    void viewPartlyOffThePictureKeepsTheDensity();
};

void SteamBoundTest::hostileViewsAreBounded_data() {
    QTest::addColumn<float>("scale");
    QTest::addColumn<float>("offsetX");
    QTest::addColumn<float>("offsetY");
    constexpr float inf = std::numeric_limits<float>::infinity();
    QTest::newRow("30000") << 30000.0f << 100.0f << 280.0f;
    QTest::newRow("30000 centred on the chest") << 30000.0f << -1.0e6f << 1.5e5f;
    QTest::newRow("1e6") << 1.0e6f << 100.0f << 280.0f;
    QTest::newRow("+Inf") << inf << 100.0f << 280.0f;
    QTest::newRow("-Inf") << -inf << 100.0f << 280.0f;
    QTest::newRow("NaN") << std::numeric_limits<float>::quiet_NaN() << 100.0f << 280.0f;
    QTest::newRow("largest float") << std::numeric_limits<float>::max() << 0.0f << 0.0f;
    QTest::newRow("far offsets") << 19.0f << 1.0e30f << -1.0e30f;
}

void SteamBoundTest::hostileViewsAreBounded() {
    QFETCH(float, scale);
    QFETCH(float, offsetX);
    QFETCH(float, offsetY);
    SteamFrame f;
    f.m.CurrentView = {scale, offsetX, offsetY};
    const DotCountingEngine& e = f.Draw();
    QVERIFY2(e.Dots <= SteamDotGroups * MaxSteamGroupDots, qPrintable(QString::number(e.Dots)));
    QCOMPARE(e.OffPicture, int64_t{0});
}

void SteamBoundTest::factoryViewKeepsEveryDot() {
    // At the factory view the whole cylinder is on the picture: every dot of
    // every group is drawn, as many as the scale and the pressures ask for.
    SteamFrame f;
    const DotCountingEngine& e = f.Draw();
    const auto& cyl = f.s.Outlines.Cylinder;
    const auto& val = f.s.Outlines.Valve;
    const auto& pis = f.s.Outlines.Piston;
    const double scale = f.m.CurrentView.Scale;
    const int64_t chest = Count(drawk::ChestDots * scale);
    int64_t expected = Count(drawk::ChestTopDots * scale) + chest;
    if (cyl[1].x() < val[0].x()) expected += chest;
    if (val[1].x() < cyl[12].x()) expected += chest;
    const int64_t n = Count(2000.0 * scale / drawk::PressureToDots);
    expected += (pis[4].x() < cyl[7].x() ? n : 0) + n / 8 + n / 20;
    expected += (cyl[5].x() < pis[1].x() ? n : 0) + n / 8 + n / 20;
    expected += 2 * (n / 10 + n / 15 + n / 20 + n / 6);
    QCOMPARE(e.Dots, expected);
    QCOMPARE(e.OffPicture, int64_t{0});
}

void SteamBoundTest::viewPartlyOffThePictureKeepsTheDensity() {
    // Moving the picture so that part of the gear leaves it takes away the
    // dots that would have fallen off, and no more: the dots still drawn
    // are the same share as before of the ones drawn with it all in view.
    SteamFrame all;
    const int64_t whole = all.Draw().Dots;
    SteamFrame part;
    const auto& cyl = all.s.Outlines.Cylinder;
    // The cylinder's middle at the picture's left edge.
    const int middle = (cyl[5].x() + cyl[7].x()) / 2;
    part.m.CurrentView.OffsetX -= static_cast<float>(middle);
    const int64_t half = part.Draw().Dots;
    QVERIFY2(half < whole * 3 / 4 && half > whole / 4,
             qPrintable(QStringLiteral("%1 of %2").arg(half).arg(whole)));
}

QTEST_MAIN(SteamBoundTest)
#include "steam_bound_test.moc"
