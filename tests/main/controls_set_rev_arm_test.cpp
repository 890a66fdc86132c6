// SPDX-License-Identifier: GPL-3.0-or-later
// ReverseArmPositionsDialog: the nine reverse-arm positions, the vertical scale and the
// graph of the positions across the travel of the reverse arm.

#include "controls_rig.h"

#include "motion_dialogs/numeric_entry.h"
#include "motion_dialogs/reverse_arm_positions_dialog.h"
#include "support/recording_paint_device.h"

#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <optional>

namespace {

constexpr QRgb DotRed = 0xFF0000u;

// The x of the reddest pixels of a row of the graph, or nothing.
std::optional<int> DotInRow(const QImage& image, int rowCentreY) {
    for (int y = rowCentreY - 2; y <= rowCentreY + 2; ++y)
        for (int x = 230; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFFu) == DotRed) return x + 3; // left edge of the dot
    return std::nullopt;
}

QImage Render(ReverseArmPositionsDialog* dialog, const kes::Model& m) {
    QImage image(dialog->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    ReverseArmPositionsDialog::PaintGraph(p, m);
    return image;
}

// The texts and lines of the graph. The recorder keeps no round shapes, so
// the positions' dots are left out.
void Record(RecordingPaintDevice& device, const kes::Model& m) {
    kes::Model bare = m;
    std::fill(bare.RevArmPositions.begin() + 1, bare.RevArmPositions.end(), 0.0f);
    QPainter p(&device);
    ReverseArmPositionsDialog::PaintGraph(p, bare);
}

int RowCentre(ReverseArmPositionsDialog* dialog, int n) {
    return dialog->Field(n)->geometry().center().y();
}

} // namespace

class ControlsSetRevArmTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QuietShowMessages(); }
    void showsTheTableAndItsTexts();
    void markersSpanTheTravel();
    void dotsFollowTheFields();
    void fieldKeysAndClamping();
    void closingAsksTheDiagramsToRedraw();
    void theDiagramsWaitForTheDialog();
};

void ControlsSetRevArmTest::theDiagramsWaitForTheDialog() {
    // A diagram window opens the dialog and draws only once it is closed.
    ControlsRig r;
    ReverseArmPositionsDialog* dialog = r.controls->DialogForReverseArmPositions();
    bool wasOpen = false;
    QTimer::singleShot(0, dialog, [&] {
        wasOpen = dialog->isVisible();
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("CloseBtn")),
                          Qt::LeftButton);
    });
    r.controls->ShowSetRevArmDialog();
    QVERIFY(wasOpen);
    QVERIFY(!dialog->isVisible());
    QVERIFY(r.m.RedrawPending);
}

void ControlsSetRevArmTest::showsTheTableAndItsTexts() {
    ControlsRig r;
    r.controls->DialogForReverseArmPositions()->show();
    ReverseArmPositionsDialog* dialog = r.controls->DialogForReverseArmPositions();
    QVERIFY(dialog->isVisible());
    QVERIFY(dialog->isModal());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Set Reverse Arm Positions"));
    QCOMPARE(dialog->Field(1)->text(), QStringLiteral(" 10.423"));
    QCOMPARE(dialog->Field(2)->text(), QStringLiteral(" 11.923"));
    QCOMPARE(dialog->Field(3)->text(), QStringLiteral("  8.923"));
    QCOMPARE(dialog->Field(4)->text(), QStringLiteral("  0.000"));
    QCOMPARE(dialog->Field(10)->text(), QStringLiteral("  1.500"));

    RecordingPaintDevice device(dialog->size());
    Record(device, r.m);
    for (const char* text : {"Max of 9 Positions", "Rev Arm Position  1", "Rev Arm Position  9",
                             "Vertical Scale", "Min", "Rev", "Cent", "Fwd", "Max"})
        QVERIFY2(device.TextsNamed(QString::fromLatin1(text)).size() == 1, text);
    // Each label stands level with its field.
    const auto label5 = device.TextsNamed(QStringLiteral("Rev Arm Position  5")).front();
    QVERIFY(std::abs(label5.TopLeft.y() - dialog->Field(5)->y()) <= 6);
    QVERIFY(label5.TopLeft.x() < dialog->Field(5)->x());
}

