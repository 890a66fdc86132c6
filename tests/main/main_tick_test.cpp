// SPDX-License-Identifier: GPL-3.0-or-later
// The animation tick: its order, the driver angle's advance and wrap, the
// mapping of the points to the screen and the outlines it rebuilds.

#include "main_test_rig.h"
#include "model/dimensions.h"
#include "model/rounding.h"

#include <QGuiApplication>
#include <QTest>

#include <cmath>

class MainTickTest : public QObject {
    Q_OBJECT
  private slots:
    void forwardWrapKeeps360();
    void reverseFromZeroGives350();
    void wrapBoundaryIs360Point1();
    void drawsTheAngleBeforeTheAdvance();
    void stoppedStillSolvesAndRedraws();
    void pivotSlotsHoldAbsolutePositions();
    void mappingRoundsHalfToEven();
    void outlinesFollowTheirTable();
    void outlinesFollowTheView();
};

void MainTickTest::forwardWrapKeeps360() {
    FrameRig rig;
    rig.m.DriverAngle = 0.0f;
    rig.m.StepAngle = 10.0f;
    rig.m.GearDirection = kes::GearDir::Fwd;
    std::vector<float> seen;
    for (int i = 0; i < 37; ++i) {
        rig.Tick();
        seen.push_back(rig.m.DriverAngle);
    }
    for (int i = 0; i < 36; ++i)
        QCOMPARE(seen[static_cast<size_t>(i)], 10.0f * (i + 1));
    QCOMPARE(seen[35], 360.0f); // kept: 360 is not above 360.1
    QCOMPARE(seen[36], 10.0f);  // 370 - 360
}

void MainTickTest::reverseFromZeroGives350() {
    FrameRig rig;
    rig.m.DriverAngle = 0.0f;
    rig.m.StepAngle = 10.0f;
    rig.m.GearDirection = kes::GearDir::Rev;
    rig.Tick();
    QCOMPARE(rig.m.DriverAngle, 350.0f);
    rig.Tick();
    QCOMPARE(rig.m.DriverAngle, 340.0f);
}

void MainTickTest::wrapBoundaryIs360Point1() {
    kes::Model m;
    m.StepAngle = 0.05f;
    m.DriverAngle = 360.0f;
    AdvanceDriver(m);
    QCOMPARE(m.DriverAngle, 360.05f); // still within 360.1
    AdvanceDriver(m);
    AdvanceDriver(m);
    QVERIFY(m.DriverAngle < 1.0f && m.DriverAngle > 0.0f);
    m.StepAngle = 0.0f;
    m.DriverAngle = 123.0f;
    AdvanceDriver(m);
    QCOMPARE(m.DriverAngle, 123.0f);
}

void MainTickTest::drawsTheAngleBeforeTheAdvance() {
    FrameRig rig;
    rig.m.DriverAngle = 30.0f;
    rig.m.StepAngle = 10.0f;
    rig.Tick();
    QCOMPARE(rig.m.DriverAngle, 40.0f);
    const double r = rig.m.Frame.StrokeLength / 2.0;
    const double a = 30.0 * std::numbers::pi / 180.0;
    QVERIFY(std::abs(rig.m.Points[kes::CrankPin].X - r * std::cos(a)) < 1e-4);
    QVERIFY(std::abs(rig.m.Points[kes::CrankPin].Y + r * std::sin(a)) < 1e-4);
    // The crank pin's circle is drawn where the solve put it.
    const QPoint p12 = rig.Screen(kes::CrankPin);
    const int radius = kes::RoundHalfEven(0.05 * rig.m.Frame.DriverDiameter * 19.0);
    QVERIFY(rig.ColourNear(p12 + QPoint(0, -radius), 0x000000, 1));
}

