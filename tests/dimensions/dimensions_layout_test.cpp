// SPDX-License-Identifier: GPL-3.0-or-later
// The layout of both dimension dialogs at the normal and the large text
// scale: client size, caption, the rows of small buttons, labels and silver
// fields, the help lines and the buttons; and what a rendering shows.
// With KESTROVE_SHOT_DIR set, the renderings are written there as PNG.

#include "dimensions/cylinder_dimensions.h"
#include "dimensions/frame_dimensions.h"
#include "dimensions_support.h"
#include "model/model.h"
#include "model/rounding.h"

#include <QDir>
#include <QFontMetrics>
#include <QImage>
#include <QPixmap>

#include <cmath>
#include <memory>

namespace {

int Scaled(int v, double s) {
    return kes::RoundHalfEven(v * s);
}

QRect ScaledRect(const QRect& r, double sx, double sy) {
    const int l = Scaled(r.x(), sx), t = Scaled(r.y(), sy);
    return QRect(l, t, Scaled(r.right() + 1, sx) - l, Scaled(r.bottom() + 1, sy) - t);
}

// Where the layout puts a control of base rectangle r: scaled, moved right
// by the widening of every field column left of it, and a field widened too.
QRect Placed(const QRect& r, double sx, double sy, int growth, bool field = false) {
    QRect out = ScaledRect(r, sx, sy);
    for (int fieldX : {146, 342})
        if (r.x() >= fieldX + 40) out.translate(growth, 0);
    if (field) out.setWidth(out.width() + growth);
    return out;
}

const DimensionDialog::DrawnText* FindText(const QVector<DimensionDialog::DrawnText>& texts,
                                           const QString& text) {
    for (const auto& t : texts)
        if (t.Text == text) return &t;
    return nullptr;
}

void SaveShot(QWidget& w, const QString& name) {
    const QByteArray dir = qgetenv("KESTROVE_SHOT_DIR");
    if (dir.isEmpty()) return;
    QDir().mkpath(QString::fromLocal8Bit(dir));
    w.grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + name);
}

bool IsSilver(QRgb c) {
    return qRed(c) == 0xC0 && qGreen(c) == 0xC0 && qBlue(c) == 0xC0;
}

// Dark pixels (text) inside a rectangle of an image.
int DarkPixels(const QImage& img, const QRect& r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (img.valid(x, y) && qGray(img.pixel(x, y)) < 100) ++n;
    return n;
}

} // namespace

class DimensionLayoutTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { dimtest::QuietSizeHints(); }
    void frameLayout_data();
    void frameLayout();
    void cylinderLayout_data();
    void cylinderLayout();
    void labelsSitLeftOfTheirFields_data();
    void labelsSitLeftOfTheirFields();
    void renderingShowsLabelsAndSilverFields_data();
    void renderingShowsLabelsAndSilverFields();
};

void DimensionLayoutTest::frameLayout_data() {
    QTest::addColumn<float>("sx");
    QTest::addColumn<float>("sy");
    QTest::newRow("normal font") << 1.0f << 1.0f;
    QTest::newRow("large font") << 1.27f << 1.22f;
}

