// SPDX-License-Identifier: GPL-3.0-or-later
// The pivot data table: which rows and columns it lists, that its numbers
// are the solver's at the listed angles, and that it leaves the gear as it
// found it.

#include "auxiliary/data_table_window.h"
#include "auxiliary/pivot_table.h"
#include "ui_shell/captions.h"
#include "model/model.h"
#include "model/solver.h"
#include "support/fake_main_link.h"

#include "aux_test_support.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

std::unique_ptr<kes::Model> FactoryModel() {
    auto m = std::make_unique<kes::Model>();
    kes::InitialiseModel(*m);
    return m;
}

void Activate(kes::Model& m, int slot, int point) {
    m.PivotSlots[size_t(slot)].Active = true;
    m.PivotSlots[size_t(slot)].PointIndex = point;
}

// A cell shows the value with the table's decimals.
bool Shows(const QString& cell, double value) {
    bool ok = false;
    const double shown = cell.toDouble(&ok);
    const int point = cell.indexOf(QLatin1Char('.'));
    return ok && point >= 0 && cell.size() - point - 1 == pivot_table::Decimals &&
           std::fabs(shown - value) <= 0.5e-4 + 1e-9;
}

// The data rows of the text: the lines after the column heading.
QList<QStringList> DataRows(const QString& text, QStringList* heading) {
    const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QList<QStringList> rows;
    bool inRows = false;
    for (const QString& line : lines) {
        if (line.startsWith(QStringLiteral("Angle\t"))) {
            *heading = line.split(QLatin1Char('\t'));
            inRows = true;
            continue;
        }
        if (inRows) rows << line.split(QLatin1Char('\t'));
    }
    return rows;
}

} // namespace

class DataTableTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { aux_test::FilterOffscreenMessage(); }
    void listsTheActiveSlotsEveryTenDegrees();
    void numbersMatchTheSolverAtEachAngle();
    void pairsNeedBothSlots();
    void restoresTheGear();
    void relativePivotsAreListedWhereTheyStand();
    void flagsAnglesWhereTheLinkageCannotClose();
    void nothingActiveSaysHowToChooseSlots();
    void badSlotIndexIsNotListed();
    void windowShowsTheTableReadOnly();
};

void DataTableTest::listsTheActiveSlotsEveryTenDegrees() {
    auto m = FactoryModel();
    Activate(*m, 1, kes::CrankPin);
    Activate(*m, 2, kes::Crosshead);
    Activate(*m, 5, kes::ValveStemJoint);
    const pivot_table::Table t = pivot_table::Compute(*m);
    QCOMPARE(int(t.Rows.size()), 36);
    for (int r = 0; r < 36; ++r)
        QCOMPARE(t.Rows[size_t(r)].Angle, float(10 * r));

    QStringList heading;
    const QList<QStringList> rows = DataRows(pivot_table::Format(*m, t), &heading);
    const QStringList expected{"Angle",  "1 Vert", "1 Horz",   "2 Vert", "2 Horz",
                               "5 Vert", "5 Horz", "Dist 1-2", "Error"};
    QCOMPARE(heading, expected);
    QCOMPARE(rows.size(), 36);
    for (const QStringList& row : rows)
        QCOMPARE(row.size(), expected.size());
    QCOMPARE(rows.first().first(), QStringLiteral("0.0"));
    QCOMPARE(rows.last().first(), QStringLiteral("350.0"));
    // Every cell is a plain number a spreadsheet takes as one.
    for (const QStringList& row : rows)
        for (const QString& cell : row) {
            bool ok = false;
            cell.toDouble(&ok);
            QVERIFY2(ok && cell == cell.trimmed(), qPrintable(cell));
        }
}