void MainTickTest::stoppedStillSolvesAndRedraws() {
    FrameRig rig;
    rig.m.StepAngle = 0.0f;
    rig.m.DriverAngle = 45.0f;
    rig.Tick();
    const QImage before = rig.image.copy();
    const QPoint crossheadBefore = rig.Screen(kes::Crosshead);
    rig.Tick();
    QCOMPARE(rig.m.DriverAngle, 45.0f);
    QCOMPARE(rig.image, before);
    // An edit shows at the next tick although the driver stands still.
    kes::SetDimension(rig.m, 3, 18.0f);
    rig.Tick();
    QVERIFY(rig.Screen(kes::Crosshead).x() > crossheadBefore.x() + 20);
    QVERIFY(rig.image != before);
}

void MainTickTest::pivotSlotsHoldAbsolutePositions() {
    FrameRig rig;
    rig.m.CurrentView = {31.0f, 57.0f, 333.0f};
    rig.Tick();
    const auto& pt = rig.m.Points;
    const double s = 31, ox = 57, oy = 333;
    const double x16 = pt[16].X, y16 = pt[16].Y;
    // World slot 11 still holds the offsets from the gear mounting...
    QCOMPARE(pt[11].X, 2.961f);
    QCOMPARE(pt[11].Y, 1.75f);
    // ...but its screen slot the pivot itself.
    QCOMPARE(pt[11].SX, kes::RoundHalfEven((x16 - pt[11].X) * s + ox));
    QCOMPARE(pt[11].SY, kes::RoundHalfEven((pt[11].Y - y16) * s + oy));
    QCOMPARE(pt[6].SX, kes::RoundHalfEven(ox + s * (x16 - pt[6].X)));
    QCOMPARE(pt[6].SY, kes::RoundHalfEven(oy - s * (y16 + pt[6].Y)));
    // The same as the solver's absolute pivots, mapped plainly.
    QCOMPARE(pt[11].SX, pt[kes::RevArmPivotAbs].SX);
    QCOMPARE(pt[6].SY, pt[kes::BellCrankPivotAbs].SY);
    for (int i : {0, 1, 2, 3, 4, 5, 7, 8, 9, 10, 12, 14, 15, 16, 21}) {
        QCOMPARE(pt[static_cast<size_t>(i)].SX,
                 kes::RoundHalfEven(pt[static_cast<size_t>(i)].X * s + ox));
        QCOMPARE(pt[static_cast<size_t>(i)].SY,
                 kes::RoundHalfEven(-pt[static_cast<size_t>(i)].Y * s + oy));
    }
}

void MainTickTest::mappingRoundsHalfToEven() {
    kes::Model m;
    kes::InitialiseModel(m);
    m.CurrentView = {1.0f, 2.5f, 3.5f};
    m.Points[kes::RefPoint1] = {1.0f, 0.0f, 0, 0};
    MapPointsToScreen(m);
    QCOMPARE(m.Points[kes::DriverCentre].SX, 2); // 2.5 -> 2
    QCOMPARE(m.Points[kes::DriverCentre].SY, 4); // 3.5 -> 4
    QCOMPARE(m.Points[kes::RefPoint1].SX, 4);    // 3.5 -> 4
    m.CurrentView = {1e30f, 0.0f, 0.0f};
    m.Points[kes::RefPoint1] = {1.0f, -1.0f, 0, 0};
    MapPointsToScreen(m); // held far outside the picture instead of overflowing
    QCOMPARE(m.Points[kes::RefPoint1].SX, ScreenPixelLimit);
    QCOMPARE(m.Points[kes::RefPoint1].SY, ScreenPixelLimit);
    // The absolute pivots too.
    QCOMPARE(m.Points[kes::RevArmPivot].SY, -ScreenPixelLimit);
    QCOMPARE(m.Points[kes::BellCrankPivot].SY, -ScreenPixelLimit);
}