void DimensionLayoutTest::frameLayout() {
    QFETCH(float, sx);
    QFETCH(float, sy);
    kes::Model model;
    kes::InitialiseModel(model);
    model.TextScaleX = sx;
    model.TextScaleY = sy;
    RecordingLink link;
    FrameDimensionsDialog dialog(model, link);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));

    QCOMPARE(dialog.windowTitle(),
             QStringLiteral("Frame Dimentions                        Baker Assy Dim"));
    // The fields hold eight characters in the dialog's font: the columns
    // right of them move over and the dialog grows by as much.
    const int g = dialog.FieldGrowth();
    QVERIFY(g > 0);
    QCOMPARE(dialog.size(), QSize(Scaled(386, sx) + 2 * g, Scaled(246, sy)));
    QCOMPARE(dialog.FieldCount(), 30);
    for (int n = 1; n <= 30; ++n) {
        const int column = (n - 1) / 15;
        const int y = 13 * ((n - 1) % 15);
        DimensionField* field = dialog.findChild<DimensionField*>(QStringLiteral("Edit%1").arg(n));
        QPushButton* button = dialog.findChild<QPushButton*>(QStringLiteral("Button%1").arg(n));
        QVERIFY(field && button);
        QCOMPARE(field->geometry(), Placed(QRect(column ? 342 : 146, y, 40, 13), sx, sy, g, true));
        QCOMPARE(button->geometry(), Placed(QRect(column ? 194 : 0, y, 8, 13), sx, sy, g));
        QVERIFY(!field->hasFrame());
        QCOMPARE(field->palette().color(QPalette::Base), QColor(0xC0, 0xC0, 0xC0));
        QCOMPARE(field->DimensionId(), n <= 28 ? n : 0);
    }
    auto* resetFd = dialog.findChild<QPushButton*>(QStringLiteral("ResetFrame"));
    auto* resetBa = dialog.findChild<QPushButton*>(QStringLiteral("ResetBakerAssy"));
    auto* close1 = dialog.findChild<QPushButton*>(QStringLiteral("Close1"));
    QVERIFY(resetFd && resetBa && close1);
    QCOMPARE(resetFd->text(), QStringLiteral("ResetFD"));
    QCOMPARE(resetBa->text(), QStringLiteral("ResetBA"));
    QCOMPARE(close1->text(), QStringLiteral("Close"));
    QCOMPARE(resetFd->geometry(), Placed(QRect(282, 195, 50, 25), sx, sy, g));
    QCOMPARE(resetBa->geometry(), Placed(QRect(332, 195, 50, 25), sx, sy, g));
    QCOMPARE(close1->geometry(), Placed(QRect(288, 220, 89, 25), sx, sy, g));
    QVERIFY(close1->hasFocus());

    const auto texts = dialog.DrawnTexts();
    QCOMPARE(texts.size(), 32);
    struct Expected {
        QString text;
        int x, y;
    };
    const Expected expected[] = {
        {QStringLiteral("Driver                    Diameter"), 10, 0},
        {QStringLiteral("DropLink to CrossHeadVert"), 10, 39},
        {QStringLiteral("\"           \"     Back Set"), 40, 52},
        {QStringLiteral("\"      \" Circle Diameter"), 40, 143},
        {QStringLiteral("\"           \"           Horz"), 40, 182},
        {QStringLiteral("ReverseArm Upper Length"), 204, 0},
        {QStringLiteral("\"        Lower Backset"), 234, 91},
        {QStringLiteral("Bell Crank Pivot             Vert"), 204, 143},
        {QStringLiteral("Rev Arm   to Center   Norm"), 204, 169},
        {QStringLiteral("\"           \"              Max"), 234, 182},
        {QStringLiteral("To Show Graphic Position of Variable, Click Small Button"), 1, 207},
        {QStringLiteral("To Select Dynamic Variable, Click Dimension in Gray Area"), 1, 220},
    };
    for (const Expected& e : expected) {
        const auto* t = FindText(texts, e.text);
        QVERIFY2(t, qPrintable(e.text));
        QCOMPARE(t->Origin, Placed(QRect(e.x, e.y, 1, 1), sx, sy, g).topLeft());
    }
    SaveShot(dialog, sx == 1.0f ? QStringLiteral("frame_dialog.png")
                                : QStringLiteral("frame_dialog_large.png"));
}

void DimensionLayoutTest::cylinderLayout_data() {
    frameLayout_data();
}

