// SPDX-License-Identifier: GPL-3.0-or-later
// The lines-and-circles editor: what it writes into the LineTable, how it
// follows a changed table, and how a pivot pick from the main window fills
// the reference pivots.

#include "auxiliary/draw_lines_window.h"
#include "model/design_changes.h"
#include "model/design_edit.h"
#include "model/model.h"
#include "model/solver.h"
#include "picture/animation_tick.h"
#include "picture/cylinder_outlines.h"
#include "picture/draw_state.h"
#include "picture/line_colors.h"
#include "picture/mechanism_painter.h"
#include "support/fake_main_link.h"

#include "aux_test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include <memory>

namespace {

// Columns as the editor lays them out (see the header row).
enum { ColPoint1X = 3, ColPoint1Y = 4, ColPoint2X = 5, ColPoint2Y = 6, ColRef1X = 9 };

std::unique_ptr<kes::Model> SolvedModel() {
    auto m = std::make_unique<kes::Model>();
    kes::InitialiseModel(*m);
    m->DriverAngle = 30.0f;
    kes::SolveLinkage(*m);
    return m;
}

QComboBox* Combo(QWidget& w, const QString& name) {
    auto* combo = w.findChild<QComboBox*>(name);
    if (!combo) qFatal("no combo box %s", qPrintable(name));
    return combo;
}

void Choose(QComboBox* combo, int value) {
    const int at = combo->findData(value);
    QVERIFY2(at >= 0, qPrintable(combo->objectName()));
    combo->setCurrentIndex(at);
}

// Types a value into a numeric cell through the cell's own editor.
void TypeIntoCell(QTableWidget* table, int row, int column, const QString& keys) {
    table->setCurrentCell(row, column);
    table->editItem(table->item(row, column));
    auto* editor = qobject_cast<QLineEdit*>(table->indexWidget(table->model()->index(row, column)));
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, keys);
    QTest::keyClick(editor, Qt::Key_Return);
    // Return commits through a queued call, as in the running program.
    QCoreApplication::processEvents();
}

} // namespace

class LinesTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { aux_test::FilterOffscreenMessage(); }
    void editorWritesEveryField();
    void typedItemsDrawInEveryReferenceMode();
    void numericCellsTakeOnlyNumbers();
    void currentItemFollowsTheRowInUse();
    void refreshFollowsAChangedTable();
    void oddFileValuesAreShownNotLost();
    void clearItemUnsetsEverything();
    void pickOnePivotWithTheLeftButton();
    void pickTwoPivotsLeftThenRight();
    void pickIgnoresClicksThatDoNotFit();
    void pickAtReferencePointChoosesTheNearestPivot();
    void nearestPivotTieGoesToTheLowerSlot();
    void showingAgainEndsAnUnfinishedWait();
    void statusSaysWhatWillBeDrawn();
    void editsMoveTheRevisionAndSelectingDoesNot();
    void renders();
};

void LinesTest::editorWritesEveryField() {
    auto m = SolvedModel();
    FakeMainLink link;
    TDrawLines w(*m, link);
    w.show();

    Choose(Combo(w, "ItemType3"), 1);
    Choose(Combo(w, "ItemColor3"), 12);
    Choose(Combo(w, "RefMode3"), 1);
    Choose(Combo(w, "Ref1Pivot3"), kes::CrankPin);
    Choose(Combo(w, "Ref2Pivot3"), kes::Crosshead);
    auto* table = w.findChild<QTableWidget*>("LinesTable");
    QVERIFY(table);
    TypeIntoCell(table, 2, ColPoint1X, "1.25");
    TypeIntoCell(table, 2, ColPoint1Y, "-0.5");
    TypeIntoCell(table, 2, ColPoint2X, "2");
    TypeIntoCell(table, 2, ColPoint2Y, "3.75");
    TypeIntoCell(table, 2, ColRef1X, "0.125");

    const kes::LineItem& it = m->LineTable[3];
    QCOMPARE(it.ItemType, 1);
    QCOMPARE(it.ItemColor, 12);
    QCOMPARE(kes::LineColor(it.ItemColor), QColor(Qt::blue));
    QCOMPARE(it.RefMode, 1);
    QCOMPARE(it.Ref1Pivot, int(kes::CrankPin));
    QCOMPARE(it.Ref2Pivot, int(kes::Crosshead));
    QCOMPARE(it.Point1X, 1.25f);
    QCOMPARE(it.Point1Y, -0.5f);
    QCOMPARE(it.Point2X, 2.0f);
    QCOMPARE(it.Point2Y, 3.75f);
    QCOMPARE(it.Ref1X, 0.125f);
    QCOMPARE(m->CurrentItem, 3);
    // The neighbours are untouched.
    QCOMPARE(m->LineTable[2].ItemType, -1);
    QCOMPARE(m->LineTable[4].Point1X, -1.0f);

    // Choosing the empty entry unsets a choice again.
    Choose(Combo(w, "ItemColor3"), -1);
    QCOMPARE(m->LineTable[3].ItemColor, -1);
}

