// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture/gear_drawing.h"
#include "workshop/tiled_sheets.h"
#include "workshop_test_support.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>

namespace {

// The picture painted finer than the planner looks at it, to judge the plan.
class Ink {
  public:
    Ink(const workshop::TiledPicture& pic, double perMm) : perMm_(perMm) {
        img_ = QImage(int(std::ceil(pic.SizeMm.width() * perMm)),
                      int(std::ceil(pic.SizeMm.height() * perMm)), QImage::Format_Grayscale8);
        img_.fill(Qt::white);
        QPainter p(&img_);
        p.scale(perMm, perMm);
        pic.Paint(p);
    }
    int Count(const QRectF& mm) const {
        const QRect r = QRect(int(mm.left() * perMm_), int(mm.top() * perMm_),
                              int(mm.width() * perMm_), int(mm.height() * perMm_))
                            .intersected(img_.rect());
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += qGray(img_.pixel(x, y)) < 250;
        return n;
    }

  private:
    QImage img_;
    double perMm_;
};

workshop::TiledPicture GearPicture(const kes::Model& m, GearDrawingDef def) {
    def.TitleStrip = false;
    const auto layout = PlanGearDrawing(m, def);
    EXPECT_TRUE(layout);
    workshop::TiledPicture pic;
    pic.SizeMm = layout->SheetMm;
    pic.Paint = [&m, def](QPainter& p) { PaintGearDrawing(p, m, def); };
    pic.Title.Title = QStringLiteral("Gear drawing");
    pic.ScaleBarMm = 101.6;
    pic.ScaleBarTicks = 4;
    return pic;
}

void ExpectSoundPlan(const workshop::TilePlan& plan, const workshop::TiledPicture& pic,
                     const std::string& what) {
    const Ink ink(pic, 2.0);
    ASSERT_FALSE(plan.Sheets.empty()) << what;
    for (const QPoint s : plan.Sheets)
        EXPECT_GT(ink.Count(plan.TileRect(s)), 0) << what << " sheet " << s.y() << "/" << s.x();
    // The title group: whole on the first sheet, over none of the drawing.
    EXPECT_TRUE(plan.TileRect(plan.Sheets.front()).contains(plan.TitleGroupMm)) << what;
    EXPECT_EQ(ink.Count(plan.TitleGroupMm), 0) << what;
    for (const QPointF& m : plan.Marks)
        EXPECT_FALSE(plan.TitleGroupMm.intersects(QRectF(m - QPointF(5, 5), QSizeF(10, 10))))
            << what;
    // No sheet twice.
    for (size_t a = 0; a < plan.Sheets.size(); ++a)
        for (size_t b = a + 1; b < plan.Sheets.size(); ++b)
            EXPECT_NE(plan.Sheets[a], plan.Sheets[b]) << what;
}

TEST(TiledSheets, TheScaledSampleFullSizeWastesNoSheetAndKeepsTheTitleWhole) {
    const auto m = workshop_test::BigEngine(1.3);
    GearDrawingDef def;
    def.Setting = m->MidGear();
    def.CrankAngle = 30;
    const workshop::TiledPicture pic = GearPicture(*m, def);
    const workshop::SheetPaper a4{workshop::PaperKind::A4, std::nullopt, {}};
    const workshop::TilePlan onA4 = workshop::PlanTiledSheets(pic, a4);
    ExpectSoundPlan(onA4, pic, "A4");
    EXPECT_LT(int(onA4.Sheets.size()), onA4.Columns * onA4.Rows + 1);

    const workshop::SheetPaper a3{workshop::PaperKind::A3, true, {}};
    const workshop::TilePlan onA3 = workshop::PlanTiledSheets(pic, a3);
    ExpectSoundPlan(onA3, pic, "A3 landscape");
    EXPECT_TRUE(onA3.Landscape);
    EXPECT_LT(onA3.Sheets.size(), onA4.Sheets.size());

    // The PDF has exactly the planned sheets.
    QTemporaryDir dir;
    QString error;
    def.Paper = workshop::PaperKind::A4;
    const int pages = WriteGearDrawing(dir.filePath(QStringLiteral("gear.pdf")), *m, def, &error);
    EXPECT_EQ(pages, int(onA4.Sheets.size())) << error.toStdString();
}

TEST(TiledSheets, OnlySheetsWithInkArePrinted) {
    workshop::TiledPicture pic;
    pic.SizeMm = QSizeF(900, 700);
    // Two small parts at opposite corners of a large, empty picture.
    pic.Paint = [](QPainter& p) {
        p.setPen(QPen(Qt::black, 0.5));
        p.drawEllipse(QPointF(30, 30), 10, 10);
        p.drawEllipse(QPointF(780, 620), 10, 10);
    };
    pic.Texts = {QRectF(20, 45, 40, 5)};
    const workshop::TilePlan plan =
        workshop::PlanTiledSheets(pic, {workshop::PaperKind::A4, false, {}});
    EXPECT_GT(plan.Columns * plan.Rows, 4);
    EXPECT_EQ(plan.Sheets.size(), 2u);
    ExpectSoundPlan(plan, pic, "two corners");
    EXPECT_TRUE(plan.Marks.empty()) // the two sheets do not meet
        << plan.Sheets[0].x() << "," << plan.Sheets[0].y() << " " << plan.Sheets[1].x() << ","
        << plan.Sheets[1].y() << " " << plan.Columns << "x" << plan.Rows;
}

TEST(TiledSheets, APictureWithNoRoomGetsAStripForTheTitle) {
    workshop::TiledPicture pic;
    pic.SizeMm = QSizeF(400, 300);
    pic.Paint = [](QPainter& p) { p.fillRect(QRectF(0, 0, 400, 300), Qt::black); };
    const workshop::TilePlan plan =
        workshop::PlanTiledSheets(pic, {workshop::PaperKind::A4, true, {}});
    EXPECT_GT(plan.ContentMm.height(), pic.SizeMm.height());
    EXPECT_GE(plan.TitleGroupMm.top(), pic.SizeMm.height());
    EXPECT_TRUE(plan.TileRect(plan.Sheets.front()).contains(plan.TitleGroupMm));
    // Marks sit between sheets that are both printed, and off the title group.
    for (const QPointF& m : plan.Marks)
        EXPECT_FALSE(plan.TitleGroupMm.intersects(QRectF(m - QPointF(5, 5), QSizeF(10, 10))));
    EXPECT_FALSE(plan.Marks.empty());
}

TEST(TiledSheets, SheetsAreNumberedRowSlashColumn) {
    EXPECT_EQ(workshop::SheetNumber(QPoint(2, 0)), QStringLiteral("1/3"));
    EXPECT_EQ(workshop::SheetNumber(QPoint(0, 1)), QStringLiteral("2/1"));
}

} // namespace
