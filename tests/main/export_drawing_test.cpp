// SPDX-License-Identifier: GPL-3.0-or-later
// The full-size drawing of the gear: its true scale in the SVG, its tiling
// over PDF pages.

#include "export/tiled_pages.h"
#include "export_test_support.h"
#include "model/model.h"
#include "picture/gear_drawing.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTransform>
#include <QXmlStreamReader>
#include <QtTest>

#include <cmath>
#include <memory>
#include <vector>

namespace {

struct Circle {
    QPointF Centre;
    double Radius;
};

// Every <circle>, and every <ellipse> whose radii agree, of an SVG, mapped through the transforms
// of the groups around it into the picture's units.
std::vector<Circle> SvgCircles(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QXmlStreamReader xml(&f);
    std::vector<QTransform> stack{QTransform()};
    std::vector<Circle> out;
    auto number = [&](const char* name) { return xml.attributes().value(name).toDouble(); };
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            QTransform t = stack.back();
            const QString m = xml.attributes().value("transform").toString();
            if (m.startsWith(QLatin1String("matrix("))) {
                const QStringList v = m.mid(7, m.size() - 8).split(',');
                if (v.size() == 6)
                    t = QTransform(v[0].toDouble(), v[1].toDouble(), v[2].toDouble(),
                                   v[3].toDouble(), v[4].toDouble(), v[5].toDouble()) *
                        stack.back();
            }
            stack.push_back(t);
            if (xml.name() == QLatin1String("circle")) {
                const QPointF c = t.map(QPointF(number("cx"), number("cy")));
                out.push_back({c, number("r") * std::hypot(t.m11(), t.m12())});
            } else if (xml.name() == QLatin1String("ellipse")) {
                const QPointF c = t.map(QPointF(number("cx"), number("cy")));
                const double rx = number("rx") * std::hypot(t.m11(), t.m12());
                const double ry = number("ry") * std::hypot(t.m21(), t.m22());
                // The main window's painter draws in whole pixels: 0.03 mm either way.
                if (std::abs(rx - ry) <= 0.03) out.push_back({c, (rx + ry) / 2});
            }
        } else if (xml.isEndElement()) {
            stack.pop_back();
        }
    }
    return out;
}

std::unique_ptr<kes::Model> Factory() {
    auto m = std::make_unique<kes::Model>();
    kes::InitialiseModel(*m);
    return m;
}

} // namespace

class ExportDrawingTest : public QObject {
    Q_OBJECT
  private slots:
    void crankCircleIsFullSize_data();
    void crankCircleIsFullSize();
    void tilePlans_data();
    void tilePlans();
    void tiledPdfHasThePagesItNeeds_data();
    void tiledPdfHasThePagesItNeeds();
    void openLinkageIsRefused();
};

void ExportDrawingTest::crankCircleIsFullSize_data() {
    QTest::addColumn<int>("unit");
    QTest::addColumn<double>("angle");
    QTest::addColumn<double>("stroke");
    QTest::newRow("inches at 0") << int(DrawingUnit::Inch) << 0.0 << 3.5;
    QTest::newRow("inches at 135, longer stroke") << int(DrawingUnit::Inch) << 135.0 << 4.0;
    QTest::newRow("millimetres at 250") << int(DrawingUnit::Millimetre) << 250.0 << 3.5;
}

void ExportDrawingTest::crankCircleIsFullSize() {
    QFETCH(int, unit);
    QFETCH(double, angle);
    QFETCH(double, stroke);
    auto m = Factory();
    m->Frame.StrokeLength = static_cast<float>(stroke);
    GearDrawingDef def;
    def.CrankAngle = angle;
    def.Setting = m->MidGear();
    def.Unit = static_cast<DrawingUnit>(unit);
    const auto layout = PlanGearDrawing(*m, def);
    QVERIFY(layout);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("gear.svg"));
    QString error;
    QCOMPARE(WriteGearDrawing(file, *m, def, &error), 1);

    // The sheet's printed size is the layout's, in millimetres.
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString head = QString::fromUtf8(f.read(400));
    const auto width = QRegularExpression(QStringLiteral("width=\"([0-9.]+)mm\"")).match(head);
    QVERIFY(width.hasMatch());
    QVERIFY(std::abs(width.captured(1).toDouble() - layout->SheetMm.width()) < 0.2);

    const double perUnit = def.Unit == DrawingUnit::Inch ? 25.4 : 1.0;
    const double expected = stroke / 2 * perUnit;
    bool found = false;
    for (const Circle& c : SvgCircles(file))
        if (std::abs(c.Radius - expected) < 0.01 &&
            QLineF(c.Centre, layout->AxleMm).length() < 0.01)
            found = true;
    QVERIFY2(found,
             qPrintable(QStringLiteral("no circle of radius %1 mm at the axle").arg(expected)));
    // The wheel, drawn by the main window's painter in whole pixels, is full size too.
    const double wheel = 0.5 * m->Frame.DriverDiameter * perUnit;
    bool wheelFound = false;
    for (const Circle& c : SvgCircles(file))
        if (std::abs(c.Radius - wheel) < 0.05 && QLineF(c.Centre, layout->AxleMm).length() < 0.05)
            wheelFound = true;
    QVERIFY(wheelFound);
}

