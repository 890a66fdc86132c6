// SPDX-License-Identifier: GPL-3.0-or-later
// The dimension dialogs as a new user types into them: a field shows the
// start of its value in full at both font sizes, a typed key replaces the
// selection before the one-"-"/one-"." test, an edit that leaves the value
// as it was records no undo entry, and fields 29 and 30 show what they
// stored.

#include "dimensions/cylinder_dimensions.h"
#include "dimensions/frame_dimensions.h"
#include "dimensions_support.h"
#include "model/dimensions.h"
#include "model/model.h"

#include <QDir>
#include <QFontMetrics>
#include <QImage>

#include <memory>

namespace {

struct Dialog {
    kes::Model model;
    RecordingLink link;
    std::unique_ptr<DimensionDialog> dialog;

    explicit Dialog(bool cylinder, bool large = false) {
        kes::InitialiseModel(model);
        if (large) {
            model.TextScaleX = 1.27f;
            model.TextScaleY = 1.22f;
        }
        if (cylinder)
            dialog = std::make_unique<CylinderDimensionsDialog>(model, link);
        else
            dialog = std::make_unique<FrameDimensionsDialog>(model, link);
        dialog->show();
        dialog->activateWindow();
    }
    DimensionField* Field(int n) { return dialog->Field(n); }
};

// With KESTROVE_SHOT_DIR set, the dialog as it looks is written there.
void SaveShot(QWidget& w, const QString& name) {
    const QByteArray dir = qgetenv("KESTROVE_SHOT_DIR");
    if (dir.isEmpty()) return;
    QDir().mkpath(QString::fromLocal8Bit(dir));
    w.grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + name);
}

// The leftmost column of the field's picture that holds text.
int FirstInkColumn(QWidget* field) {
    const QImage img = field->grab().toImage();
    for (int x = 0; x < img.width(); ++x)
        for (int y = 0; y < img.height(); ++y)
            if (qGray(img.pixel(x, y)) < 80) return x;
    return -1;
}

// Tab into field n from field n - 1: its whole text is selected.
void TabInto(Dialog& d, int n) {
    d.Field(n - 1)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(d.Field(n - 1), Qt::Key_Tab);
}

} // namespace

class DimensionTypingTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { dimtest::QuietSizeHints(); }
    void fieldsShowTheStartOfTheirValue_data();
    void fieldsShowTheStartOfTheirValue();
    void typedKeyReplacesTheSelection_data();
    void typedKeyReplacesTheSelection();
    void unchangedEditRecordsNoUndo();
    void revArmFieldsShowWhatTheyStored();
};

void DimensionTypingTest::fieldsShowTheStartOfTheirValue_data() {
    QTest::addColumn<bool>("cylinder");
    QTest::addColumn<bool>("large");
    QTest::addColumn<int>("field");
    QTest::addColumn<float>("value");
    QTest::newRow("frame, minus") << false << false << 4 << -12.345f;
    QTest::newRow("frame, hundreds") << false << false << 20 << 100.25f;
    QTest::newRow("frame large, minus") << false << true << 4 << -12.345f;
    QTest::newRow("frame large, hundreds") << false << true << 30 << 100.25f;
    QTest::newRow("cylinder, minus") << true << false << 2 << -100.25f;
    QTest::newRow("cylinder large, minus") << true << true << 22 << -100.25f;
}