void ControlsSetRevArmTest::markersSpanTheTravel() {
    ControlsRig r;
    ReverseArmPositionsDialog* dialog = r.controls->DialogForReverseArmPositions();
    RecordingPaintDevice device(dialog->size());
    Record(device, r.m);
    // The five vertical marker lines, left to right.
    std::vector<int> xs;
    for (const RecordedLine& l : device.Lines())
        if (l.Line.x1() == l.Line.x2() && l.Line.dy() > 100) xs.push_back(l.Line.x1());
    QCOMPARE(xs.size(), size_t(5));
    QVERIFY(std::is_sorted(xs.begin(), xs.end()));
    const double span = xs[4] - xs[0];
    // Rev and Fwd sit at RevArmNorm / RevArmMax of the half travel.
    const double norm = r.m.Frame.RevArmNorm / r.m.Frame.RevArmMax;
    QVERIFY(std::abs(xs[2] - (xs[0] + xs[4]) / 2.0) <= 1.0);
    QVERIFY(std::abs(xs[3] - xs[2] - norm * span / 2) <= 1.0);
    QVERIFY(std::abs(xs[2] - xs[1] - norm * span / 2) <= 1.0);
    // The labels stand beside their lines.
    const auto cent = device.TextsNamed(QStringLiteral("Cent")).front();
    QVERIFY(cent.TopLeft.x() < xs[2] && cent.TopLeft.x() > xs[1]);
    QVERIFY(device.TextsNamed(QStringLiteral("Min")).front().TopLeft.x() < xs[0]);
    QVERIFY(device.TextsNamed(QStringLiteral("Max")).front().TopLeft.x() > xs[4]);

    // Without a usable RevArmMax the graph still draws.
    r.m.Frame.RevArmMax = 0.0f;
    RecordingPaintDevice empty(dialog->size());
    Record(empty, r.m);
    QVERIFY(!empty.Lines().empty());
}

void ControlsSetRevArmTest::dotsFollowTheFields() {
    ControlsRig r;
    r.controls->DialogForReverseArmPositions()->show();
    ReverseArmPositionsDialog* dialog = r.controls->DialogForReverseArmPositions();
    QImage image = Render(dialog, r.m);
    const auto mid = DotInRow(image, RowCentre(dialog, 1));
    const auto fwd = DotInRow(image, RowCentre(dialog, 2));
    const auto rev = DotInRow(image, RowCentre(dialog, 3));
    QVERIFY(mid && fwd && rev);
    QVERIFY(*rev < *mid && *mid < *fwd);
    for (int n = 4; n <= 9; ++n)
        QVERIFY(!DotInRow(image, RowCentre(dialog, n)));

    // Typing a position and leaving the field puts a dot in its row.
    NumericEntry* field = dialog->Field(6);
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, "10.4234");
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(r.m.RevArmPositions[6], 10.4234f);
    QCOMPARE(r.m.RevArmPositionCount, 6);
    image = Render(dialog, r.m);
    const auto six = DotInRow(image, RowCentre(dialog, 6));
    QVERIFY(six);
    QVERIFY(std::abs(*six - *mid) <= 1);

    // 0 clears the slot again.
    field->selectAll();
    QTest::keyClicks(field, "0");
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(r.m.RevArmPositionCount, 3);
    QVERIFY(!DotInRow(Render(dialog, r.m), RowCentre(dialog, 6)));
}

void ControlsSetRevArmTest::fieldKeysAndClamping() {
    ControlsRig r;
    r.controls->DialogForReverseArmPositions()->show();
    ReverseArmPositionsDialog* dialog = r.controls->DialogForReverseArmPositions();
    NumericEntry* field = dialog->Field(9);
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, "x2-0.5.");
    QCOMPARE(field->text(), QStringLiteral("2-0.5"));
    QTest::keyClick(field, Qt::Key_Return);
    // "2-0.5" is 2: far outside the travel, held at its lower end.
    QCOMPARE(r.m.RevArmPositions[9], r.m.MidGear() - r.m.Frame.RevArmMax);
    QCOMPARE(r.m.RevArmPositionCount, 9);
    QCOMPARE(field->text(), QString::fromStdString(kes::TextForReverseArmPosition(r.m, 9)));

    NumericEntry* scale = dialog->Field(10);
    scale->setFocus();
    scale->selectAll();
    QTest::keyClicks(scale, "-0.05");
    QCOMPARE(scale->text(), QStringLiteral("0.05"));
    QTest::keyClick(scale, Qt::Key_Return);
    QCOMPARE(r.m.VerticalScale, kes::MinVerticalScale);
}

void ControlsSetRevArmTest::closingAsksTheDiagramsToRedraw() {
    ControlsRig r;
    r.controls->DialogForReverseArmPositions()->show();
    ReverseArmPositionsDialog* dialog = r.controls->DialogForReverseArmPositions();
    QVERIFY(!r.m.RedrawPending);
    // A field typed in and not yet left is taken when the dialog closes.
    NumericEntry* field = dialog->Field(4);
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, "11");
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("CloseBtn")), Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
    QVERIFY(r.m.RedrawPending);
    QCOMPARE(r.m.RevArmPositions[4], 11.0f);
    // Fields that were not typed in keep their exact values.
    QCOMPARE(r.m.RevArmPositions[2], r.m.MidGear() + r.m.Frame.RevArmNorm);

    r.m.RedrawPending = false;
    r.controls->DialogForReverseArmPositions()->show();
    dialog->close(); // the close box
    QVERIFY(r.m.RedrawPending);
}

int main(int argc, char** argv) {
    ControlsSetRevArmTest test;
    return RunHeadless(test, argc, argv);
}

#include "controls_set_rev_arm_test.moc"