void DataTableTest::numbersMatchTheSolverAtEachAngle() {
    auto m = FactoryModel();
    m->RevArmSetting = m->MidGear() + m->Frame.RevArmNorm;
    Activate(*m, 1, kes::ValveRodFrontPin);
    Activate(*m, 2, kes::CrankPin);
    QStringList heading;
    const QList<QStringList> rows =
        DataRows(pivot_table::Format(*m, pivot_table::Compute(*m)), &heading);
    QCOMPARE(rows.size(), 36);

    kes::Model check = *m;
    for (int r = 0; r < 36; r += 7) {
        check.DriverAngle = float(10 * r);
        kes::SolveLinkage(check);
        const kes::PointSlot& a = check.Points[kes::ValveRodFrontPin];
        const kes::PointSlot& b = check.Points[kes::CrankPin];
        const QStringList& row = rows[r];
        QVERIFY2(Shows(row[1], a.Y), qPrintable(row.join(' ')));
        QVERIFY(Shows(row[2], a.X));
        QVERIFY(Shows(row[3], b.Y));
        QVERIFY(Shows(row[4], b.X));
        QVERIFY(Shows(row[5], std::hypot(double(a.X) - b.X, double(a.Y) - b.Y)));
        QCOMPARE(row[6], QStringLiteral("0"));
    }
    // The crank pin turns: at 90 degrees it stands below the axle by the crank radius.
    QVERIFY(Shows(rows[9][3], -m->Frame.StrokeLength / 2.0));
    // At 180 degrees it is level with the axle: a zero, never "-0.0000".
    QCOMPARE(rows[18][3], QStringLiteral("0.0000"));
    for (const QStringList& row : rows)
        for (const QString& cell : row)
            QVERIFY2(!cell.startsWith("-0.0000"), qPrintable(cell));
}

void DataTableTest::pairsNeedBothSlots() {
    auto m = FactoryModel();
    Activate(*m, 3, kes::CrankPin);
    Activate(*m, 4, kes::EccCrankPin);
    Activate(*m, 6, kes::Crosshead);
    const pivot_table::Table t = pivot_table::Compute(*m);
    QVERIFY(!t.PairListed[1]);
    QVERIFY(t.PairListed[2]);
    QVERIFY(!t.PairListed[3]);
    QStringList heading;
    DataRows(pivot_table::Format(*m, t), &heading);
    QVERIFY(heading.contains("Dist 3-4"));
    QVERIFY(!heading.contains("Dist 1-2"));
    QVERIFY(!heading.contains("Dist 5-6"));
    // The return crank stands at a fixed distance from the crank pin.
    for (const pivot_table::Row& row : t.Rows)
        QVERIFY(std::fabs(row.Distance[2] - m->Frame.EccCrankLength) < 1e-3);
}

void DataTableTest::restoresTheGear() {
    auto m = FactoryModel();
    m->DriverAngle = 123.4f;
    m->RevArmSetting = m->MidGear() - 0.7f;
    kes::SolveLinkage(*m);
    m->SolveError = true; // an error the main window has yet to show
    const kes::Model before = *m;
    Activate(*m, 1, kes::ValveStemJoint);
    pivot_table::Compute(*m);

    QCOMPARE(m->DriverAngle, 123.4f);
    QCOMPARE(m->RevArmSetting, before.RevArmSetting);
    QCOMPARE(m->SolveError, true);
    QCOMPARE(m->BeepOnError, true);
    for (int i = 0; i < kes::PointCount; ++i) {
        QCOMPARE(m->Points[size_t(i)].X, before.Points[size_t(i)].X);
        QCOMPARE(m->Points[size_t(i)].Y, before.Points[size_t(i)].Y);
    }
    QCOMPARE(m->Solver.ValveOffset, before.Solver.ValveOffset);
}

void DataTableTest::relativePivotsAreListedWhereTheyStand() {
    auto m = FactoryModel();
    Activate(*m, 1, kes::BellCrankPivot);
    Activate(*m, 2, kes::RevArmPivot);
    const pivot_table::Table t = pivot_table::Compute(*m);
    const kes::PointSlot& mount = m->Points[kes::GearMount];
    for (const pivot_table::Row& row : t.Rows) {
        QCOMPARE(row.Position[1].x(), double(mount.X) - m->Points[kes::BellCrankPivot].X);
        QCOMPARE(row.Position[1].y(), double(mount.Y) + m->Points[kes::BellCrankPivot].Y);
        QCOMPARE(row.Position[2].x(), double(mount.X) - m->Points[kes::RevArmPivot].X);
        QCOMPARE(row.Position[2].y(), double(mount.Y) - m->Points[kes::RevArmPivot].Y);
    }
}

