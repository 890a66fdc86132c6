// SPDX-License-Identifier: GPL-3.0-or-later
// Dimension highlight mode: the view it zooms to, the blinking segment,
// the dialog it closes and reopens, its end after 1000 frames or a click.

#include "main_test_rig.h"
#include "main_text_recorder.h"
#include "model/dimensions.h"
#include "picture/dimension_highlight.h"

#include <QGuiApplication>
#include <QTest>

namespace {

constexpr QRgb Red = 0xFF0000, Black = 0x000000;

struct Expected {
    int Id;
    float K;
    bool Offsets;
    float X, Y;
};

// The table of the views, written out again here from the program's
// description so that a slip in either copy shows.
constexpr Expected Views[] = {
    {1, 30, true, 290, 212},     {2, 30, true, 290, 212},     {3, 19, false, 0, 0},
    {4, 62, true, -780, 212},    {5, 62, true, -780, 212},    {6, 62, true, -780, 212},
    {7, 62, true, -872, 335},    {8, 62, true, -872, 335},    {9, 62, true, -872, 335},
    {10, 33, true, -100, 320},   {11, 33, true, 200, 220},    {12, 33, true, 200, 220},
    {13, 33, true, 100, 220},    {14, 30, true, 100, 300},    {15, 30, true, 100, 300},
    {16, 40, true, -100, 400},   {20, 40, true, -100, 400},   {28, 40, true, -100, 400},
    {29, 40, true, -100, 400},   {30, 40, true, -100, 400},   {101, 19, false, 0, 0},
    {102, 55, true, -1100, 295}, {103, 55, true, -900, 250},  {104, 55, true, -1000, 250},
    {105, 55, true, -900, 250},  {106, 40, true, -500, 260},  {107, 55, true, -1000, 295},
    {115, 55, true, -1000, 295}, {122, 55, true, -1000, 295},
};

} // namespace

class MechanismHighlightTest : public QObject {
    Q_OBJECT
  private slots:
    void everyIdHasViewNameAndSegment();
    void viewFollowsTheTable();
    void blinksThreeRedThreeBlack();
    void returnsAfterThousandFrames();
    void clickEndsAtTheNextFrame();
    void closesTheRightDialog();
    void segmentsMeasureTheirDimension();
    void unknownIdDrawsOnlyTheHourglass();
};

void MechanismHighlightTest::everyIdHasViewNameAndSegment() {
    for (int id = 1; id <= 122; ++id) {
        if (!(id <= 30 || id >= 101)) continue;
        FrameRig rig;
        rig.m.HighlightedDimension = id;
        rig.DrawStill();
        rig.DrawStill();
        const drawk::HighlightView* v = FindHighlightView(id);
        QVERIFY2(v, qPrintable(QString::number(id)));
        if (kes::IsDimensionId(id)) QVERIFY(v->Name == kes::DimensionName(id));
        QVERIFY(HighlightSegment(rig.m, rig.s.Outlines, id).has_value());
        // The name in 14 points at (30, 75).
        bool named = false;
        for (const auto& t : RecordFrameTexts(rig.m, rig.s))
            if (t.Text == QString::fromLatin1(v->Name.data(), v->Name.size()) &&
                t.TopLeft.x() == 30)
                named = true;
        QVERIFY2(named, v->Name.data());
    }
}

void MechanismHighlightTest::viewFollowsTheTable() {
    for (const Expected& e : Views) {
        for (float zoom : {7.5f, 15.0f}) {
            FrameRig rig;
            rig.m.GraphicZoom = zoom;
            rig.m.HighlightedDimension = e.Id;
            rig.DrawStill();
            QCOMPARE(rig.m.CurrentView.Scale, e.K / zoom * 7.5f);
            QCOMPARE(rig.m.CurrentView.OffsetX, e.Offsets ? e.X : 100.0f);
            QCOMPARE(rig.m.CurrentView.OffsetY, e.Offsets ? e.Y : 280.0f);
            QCOMPARE(rig.m.SavedView.Scale, 19.0f);
        }
    }
}

void MechanismHighlightTest::blinksThreeRedThreeBlack() {
    FrameRig rig;
    rig.m.HighlightedDimension = 20; // the radius bar, maroon when not shown
    std::vector<QRgb> seen;
    for (int frame = 0; frame < 12; ++frame) {
        rig.DrawStill();
        const auto seg = HighlightSegment(rig.m, rig.s.Outlines, 20);
        QVERIFY(seg.has_value());
        seen.push_back(rig.Pixel(seg->center()));
    }
    const std::vector<QRgb> blink{Red, Red, Red, Black, Black, Black,
                                  Red, Red, Red, Black, Black, Black};
    QVERIFY(seen == blink);
}