void DimensionTypingTest::fieldsShowTheStartOfTheirValue() {
    QFETCH(bool, cylinder);
    QFETCH(bool, large);
    QFETCH(int, field);
    QFETCH(float, value);
    Dialog d(cylinder, large);
    QVERIFY(QTest::qWaitForWindowActive(d.dialog.get()));
    DimensionField* f = d.Field(field);
    f->ShowValue(value);
    QCOMPARE(f->cursorPosition(), 0);
    // Eight characters fit whole, with the field's margins, in its font.
    const QFontMetrics fm(f->font());
    QVERIFY2(fm.horizontalAdvance(QStringLiteral("-000.000")) + 4 <= f->width(),
             qPrintable(QStringLiteral("%1 wide").arg(f->width())));
    // The sign or first digit is drawn at the field's left edge.
    const int ink = FirstInkColumn(f);
    QVERIFY2(ink >= 0 && ink <= 4, qPrintable(QStringLiteral("first ink at %1").arg(ink)));
    SaveShot(*d.dialog, QStringLiteral("typing_%1.png")
                            .arg(QString::fromLatin1(QTest::currentDataTag())
                                     .replace(QLatin1Char(' '), QLatin1Char('_'))
                                     .remove(QLatin1Char(','))));
    // The widened fields still sit inside the dialog and clear of each other.
    QVERIFY(d.dialog->rect().contains(f->geometry()));
    for (int n = 1; n <= d.dialog->FieldCount(); ++n)
        if (n != field) QVERIFY(!d.Field(n)->geometry().intersects(f->geometry()));

    // A value typed longer than the field and left is shown from its start too.
    f->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(f, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(f, QStringLiteral("18.03751"));
    d.dialog->CloseButton()->setFocus(Qt::TabFocusReason);
    QCOMPARE(f->cursorPosition(), 0);
    QVERIFY(FirstInkColumn(f) <= 4);
}

void DimensionTypingTest::typedKeyReplacesTheSelection_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    // Field 8 is "Combo Lever Back Set", 0.280.
    QTest::newRow("point over a point") << 8 << 0.28f << ".35"
                                        << ".35";
    QTest::newRow("minus over a minus") << 8 << -5.0f << "-2"
                                        << "-2";
    QTest::newRow("second point still refused") << 8 << 0.28f << "1.2.3"
                                                << "1.23";
    QTest::newRow("second minus still refused") << 8 << -5.0f << "-1-2"
                                                << "-12";
}

void DimensionTypingTest::typedKeyReplacesTheSelection() {
    QFETCH(int, field);
    QFETCH(float, value);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    Dialog d(false);
    QVERIFY(QTest::qWaitForWindowActive(d.dialog.get()));
    kes::SetDimension(d.model, field, value);
    d.dialog->FormActivate();
    TabInto(d, field);
    QVERIFY(d.Field(field)->hasFocus());
    QCOMPARE(d.Field(field)->selectedText(), d.Field(field)->text());
    QTest::keyClicks(d.Field(field), typed);
    QCOMPARE(d.Field(field)->text(), shown);
}

void DimensionTypingTest::unchangedEditRecordsNoUndo() {
    Dialog d(false);
    QVERIFY(QTest::qWaitForWindowActive(d.dialog.get()));
    TabInto(d, 10); // Valve Rod Length, 6.343
    QTest::keyClicks(d.Field(10), QStringLiteral("6.343"));
    QTest::keyClick(d.Field(10), Qt::Key_Tab);
    QCOMPARE(d.model.UndoCount, 0);
    QCOMPARE(d.model.UndoRecord[1].Id, 0);
    // It is still the newest dynamic variable.
    QCOMPARE(d.model.DynVarSlots[1].Id, 10);

    // A real change is recorded once, with both values.
    TabInto(d, 10);
    QTest::keyClicks(d.Field(10), QStringLiteral("6.5"));
    QTest::keyClick(d.Field(10), Qt::Key_Tab);
    QCOMPARE(d.model.UndoCount, 1);
    QCOMPARE(d.model.UndoRecord[1].Before, 6.343f);
    QCOMPARE(d.model.UndoRecord[1].After, 6.5f);
}

void DimensionTypingTest::revArmFieldsShowWhatTheyStored() {
    Dialog d(false);
    QVERIFY(QTest::qWaitForWindowActive(d.dialog.get()));
    QCOMPARE(d.model.Frame.RevArmMax, 1.7f);
    TabInto(d, 29);
    QTest::keyClicks(d.Field(29), QStringLiteral("2.0"));
    QTest::keyClick(d.Field(29), Qt::Key_Tab);
    QCOMPARE(d.model.Frame.RevArmNorm, 1.7f);
    QCOMPARE(d.Field(29)->text(), QStringLiteral("1.700"));

    // Field 30 below Norm is raised to it and says so.
    QTest::keyClick(d.Field(30), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(d.Field(30), QStringLiteral("0.5"));
    d.dialog->CloseButton()->setFocus(Qt::TabFocusReason);
    QCOMPARE(d.model.Frame.RevArmMax, 1.7f);
    QCOMPARE(d.Field(30)->text(), QStringLiteral("1.700"));
}

int main(int argc, char** argv) {
    return dimtest::Run<DimensionTypingTest>(argc, argv);
}

#include "dimensions_typing_test.moc"