// The lines and circles are stored with the design: each change is an edit
// (the revision moves, the design is modified); choosing a row or typing a
// value it already holds is none.
void LinesTest::editsMoveTheRevisionAndSelectingDoesNot() {
    auto m = SolvedModel();
    FakeMainLink link;
    TDrawLines w(*m, link);
    w.show();
    auto* table = w.findChild<QTableWidget*>("LinesTable");
    QVERIFY(table);
    uint64_t revision = kes::DesignRevision(*m);
    const auto moved = [&] {
        const bool yes = kes::DesignRevision(*m) != revision;
        revision = kes::DesignRevision(*m);
        return yes;
    };

    table->setCurrentCell(6, ColPoint1X);
    QVERIFY(!moved());
    Choose(Combo(w, "ItemType7"), 0);
    QVERIFY(moved());
    Choose(Combo(w, "ItemColor7"), 9);
    QVERIFY(moved());
    TypeIntoCell(table, 6, ColPoint1X, "2.5");
    QVERIFY(moved());
    TypeIntoCell(table, 6, ColPoint1X, "2.5");
    QVERIFY(!moved());
    QTest::mouseClick(w.findChild<QPushButton*>("ClearItem"), Qt::LeftButton);
    QVERIFY(moved());
    QVERIFY(kes::IsDesignModified(*m));
}

void LinesTest::typedItemsDrawInEveryReferenceMode() {
    auto m = SolvedModel();
    m->ScreenDataOn = false;
    m->StepAngle = 0.0f;
    FakeMainLink link;
    TDrawLines w(*m, link);
    w.show();
    auto* table = w.findChild<QTableWidget*>("LinesTable");

    struct Typed {
        int Type, Color, Ref, Pivot1, Pivot2;
        const char *P1X, *P1Y, *P2X, *P2Y;
    };
    // Colours the gear itself never uses, so each item is told apart.
    const Typed items[] = {
        {0, 3, 0, -1, -1, "-3", "10", "3", "10"},                   // Olive line, fixed
        {0, 4, 1, kes::CrankPin, -1, "0", "-8", "2", "-8"},         // Navy, with the crank pin
        {0, 5, 2, kes::ValveRodFrontPin, -1, "0", "4", "30", "12"}, // Purple, pin to fixed
        {0, 6, 3, kes::Crosshead, kes::EccCrankPin, "0", "-6", "0", "-10"}, // Teal, two pins
        {1, 11, 0, -1, -1, "40", "8", "2", "0"},                            // Yellow circle, fixed
        {1, 8, 1, kes::BellCrankPivotAbs, -1, "0", "3", "1", "0"}, // Silver circle on a pivot
    };
    for (int i = 0; i < 6; ++i) {
        const Typed& t = items[i];
        const QString n = QString::number(i + 1);
        Choose(Combo(w, "ItemType" + n), t.Type);
        Choose(Combo(w, "ItemColor" + n), t.Color);
        Choose(Combo(w, "RefMode" + n), t.Ref);
        Choose(Combo(w, "Ref1Pivot" + n), t.Pivot1);
        Choose(Combo(w, "Ref2Pivot" + n), t.Pivot2);
        TypeIntoCell(table, i, ColPoint1X, t.P1X);
        TypeIntoCell(table, i, ColPoint1Y, t.P1Y);
        TypeIntoCell(table, i, ColPoint2X, t.P2X);
        TypeIntoCell(table, i, ColPoint2Y, t.P2Y);
    }

    DrawState state;
    FrameOutcome outcome;
    QImage frame = NewFrameImage();
    RunTick(*m, state, frame, outcome);

    auto at = [&](int point) {
        return QPointF(m->Points[size_t(point)].X, m->Points[size_t(point)].Y);
    };
    // The item's colour on or right beside the screen pixel of a world point.
    auto drawnAt = [&](QPointF world, int color) {
        const int x = WorldToScreenX(*m, world.x()), y = WorldToScreenY(*m, world.y());
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (frame.pixel(x + dx, y + dy) == (kes::LineColor(color).rgb() | 0xFF000000u))
                    return true;
        return false;
    };
    const QPointF crank = at(kes::CrankPin), rod = at(kes::ValveRodFrontPin);
    const QPointF cross = at(kes::Crosshead), ecc = at(kes::EccCrankPin);
    const QPointF bell = at(kes::BellCrankPivotAbs);
    QVERIFY(drawnAt({0, 10}, 3));
    QVERIFY(drawnAt(crank + QPointF(1, -8), 4));
    QVERIFY(drawnAt(((rod + QPointF(0, 4)) + QPointF(30, 12)) / 2, 5));
    QVERIFY(drawnAt(((cross + QPointF(0, -6)) + (ecc + QPointF(0, -10))) / 2, 6));
    QVERIFY(drawnAt({42, 8}, 11));
    QVERIFY(drawnAt({40, 10}, 11));
    QVERIFY(!drawnAt({40, 8}, 11)); // a circle, not a disc
    QVERIFY(drawnAt(bell + QPointF(0, 4), 8));
    QVERIFY(drawnAt(bell + QPointF(-1, 3), 8));

    // An item whose choice is unset again is no longer drawn.
    Choose(Combo(w, "RefMode1"), -1);
    RunTick(*m, state, frame, outcome);
    QVERIFY(!drawnAt({0, 10}, 3));
    QVERIFY(drawnAt(crank + QPointF(1, -8), 4));
    aux_test::Capture(w, "lines_window_typed");
    if (const char* folder = std::getenv("KESTROVE_AUX_SHOTS"))
        frame.save(QString::fromLocal8Bit(folder) + QStringLiteral("/lines_on_picture.png"));
}