void DimensionLayoutTest::cylinderLayout() {
    QFETCH(float, sx);
    QFETCH(float, sy);
    kes::Model model;
    kes::InitialiseModel(model);
    model.TextScaleX = sx;
    model.TextScaleY = sy;
    RecordingLink link;
    CylinderDimensionsDialog dialog(model, link);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));

    QCOMPARE(dialog.windowTitle(), QStringLiteral("Cylinder Dimensions"));
    const int g = dialog.FieldGrowth();
    QVERIFY(g > 0);
    QCOMPARE(dialog.size(), QSize(Scaled(386, sx) + 2 * g, Scaled(230, sy)));
    QCOMPARE(dialog.FieldCount(), 22);
    for (int n = 1; n <= 22; ++n) {
        const bool right = n >= 13;
        // Rows of the fields: the two two-row entries put theirs on the lower row.
        int row = right ? n - 13 : n - 1;
        if (n >= 6 && n <= 12) ++row;
        if (n == 22) ++row;
        const bool twoRows = n == 6 || n == 22;
        DimensionField* field = dialog.findChild<DimensionField*>(QStringLiteral("Edit%1").arg(n));
        QPushButton* button = dialog.findChild<QPushButton*>(QStringLiteral("Button%1").arg(n));
        QVERIFY(field && button);
        QCOMPARE(field->DimensionId(), 100 + n);
        QCOMPARE(field->geometry(),
                 Placed(QRect(right ? 342 : 146, 13 * row, 40, 13), sx, sy, g, true));
        const int buttonRow = twoRows ? row - 1 : row;
        QCOMPARE(button->geometry(),
                 Placed(QRect(right ? 194 : 0, 13 * buttonRow, 8, twoRows ? 26 : 13), sx, sy, g));
    }
    auto* reset1 = dialog.findChild<QPushButton*>(QStringLiteral("Reset1"));
    auto* close1 = dialog.findChild<QPushButton*>(QStringLiteral("Close1"));
    QVERIFY(reset1 && close1);
    QCOMPARE(reset1->text(), QStringLiteral("ResetCylDim"));
    QCOMPARE(close1->text(), QStringLiteral("Close"));
    QCOMPARE(reset1->geometry(), Placed(QRect(294, 168, 90, 25), sx, sy, g));
    QCOMPARE(close1->geometry(), Placed(QRect(294, 192, 90, 25), sx, sy, g));
    QVERIFY(close1->hasFocus());

    const auto texts = dialog.DrawnTexts();
    QCOMPARE(texts.size(), 22 + 2 + 2);
    struct Expected {
        QString text;
        int x, y;
    };
    const Expected expected[] = {
        {QStringLiteral("Cylinder ctr to Driver ctr"), 10, 0},
        {QStringLiteral("Piston ctr to Crosshead ctr"), 10, 65},
        {QStringLiteral("(Piston Rod)"), 82, 78},
        {QStringLiteral("Piston                         Width"), 10, 91},
        {QStringLiteral("Bridge Width                Front"), 10, 156},
        {QStringLiteral("Steam Port Width        Rear"), 204, 0},
        {QStringLiteral("Valve Height"), 204, 52},
        {QStringLiteral("Valve ExhCavity  Front Half"), 204, 104},
        {QStringLiteral("Valve ctr to Joint"), 204, 117},
        {QStringLiteral("  (Valve Stem)"), 266, 130},
        {QStringLiteral("To Show Graphic Position of Variable, Click Small Button"), 1, 190},
        {QStringLiteral("To Select a Dynamic Variable, Click Dimension in Gray Area"), 1, 203},
    };
    for (const Expected& e : expected) {
        const auto* t = FindText(texts, e.text);
        QVERIFY2(t, qPrintable(e.text));
        QCOMPARE(t->Origin, Placed(QRect(e.x, e.y, 1, 1), sx, sy, g).topLeft());
    }
    SaveShot(dialog, sx == 1.0f ? QStringLiteral("cylinder_dialog.png")
                                : QStringLiteral("cylinder_dialog_large.png"));
}