void ExportDrawingTest::tilePlans_data() {
    QTest::addColumn<QSizeF>("content");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    // Sheets show 200 x 100 and overlap by 20: each further sheet adds 180 or 80.
    QTest::newRow("fits") << QSizeF(200, 100) << 1 << 1;
    QTest::newRow("just wider") << QSizeF(200.5, 100) << 2 << 1;
    QTest::newRow("two exactly") << QSizeF(380, 100) << 2 << 1;
    QTest::newRow("three across, two down") << QSizeF(381, 180) << 3 << 2;
    QTest::newRow("tall") << QSizeF(50, 500) << 1 << 6;
}

void ExportDrawingTest::tilePlans() {
    QFETCH(QSizeF, content);
    QFETCH(int, columns);
    QFETCH(int, rows);
    const exporting::TileGrid g = exporting::PlanTiles(content, QSizeF(200, 100), 20);
    QCOMPARE(g.Columns, columns);
    QCOMPARE(g.Rows, rows);
    // The sheets together cover the picture.
    QVERIFY((g.Columns - 1) * g.StepX + g.Tile.width() >= content.width());
    QVERIFY((g.Rows - 1) * g.StepY + g.Tile.height() >= content.height());
}

void ExportDrawingTest::tiledPdfHasThePagesItNeeds_data() {
    QTest::addColumn<int>("unit");
    QTest::addColumn<int>("paper");
    QTest::newRow("inches on A4") << int(DrawingUnit::Inch) << int(exporting::Paper::A4);
    QTest::newRow("inches on Letter") << int(DrawingUnit::Inch) << int(exporting::Paper::Letter);
    QTest::newRow("millimetres on A4") << int(DrawingUnit::Millimetre) << int(exporting::Paper::A4);
}

void ExportDrawingTest::tiledPdfHasThePagesItNeeds() {
    QFETCH(int, unit);
    QFETCH(int, paper);
    auto m = Factory();
    GearDrawingDef def;
    def.CrankAngle = 45;
    def.Setting = m->MidGear() + m->Frame.RevArmNorm;
    def.Unit = static_cast<DrawingUnit>(unit);
    def.Paper = static_cast<exporting::Paper>(paper);
    const auto layout = PlanGearDrawing(*m, def);
    QVERIFY(layout);
    const exporting::TileGrid grid = exporting::PlanTiles(layout->SheetMm, def.Paper);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("gear.pdf"));
    QString error;
    const int pages = WriteGearDrawing(file, *m, def, &error);
    QVERIFY2(pages > 0, qPrintable(error));
    // Only the sheets that carry some of the drawing are printed.
    QVERIFY(pages <= grid.Pages());
    QCOMPARE(PdfPages(file), pages);
    // The factory gear is some 32 inches long: in inches it needs several
    // sheets, in millimetres it fits one.
    if (def.Unit == DrawingUnit::Inch)
        QVERIFY(pages >= 4);
    else
        QCOMPARE(pages, 1);
    QVERIFY(PdfText(file).contains(QString::fromStdString(m->DataSetName)));
}

void ExportDrawingTest::openLinkageIsRefused() {
    auto m = Factory();
    m->Baker.RadiusBarLength = 0.1f; // cannot reach
    GearDrawingDef def;
    def.Setting = m->MidGear();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("gear.svg"));
    QString error;
    QCOMPARE(WriteGearDrawing(file, *m, def, &error), 0);
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(file));
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ExportDrawingTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "export_drawing_test.moc"