void LinesTest::numericCellsTakeOnlyNumbers() {
    auto m = SolvedModel();
    FakeMainLink link;
    TDrawLines w(*m, link);
    w.show();
    auto* table = w.findChild<QTableWidget*>("LinesTable");

    struct Case {
        const char* keys;
        float stored;
        const char* shown;
    };
    // Letters, a second point and a minus after digits are refused by the
    // field; a text that is no number keeps the value that was there.
    const Case cases[] = {
        {"4.5", 4.5f, "4.500"}, {"1.2.3", 1.23f, "1.230"},  {"-7x", -7.0f, "-7.000"},
        {"ab9", 9.0f, "9.000"}, {"5-", 5.0f, "5.000"},      {"-", 5.0f, "5.000"},
        {".", 5.0f, "5.000"},   {"-.25", -0.25f, "-0.250"},
    };
    for (const Case& c : cases) {
        TypeIntoCell(table, 0, ColPoint2Y, QString::fromLatin1(c.keys));
        QCOMPARE(m->LineTable[1].Point2Y, c.stored);
        QCOMPARE(table->item(0, ColPoint2Y)->text(), QString::fromLatin1(c.shown));
    }
}

void LinesTest::currentItemFollowsTheRowInUse() {
    auto m = SolvedModel();
    FakeMainLink link;
    TDrawLines w(*m, link);
    w.show();
    auto* table = w.findChild<QTableWidget*>("LinesTable");

    table->setCurrentCell(7, ColPoint1X);
    QCOMPARE(m->CurrentItem, 8);
    // A choice made in another row moves the current item there.
    Choose(Combo(w, "ItemType15"), 0);
    QCOMPARE(m->CurrentItem, 15);
    QCOMPARE(table->currentRow(), 14);
}