void MainTickTest::outlinesFollowTheirTable() {
    kes::Model m;
    kes::InitialiseModel(m);
    m.CurrentView = {20.0f, 10.0f, 300.0f};
    m.Points[kes::Crosshead] = {20.0f, 0.5f, 0, 0};
    m.Points[kes::ValveStemJoint] = {19.0f, 3.5f, 0, 0};
    CylinderOutlines o;
    ComputeCylinderOutlines(m, o);
    const auto& c = m.Cylinder;
    auto xp = [](double x) { return kes::RoundHalfEven(10.0 + 20.0 * x); };
    auto yp = [](double y) { return kes::RoundHalfEven(300.0 - 20.0 * y); };
    const double e = c[kes::CylCtrToDriver], cl = 0.5, vs = cl + c[kes::ValveSurfaceToCylCL];
    const double h = c[kes::ExhaustPortWidth] / 2;
    QCOMPARE(o.Cylinder[0], QPoint(xp(e - h), yp(vs + c[kes::ValveChamberHeight])));
    QCOMPARE(o.Cylinder[3],
             QPoint(xp(e - h - c[kes::BridgeWidthRear] - c[kes::SteamPortWidthRear]), yp(vs)));
    QCOMPARE(o.Cylinder[4].y(), yp(vs - c[kes::ExhaustPortWidth] / 3));
    QCOMPARE(o.Cylinder[7],
             QPoint(xp(e + c[kes::BoreLength] / 2), yp(cl - c[kes::BoreDiameter] / 2)));
    QCOMPARE(o.Cylinder[9].x(), xp(e + h + c[kes::BridgeWidthFront] + c[kes::SteamPortWidthFront]));
    QCOMPARE(o.Cylinder[14], QPoint(o.Cylinder[0].x(), yp(vs - c[kes::SteamPortWidthRear])));
    QCOMPARE(o.Port[2],
             QPoint(xp(e - h - c[kes::BridgeWidthRear]), yp(vs - c[kes::ExhaustPortWidth] / 1.5)));
    QCOMPARE(o.Port[4], QPoint(xp(e + c[kes::BoreLength] / 2 - c[kes::CylSteamPortWidth]),
                               yp(cl + c[kes::BoreDiameter] / 2)));
    QCOMPARE(o.Port[8], QPoint(xp(e + h), yp(vs - c[kes::SteamPortWidthRear])));
    QCOMPARE(o.Piston[0],
             QPoint(xp(20 + c[kes::PistonRodLength] + c[kes::PistonWidth] / 2), yp(cl)));
    QCOMPARE(o.Piston[2], QPoint(xp(20 + c[kes::PistonRodLength] - c[kes::PistonWidth] / 2),
                                 yp(cl - c[kes::BoreDiameter] / 2)));
    QCOMPARE(o.Piston[5],
             QPoint(xp(19 + c[kes::ValveCtrToJoint] - c[kes::ValveLengthRear]), yp(3.5)));
    const double vc = 19 + c[kes::ValveCtrToJoint];
    QCOMPARE(o.Valve[0], QPoint(o.Piston[5].x(), yp(vs + c[kes::ValveHeight])));
    QCOMPARE(o.Valve[1].x(), xp(vc + c[kes::ValveLengthFront]));
    QCOMPARE(o.Valve[3], QPoint(xp(vc + c[kes::ExhCavityFront]), yp(vs)));
    // A third of the way down, in whole pixels of the outline itself.
    QCOMPARE(o.Valve[4].y(), o.Valve[0].y() + (o.Valve[2].y() - o.Valve[0].y()) / 3);
    QCOMPARE(o.Valve[5], QPoint(xp(vc - c[kes::ExhCavityRear]), o.Valve[4].y()));
    QCOMPARE(o.Valve[7], QPoint(o.Piston[5].x(), yp(vs)));
}

void MainTickTest::outlinesFollowTheView() {
    FrameRig rig;
    rig.Tick();
    const CylinderOutlines before = rig.s.Outlines;
    rig.m.CurrentView.OffsetX += 40.0f;
    rig.m.CurrentView.OffsetY -= 10.0f;
    rig.Tick();
    for (size_t i = 0; i < before.Cylinder.size(); ++i)
        QCOMPARE(rig.s.Outlines.Cylinder[i], before.Cylinder[i] + QPoint(40, -10));
    // The bore's corners are drawn grey.
    const QPoint corner = rig.s.Outlines.Cylinder[7];
    QVERIFY(rig.ColourNear(corner + QPoint(0, -3), 0x808080, 0));
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    MainTickTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "main_tick_test.moc"