void DataTableTest::flagsAnglesWhereTheLinkageCannotClose() {
    auto m = FactoryModel();
    m->BeepOnError = false;           // the user has silenced the error beep
    m->Baker.RadiusBarLength = 40.0f; // no position can satisfy it
    Activate(*m, 1, kes::CrankPin);
    QStringList heading;
    const QList<QStringList> rows =
        DataRows(pivot_table::Format(*m, pivot_table::Compute(*m)), &heading);
    QCOMPARE(rows.size(), 36);
    for (const QStringList& row : rows)
        QCOMPARE(row.last(), QStringLiteral("1"));
    QCOMPARE(m->BeepOnError, false);
    QCOMPARE(m->SolveError, false);
}

void DataTableTest::nothingActiveSaysHowToChooseSlots() {
    auto m = FactoryModel();
    m->DriverAngle = 77.0f;
    const pivot_table::Table t = pivot_table::Compute(*m);
    QVERIFY(t.Rows.empty());
    const QString text = pivot_table::Format(*m, t);
    QVERIFY(text.contains("No pivot slot is active"));
    QVERIFY(!text.contains("Angle\t"));
    QCOMPARE(m->DriverAngle, 77.0f);
}

void DataTableTest::badSlotIndexIsNotListed() {
    auto m = FactoryModel();
    Activate(*m, 1, 400);
    Activate(*m, 2, -5);
    Activate(*m, 3, kes::CrankPin);
    const pivot_table::Table t = pivot_table::Compute(*m);
    QVERIFY(!t.Listed[1]);
    QVERIFY(!t.Listed[2]);
    QVERIFY(t.Listed[3]);
    QStringList heading;
    DataRows(pivot_table::Format(*m, t), &heading);
    QCOMPARE(heading, QStringList({"Angle", "3 Vert", "3 Horz", "Error"}));
}

void DataTableTest::windowShowsTheTableReadOnly() {
    auto m = FactoryModel();
    m->DataSetName = "big engine";
    Activate(*m, 1, kes::CrankPin);
    Activate(*m, 2, kes::EccCrankPin);
    FakeMainLink link;
    TDataTable w(*m, link);
    w.show();
    QVERIFY(w.windowTitle().startsWith(captions::DataTable + QStringLiteral("big engine")));
    auto* text = w.findChild<QPlainTextEdit*>("Memo1");
    QVERIFY(text && text->isReadOnly());
    QVERIFY(w.Text().startsWith(QStringLiteral("Pivot Data Table")));
    QVERIFY(w.Text().contains("Dist 1-2"));

    // The table follows the slots each time the window is shown.
    Activate(*m, 3, kes::Crosshead);
    w.hide();
    w.show();
    QVERIFY(w.Text().contains("3 Vert"));

    auto* cut = w.findChild<QAction*>("Cut1");
    auto* copy = w.findChild<QAction*>("Copy1");
    auto* paste = w.findChild<QAction*>("Paste1");
    auto* selectAll = w.findChild<QAction*>("SelectAll1");
    QVERIFY(cut && copy && paste && selectAll);
    QVERIFY(!cut->isEnabled());
    QVERIFY(!paste->isEnabled());
    QVERIFY(!copy->isEnabled()); // nothing selected yet
    selectAll->trigger();
    QVERIFY(copy->isEnabled());
    QApplication::clipboard()->clear();
    copy->trigger();
    QCOMPARE(QApplication::clipboard()->text(), w.Text());
    // Pasting into the table changes nothing.
    QApplication::clipboard()->setText(QStringLiteral("junk"));
    paste->trigger();
    text->paste();
    QVERIFY(!w.Text().contains("junk"));

    const QImage image = aux_test::Capture(w, "data_table_window");
    QVERIFY(!image.isNull());
}

int main(int argc, char** argv) {
    aux_test::PrepareHeadless();
    QApplication app(argc, argv);
    DataTableTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "auxiliary_datatable_test.moc"