void LinesTest::refreshFollowsAChangedTable() {
    auto m = SolvedModel();
    FakeMainLink link;
    TDrawLines w(*m, link);
    w.show();

    // As an opened file would leave it.
    kes::LineItem item;
    item.Point1X = 1.5f;
    item.Point1Y = -2.25f;
    item.Point2X = 0.75f;
    item.Point2Y = 4.0f;
    item.ItemType = 0;
    item.ItemColor = 9;
    item.RefMode = 3;
    item.Ref1Pivot = kes::ValveRodFrontPin;
    item.Ref2Pivot = kes::CombLeverLowerPin;
    m->LineTable[7] = item;
    m->LineTable[1] = kes::LineItem{};
    m->CurrentItem = 7;
    w.RefreshFromModel();

    QCOMPARE(Combo(w, "ItemType7")->currentData().toInt(), 0);
    QCOMPARE(Combo(w, "ItemColor7")->currentText(), QStringLiteral("Red"));
    QCOMPARE(Combo(w, "RefMode7")->currentData().toInt(), 3);
    QCOMPARE(Combo(w, "Ref1Pivot7")->currentData().toInt(), int(kes::ValveRodFrontPin));
    QCOMPARE(Combo(w, "Ref2Pivot7")->currentData().toInt(), int(kes::CombLeverLowerPin));
    auto* table = w.findChild<QTableWidget*>("LinesTable");
    QCOMPARE(table->item(6, ColPoint1X)->text(), QStringLiteral("1.500"));
    QCOMPARE(table->item(6, ColPoint1Y)->text(), QStringLiteral("-2.250"));
    QCOMPARE(table->item(6, ColPoint2Y)->text(), QStringLiteral("4.000"));
    QCOMPARE(table->currentRow(), 6);
    QCOMPARE(Combo(w, "ItemType1")->currentData().toInt(), -1);
    QCOMPARE(table->item(0, ColPoint1X)->text(), QStringLiteral("-1.000"));

    // Refreshing writes nothing back.
    QCOMPARE(m->LineTable[7].Point1Y, -2.25f);
    QCOMPARE(m->LineTable[7].ItemColor, 9);
}

void LinesTest::oddFileValuesAreShownNotLost() {
    auto m = SolvedModel();
    FakeMainLink link;
    m->LineTable[4].ItemType = 7;
    m->LineTable[4].ItemColor = 40;
    m->LineTable[4].Ref1Pivot = 6;
    m->LineTable[4].Point1X = std::numeric_limits<float>::quiet_NaN();
    m->CurrentItem = 99;
    TDrawLines w(*m, link);
    w.show();

    QCOMPARE(Combo(w, "ItemType4")->currentData().toInt(), 7);
    QCOMPARE(Combo(w, "ItemColor4")->currentData().toInt(), 40);
    QCOMPARE(Combo(w, "Ref1Pivot4")->currentData().toInt(), 6);
    QCOMPARE(m->LineTable[4].ItemType, 7);
    QCOMPARE(m->LineTable[4].ItemColor, 40);
    QCOMPARE(w.findChild<QTableWidget*>("LinesTable")->currentRow(), kes::LineItemCount - 1);
    QCOMPARE(kes::LineColor(40), QColor(Qt::black));
}

void LinesTest::clearItemUnsetsEverything() {
    auto m = SolvedModel();
    FakeMainLink link;
    m->LineTable[5].ItemType = 1;
    m->LineTable[5].Point1X = 3.0f;
    m->LineTable[5].Ref2Pivot = 4;
    m->CurrentItem = 5;
    TDrawLines w(*m, link);
    w.show();
    QTest::mouseClick(w.findChild<QPushButton*>("ClearItem"), Qt::LeftButton);

    const kes::LineItem& it = m->LineTable[5];
    QCOMPARE(it.ItemType, -1);
    QCOMPARE(it.Point1X, -1.0f);
    QCOMPARE(it.Ref2Pivot, -1);
    QCOMPARE(Combo(w, "ItemType5")->currentData().toInt(), -1);
}

void LinesTest::pickOnePivotWithTheLeftButton() {
    auto m = SolvedModel();
    FakeMainLink link;
    TDrawLines w(*m, link);
    w.show();
    Choose(Combo(w, "ItemType2"), 0);
    Choose(Combo(w, "ItemColor2"), 9);
    Choose(Combo(w, "RefMode2"), 2);
    auto* pick = w.findChild<QPushButton*>("PickPivots");
    QVERIFY(pick->isEnabled());
    QTest::mouseClick(pick, Qt::LeftButton);

    QVERIFY(m->LinesPickWaiting);
    QCOMPARE(m->LinesPickRefChoice, 2);
    QVERIFY(m->ReferencePointsOn);
    QVERIFY(!w.isVisible());
    int ref = -1;
    QVERIFY(w.ChoicesComplete(&ref));
    QCOMPARE(ref, 2);

    // The main window has put reference point 1 where the user clicked.
    m->Points[kes::RefPoint1].X = m->Points[kes::CrankPin].X + 0.25f;
    m->Points[kes::RefPoint1].Y = m->Points[kes::CrankPin].Y - 0.5f;
    QVERIFY(w.PivotPicked(kes::CrankPin, false));

    const kes::LineItem& it = m->LineTable[2];
    QCOMPARE(it.Ref1Pivot, int(kes::CrankPin));
    QCOMPARE(it.Ref2Pivot, -1);
    QCOMPARE(it.Ref1X, 0.25f);
    QCOMPARE(it.Ref1Y, -0.5f);
    QVERIFY(!m->LinesPickWaiting);
    QVERIFY(!w.ChoicesComplete());
    QCOMPARE(Combo(w, "Ref1Pivot2")->currentData().toInt(), int(kes::CrankPin));
}