void DimensionLayoutTest::labelsSitLeftOfTheirFields_data() {
    QTest::addColumn<bool>("cylinder");
    QTest::addColumn<float>("sx");
    QTest::addColumn<float>("sy");
    QTest::newRow("frame") << false << 1.0f << 1.0f;
    QTest::newRow("frame large") << false << 1.27f << 1.22f;
    QTest::newRow("cylinder") << true << 1.0f << 1.0f;
    QTest::newRow("cylinder large") << true << 1.27f << 1.22f;
}

void DimensionLayoutTest::labelsSitLeftOfTheirFields() {
    QFETCH(bool, cylinder);
    QFETCH(float, sx);
    QFETCH(float, sy);
    kes::Model model;
    kes::InitialiseModel(model);
    model.TextScaleX = sx;
    model.TextScaleY = sy;
    RecordingLink link;
    std::unique_ptr<DimensionDialog> dialog;
    if (cylinder)
        dialog = std::make_unique<CylinderDimensionsDialog>(model, link);
    else
        dialog = std::make_unique<FrameDimensionsDialog>(model, link);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));

    // No text runs under a field, a button or out of the dialog.
    const QFontMetrics fm(dialog->font());
    QList<QWidget*> controls;
    for (QWidget* w : dialog->findChildren<QWidget*>())
        if (w->isWindow() == false && w->parentWidget() == dialog.get()) controls.push_back(w);
    for (const auto& t : dialog->DrawnTexts()) {
        const int drawnWidth =
            static_cast<int>(std::ceil(fm.horizontalAdvance(t.Text) * dialog->TextStretch()));
        const QRect box(t.Origin, QSize(drawnWidth, fm.ascent()));
        QVERIFY2(dialog->rect().contains(box), qPrintable(t.Text));
        for (QWidget* w : controls)
            QVERIFY2(!box.intersects(w->geometry()),
                     qPrintable(t.Text + QStringLiteral(" under ") + w->objectName()));
    }
}

void DimensionLayoutTest::renderingShowsLabelsAndSilverFields_data() {
    labelsSitLeftOfTheirFields_data();
}

void DimensionLayoutTest::renderingShowsLabelsAndSilverFields() {
    QFETCH(bool, cylinder);
    QFETCH(float, sx);
    QFETCH(float, sy);
    kes::Model model;
    kes::InitialiseModel(model);
    model.TextScaleX = sx;
    model.TextScaleY = sy;
    RecordingLink link;
    std::unique_ptr<DimensionDialog> dialog;
    if (cylinder)
        dialog = std::make_unique<CylinderDimensionsDialog>(model, link);
    else
        dialog = std::make_unique<FrameDimensionsDialog>(model, link);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    const QImage img = dialog->grab().toImage();

    for (int n = 1; n <= dialog->FieldCount(); ++n) {
        const QRect g = dialog->Field(n)->geometry();
        // The field's right end is silver (the value is left-aligned).
        QVERIFY2(IsSilver(img.pixel(g.right() - 1, g.top() + 1)), qPrintable(QString::number(n)));
        // Its row has label text on its left, inside the label's column.
        const int labelLeft = g.x() < Scaled(194, sx) ? 0 : Scaled(200, sx);
        const QRect labelBand(labelLeft + Scaled(9, sx), g.top(), g.x() - labelLeft - Scaled(9, sx),
                              g.height());
        QVERIFY2(DarkPixels(img, labelBand) > 20, qPrintable(QString::number(n)));
    }
    // The help lines are painted.
    const int helpY = Scaled(cylinder ? 190 : 207, sy);
    QVERIFY(DarkPixels(img, QRect(1, helpY, Scaled(250, sx), Scaled(13, sy))) > 100);
}

int main(int argc, char** argv) {
    return dimtest::Run<DimensionLayoutTest>(argc, argv);
}

#include "dimensions_layout_test.moc"