void MechanismHighlightTest::returnsAfterThousandFrames() {
    FrameRig rig;
    rig.m.CurrentView = {23.0f, 111.0f, 290.0f};
    rig.m.HighlightedDimension = 7;
    FrameOutcome out;
    for (int frame = 1; frame <= 1000; ++frame) {
        out = rig.DrawStill();
        QCOMPARE(out.ReopenDialog, HighlightTarget::None);
        QVERIFY(!out.HighlightEnded);
    }
    QCOMPARE(rig.m.HighlightedDimension, 7);
    QCOMPARE(rig.m.CurrentView.Scale, 62.0f);
    out = rig.DrawStill();
    QCOMPARE(out.ReopenDialog, HighlightTarget::Frame);
    QVERIFY(out.HighlightEnded);
    QCOMPARE(rig.m.HighlightedDimension, 0);
    QCOMPARE(rig.m.CurrentView.Scale, 23.0f);
    QCOMPARE(rig.m.CurrentView.OffsetX, 111.0f);
    QCOMPARE(rig.m.CurrentView.OffsetY, 290.0f);
    QCOMPARE(rig.s.HighlightFrameCount, 0);
    QCOMPARE(rig.s.HighlightBlinkCount, 0);
    // Nothing more happens afterwards.
    out = rig.DrawStill();
    QCOMPARE(out.CloseDialog, HighlightTarget::None);
    QCOMPARE(out.ReopenDialog, HighlightTarget::None);
}

void MechanismHighlightTest::clickEndsAtTheNextFrame() {
    FrameRig rig;
    rig.m.HighlightedDimension = 110;
    for (int i = 0; i < 5; ++i)
        rig.DrawStill();
    rig.s.HighlightFrameCount = HighlightClickFrameCount; // what a click does
    const FrameOutcome out = rig.DrawStill();
    QCOMPARE(out.ReopenDialog, HighlightTarget::Cylinder);
    QCOMPARE(rig.m.HighlightedDimension, 0);
    QCOMPARE(rig.m.CurrentView.Scale, 19.0f);
}

void MechanismHighlightTest::closesTheRightDialog() {
    FrameRig rig;
    rig.m.HighlightedDimension = 99;
    QCOMPARE(rig.DrawStill().CloseDialog, HighlightTarget::Frame);
    QVERIFY(rig.s.HighlightReturnToFrame);
    rig.m.HighlightedDimension = 100;
    QCOMPARE(rig.DrawStill().CloseDialog, HighlightTarget::Cylinder);
    QVERIFY(!rig.s.HighlightReturnToFrame);
    rig.m.HighlightedDimension = 0;
    QCOMPARE(rig.DrawStill().CloseDialog, HighlightTarget::None);
}

void MechanismHighlightTest::segmentsMeasureTheirDimension() {
    // Segments of plain lengths are as long, in pixels, as the dimension
    // in the highlight's scale (give or take the rounding of both ends).
    struct Case {
        int Id;
        double Length;
    };
    FrameRig probe;
    const auto& f = probe.m.Frame;
    const auto& c = probe.m.Cylinder;
    const Case cases[] = {
        {1, f.DriverDiameter},
        {2, f.StrokeLength},
        {3, f.MainRodLength},
        {6, f.UnionLinkLength},
        {9, f.CombLeverLower},
        {10, f.ValveRodLength},
        {11, f.EccCrankLength},
        {12, f.EccCircleDiameter},
        {13, f.EccRodLength},
        {16, probe.m.Baker.RevArmUpperLength},
        {20, probe.m.Baker.RadiusBarLength},
        {21, probe.m.Baker.GearConRodUpper},
        {26, probe.m.Baker.BellCrankHorz},
        {29, 2 * f.RevArmNorm},
        {30, 2 * f.RevArmMax},
        {101, c[kes::CylCtrToDriver]},
        {103, c[kes::BoreDiameter]},
        {104, c[kes::BoreLength]},
        {106, c[kes::PistonRodLength]},
        {110, c[kes::ExhaustPortWidth]},
        {117, c[kes::ValveHeight]},
    };
    for (const Case& k : cases) {
        FrameRig rig;
        rig.m.HighlightedDimension = k.Id;
        rig.DrawStill();
        rig.DrawStill(); // the points in the new view
        const auto seg = HighlightSegment(rig.m, rig.s.Outlines, k.Id);
        QVERIFY(seg.has_value());
        const double px = std::hypot(seg->dx(), seg->dy());
        const double want = k.Length * rig.m.CurrentView.Scale;
        QVERIFY2(std::abs(px - want) <= 2.0,
                 qPrintable(QStringLiteral("id %1: %2 px, want %3").arg(k.Id).arg(px).arg(want)));
        if (px > 6) QVERIFY(rig.ColourNear(seg->center(), Red));
    }
}

void MechanismHighlightTest::unknownIdDrawsOnlyTheHourglass() {
    FrameRig rig;
    rig.m.HighlightedDimension = 57;
    rig.DrawStill();
    QCOMPARE(rig.m.CurrentView.Scale, 19.0f);
    QCOMPARE(rig.Pixel(QPoint(32, 100)), Black); // top of the hourglass
    QCOMPARE(rig.Pixel(QPoint(32, 142)), Black); // and its foot
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    MechanismHighlightTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "mechanism_highlight_test.moc"