void LinesTest::pickTwoPivotsLeftThenRight() {
    auto m = SolvedModel();
    FakeMainLink link;
    TDrawLines w(*m, link);
    w.show();
    Choose(Combo(w, "ItemType6"), 0);
    Choose(Combo(w, "ItemColor6"), 2);
    Choose(Combo(w, "RefMode6"), 3);
    QTest::mouseClick(w.findChild<QPushButton*>("PickPivots"), Qt::LeftButton);
    QCOMPARE(m->LinesPickRefChoice, 3);

    // The right button before the left one is not the order asked for.
    QVERIFY(!w.PivotPicked(kes::Crosshead, true));
    QCOMPARE(m->LineTable[6].Ref2Pivot, -1);
    QVERIFY(!w.PivotPicked(kes::ValveRodFrontPin, false));
    QVERIFY(m->LinesPickWaiting);
    QCOMPARE(m->LineTable[6].Ref1Pivot, int(kes::ValveRodFrontPin));
    // A relative pivot is stored as its absolute slot.
    QVERIFY(w.PivotPicked(kes::BellCrankPivot, true));
    QCOMPARE(m->LineTable[6].Ref2Pivot, int(kes::BellCrankPivotAbs));
    QVERIFY(!m->LinesPickWaiting);
}

void LinesTest::pickIgnoresClicksThatDoNotFit() {
    auto m = SolvedModel();
    FakeMainLink link;
    TDrawLines w(*m, link);
    // Not waiting: nothing happens.
    QVERIFY(!w.PivotPicked(kes::CrankPin, false));
    QCOMPARE(m->LineTable[1].Ref1Pivot, -1);

    w.show();
    Choose(Combo(w, "ItemType1"), 1);
    Choose(Combo(w, "ItemColor1"), 0);
    Choose(Combo(w, "RefMode1"), 1);
    QTest::mouseClick(w.findChild<QPushButton*>("PickPivots"), Qt::LeftButton);
    QVERIFY(m->LinesPickWaiting);
    // The right button for a one-pivot reference, the reference points
    // themselves and slots outside the table are all ignored.
    QVERIFY(!w.PivotPicked(kes::CrankPin, true));
    QVERIFY(!w.PivotPicked(kes::RefPoint1, false));
    QVERIFY(!w.PivotPicked(-3, false));
    QVERIFY(!w.PivotPicked(400, false));
    QVERIFY(m->LinesPickWaiting);
    QCOMPARE(m->LineTable[1].Ref1Pivot, -1);

    // A circle cannot take two pivots: no pick is offered for reference 3.
    w.show();
    Choose(Combo(w, "RefMode1"), 3);
    QVERIFY(!w.findChild<QPushButton*>("PickPivots")->isEnabled());
    w.StartPick();
    QVERIFY(!m->LinesPickWaiting);
}

void LinesTest::pickAtReferencePointChoosesTheNearestPivot() {
    auto m = SolvedModel();
    FakeMainLink link;
    TDrawLines w(*m, link);
    w.show();
    Choose(Combo(w, "ItemType9"), 0);
    Choose(Combo(w, "ItemColor9"), 4);
    Choose(Combo(w, "RefMode9"), 1);
    QTest::mouseClick(w.findChild<QPushButton*>("PickPivots"), Qt::LeftButton);

    const QPointF pin(m->Points[kes::CombLeverLowerPin].X, m->Points[kes::CombLeverLowerPin].Y);
    m->Points[kes::RefPoint1].X = float(pin.x() + 0.05);
    m->Points[kes::RefPoint1].Y = float(pin.y() - 0.05);
    QVERIFY(w.PickAtReferencePoint(false));
    QCOMPARE(m->LineTable[9].Ref1Pivot, int(kes::CombLeverLowerPin));

    // The bell-crank pivot, held relative to the gear mount, is found at
    // its real place.
    w.show();
    QTest::mouseClick(w.findChild<QPushButton*>("PickPivots"), Qt::LeftButton);
    const QPointF bell = TDrawLines::PivotPosition(*m, kes::BellCrankPivot);
    QCOMPARE(bell.x(), double(m->Points[kes::GearMount].X) - m->Points[kes::BellCrankPivot].X);
    QCOMPARE(bell.y(), double(m->Points[kes::GearMount].Y) + m->Points[kes::BellCrankPivot].Y);
    m->Points[kes::RefPoint1].X = float(bell.x());
    m->Points[kes::RefPoint1].Y = float(bell.y() + 0.02);
    QVERIFY(w.PickAtReferencePoint(false));
    QCOMPARE(m->LineTable[9].Ref1Pivot, int(kes::BellCrankPivotAbs));
}

void LinesTest::nearestPivotTieGoesToTheLowerSlot() {
    kes::Model m;
    for (auto& p : m.Points)
        p.X = p.Y = 1000.0f;
    m.Points[kes::Crosshead] = {11.0f, 10.0f, 0, 0};
    m.Points[kes::ValveStemJoint] = {9.0f, 10.0f, 0, 0};
    QCOMPARE(TDrawLines::NearestPivot(m, 10.0f, 10.0f), int(kes::Crosshead));
    QCOMPARE(TDrawLines::NearestPivot(m, 9.9f, 10.0f), int(kes::ValveStemJoint));
    // The reference points are never pivots, however near.
    m.Points[kes::RefPoint1] = {10.0f, 10.0f, 0, 0};
    QCOMPARE(TDrawLines::NearestPivot(m, 10.0f, 10.0f), int(kes::Crosshead));
    // Points thrown to NaN by impossible dimensions are passed over.
    m.Points[kes::Crosshead].X = std::numeric_limits<float>::quiet_NaN();
    QCOMPARE(TDrawLines::NearestPivot(m, 10.0f, 10.0f), int(kes::ValveStemJoint));
}

void LinesTest::showingAgainEndsAnUnfinishedWait() {
    auto m = SolvedModel();
    FakeMainLink link;
    TDrawLines w(*m, link);
    w.show();
    Choose(Combo(w, "ItemType1"), 0);
    Choose(Combo(w, "ItemColor1"), 0);
    Choose(Combo(w, "RefMode1"), 1);
    QTest::mouseClick(w.findChild<QPushButton*>("PickPivots"), Qt::LeftButton);
    QVERIFY(m->LinesPickWaiting);
    w.show(); // opened from the menu instead of by a pick
    QVERIFY(!m->LinesPickWaiting);
    QVERIFY(!w.PivotPicked(kes::CrankPin, false));
    QCOMPARE(m->LineTable[1].Ref1Pivot, -1);
}

void LinesTest::statusSaysWhatWillBeDrawn() {
    auto m = SolvedModel();
    FakeMainLink link;
    TDrawLines w(*m, link);
    w.show();
    auto* status = w.findChild<QLabel*>("ItemStatus");
    QVERIFY(status->text().contains("choose its type, colour and reference"));
    Choose(Combo(w, "ItemType1"), 1);
    Choose(Combo(w, "ItemColor1"), 0);
    Choose(Combo(w, "RefMode1"), 2);
    QVERIFY(status->text().contains("draws nothing"));
    Choose(Combo(w, "RefMode1"), 0);
    QVERIFY(status->text().contains("circle about point 1"));
    QVERIFY(!w.findChild<QPushButton*>("PickPivots")->isEnabled());
}

void LinesTest::renders() {
    auto m = SolvedModel();
    FakeMainLink link;
    m->LineTable[1] = {0.0f, 0.0f, 0.0f, -2.0f, 0.1f, 0.0f, -1, -1, 0, 9, 1, 8, -1};
    m->LineTable[2] = {2.0f, 3.0f, 1.5f, -1, -1, -1, -1, -1, 1, 12, 0, -1, -1};
    m->CurrentItem = 2;
    TDrawLines w(*m, link);
    w.show();
    const QImage image = aux_test::Capture(w, "lines_window");
    QVERIFY(!image.isNull());
    QVERIFY(image.width() >= 1000);
}

int main(int argc, char** argv) {
    aux_test::PrepareHeadless();
    QApplication app(argc, argv);
    LinesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "auxiliary_lines_test.moc"
