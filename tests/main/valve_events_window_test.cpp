// SPDX-License-Identifier: GPL-3.0-or-later
// The Valve Events window: the same numbers as the command line, live
// updates after an edit, stale results dropped, the sensitivity tab, copy
// and save, and its place in the main window.
#include "files/dimension_file.h"
#include "main/main_form.h"
#include "main_test_rig.h"
#include "model/design_edit.h"
#include "model/dimensions.h"
#include "model/dyn_vars.h"
#include "model/mid_gear.h"
#include "model/model.h"
#include "overlay/compared_design.h"
#include "valve_events/events_charts.h"
#include "valve_events/events_tables.h"
#include "valve_events/events_window.h"

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

namespace {

constexpr int WaitMs = 60000;

QString Cli(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(KESTROVE_CLI), args);
    p.waitForFinished(WaitMs);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// A typed edit as a dimension field makes it: the value, its undo step and
// a new design revision.
void Edit(kes::Model& m, int id, float value) {
    const float before = kes::GetDimension(m, id);
    kes::SetDimension(m, id, value);
    kes::BumpDesignRevision(m);
    kes::RecordDimensionEdit(m, id, before, kes::GetDimension(m, id));
}

// Waits until the window has shown the answer to its newest request.
bool Settle(TValveEvents& w) {
    w.FollowDesign();
    QSignalSpy shown(&w, &TValveEvents::ResultShown);
    while (w.Computing())
        if (!shown.wait(WaitMs)) return false;
    return w.Shown() != nullptr;
}

// The report table's cell under a column's CSV field name.
QString Cell(const QTableWidget& t, int row, const char* column, int offset = 0) {
    for (int c = 0; c < t.columnCount() - offset; ++c)
        if (t.horizontalHeaderItem(c)->data(events_window::FieldNameRole).toString() ==
            QLatin1String(column)) {
            c += offset;
            return t.item(row, c) ? t.item(row, c)->text() : QString();
        }
    return QStringLiteral("<no column>");
}

} // namespace

class ValveEventsWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QuietOffscreenMessages(); }

    void showsTheCommandLinesNumbers() {
        kes::Model m;
        kes::InitialiseModel(m);
        TValveEvents w(m);
        w.show();
        QVERIFY(Settle(w));
        const QString cli = Cli({QStringLiteral("report")});
        QVERIFY(!cli.isEmpty());
        // The saved and copied text is the command line's, digit for digit.
        QCOMPARE(w.TabText(TValveEvents::ReportTab, ','), cli);
        // Every cell on screen is the command line's number, rounded.
        const QStringList lines = cli.split('\n', Qt::SkipEmptyParts);
        const QStringList header = lines[0].split(',');
        const QTableWidget& t = *w.ReportTable();
        QCOMPARE(t.rowCount(), static_cast<int>(lines.size()) - 1);
        const auto columns = kes::ReportColumns();
        int numbers = 0;
        for (int row = 0; row < t.rowCount(); ++row) {
            const QStringList cells = lines[row + 1].split(',');
            for (int c = static_cast<int>(events_window::FirstShownColumn); c < header.size();
                 ++c) {
                const QString shown =
                    t.item(row, c - static_cast<int>(events_window::FirstShownColumn))->text();
                const kes::ColumnKind kind = columns[static_cast<size_t>(c)].Kind;
                if (kind == kes::ColumnKind::Text || kind == kes::ColumnKind::Flag ||
                    cells[c].isEmpty()) {
                    QCOMPARE(shown, cells[c]);
                    continue;
                }
                QCOMPARE(shown, events_window::CellText(cells[c].toDouble(),
                                                        events_window::Decimals(kind)));
                ++numbers;
            }
        }
        QVERIFY(numbers > 300);
        // The checks are the command line's too.
        QCOMPARE(w.TabText(TValveEvents::ChecksTab, ','),
                 Cli({QStringLiteral("check"), QStringLiteral("--format"), QStringLiteral("csv")}));
        QCOMPARE(w.ChecksTable()->rowCount(),
                 w.Shown() ? static_cast<int>(w.Shown()->Checks.Lines.size()) : -1);
    }

    void followsAnEditAndItsUndo() {
        kes::Model m;
        kes::InitialiseModel(m);
        TValveEvents w(m);
        w.show();
        QVERIFY(Settle(w));
        const QString before = Cell(*w.ReportTable(), 0, "front_cutoff_pct");
        const uint64_t first = w.Shown()->Report.Rows.size();
        QVERIFY(first > 0);

        // An edit by any editor, seen on the next check.
        Edit(m, 10, 6.35f);
        QVERIFY(Settle(w));
        QVERIFY(Cell(*w.ReportTable(), 0, "front_cutoff_pct") != before);
        QCOMPARE(w.TabText(TValveEvents::ReportTab, ','),
                 Cli({QStringLiteral("report"), QStringLiteral("--set"),
                      QStringLiteral("ValveRodLength=6.35")}));

        // UnDo: the first numbers return.
        QVERIFY(kes::UndoStep(m));
        QVERIFY(Settle(w));
        QCOMPARE(Cell(*w.ReportTable(), 0, "front_cutoff_pct"), before);

        // Its own timer finds a change without being asked.
        Edit(m, 2, 3.6f);
        QSignalSpy shown(&w, &TValveEvents::ResultShown);
        QVERIFY(shown.wait(WaitMs));
        QVERIFY(Settle(w));
        QCOMPARE(w.TabText(TValveEvents::ReportTab, ','),
                 Cli({QStringLiteral("report"), QStringLiteral("--set"),
                      QStringLiteral("StrokeLength=3.6")}));
    }

    void onlyTheNewestResultIsShown() {
        kes::Model m;
        kes::InitialiseModel(m);
        TValveEvents w(m);
        QSignalSpy shown(&w, &TValveEvents::ResultShown);
        // Three edits while the first is still computing.
        for (float v : {6.30f, 6.32f, 6.34f}) {
            Edit(m, 10, v);
            w.FollowDesign();
        }
        QVERIFY(w.Computing());
        QVERIFY(Settle(w));
        // The middle request never reached the screen.
        QVERIFY(shown.count() <= 2);
        QCOMPARE(w.TabText(TValveEvents::ReportTab, ','),
                 Cli({QStringLiteral("report"), QStringLiteral("--set"),
                      QStringLiteral("ValveRodLength=6.34")}));
        // No change, no new computation.
        w.FollowDesign();
        QVERIFY(!w.Computing());
    }

    void sensitivityTabSortsAndFilters() {
        kes::Model m;
        kes::InitialiseModel(m);
        TValveEvents w(m);
        w.show();
        QVERIFY(Settle(w));
        QVERIFY(!w.Shown()->Sensitivity); // computed only when its tab is open
        w.Tabs()->setCurrentIndex(TValveEvents::SensitivityTab);
        QVERIFY(Settle(w));
        QVERIFY(w.Shown()->Sensitivity);
        QTableView* view = w.SensitivityView();
        QCOMPARE(view->model()->rowCount(), 50 * 12);
        QCOMPARE(w.TabText(TValveEvents::SensitivityTab, ',').count('\n'), 1 + 50 * 12);

        auto* filter = w.findChild<QComboBox*>(QStringLiteral("ValveEventsFilter"));
        QVERIFY(filter);
        filter->setCurrentIndex(1 + kes::SensCutOff);
        for (int port = 0; port < 2; ++port)
            for (int q = 0; q < kes::SensQuantityCount; ++q)
                QCOMPARE(view->isColumnHidden(events_window::SensitivityColumn(
                             port, static_cast<kes::SensitivityQuantity>(q))),
                         q != kes::SensCutOff);
        filter->setCurrentIndex(0);
        QVERIFY(!view->isColumnHidden(events_window::SensitivityColumn(0, kes::SensLead)));

        // Sorted by the front cut-off, largest first, by value, not by text.
        const int column = events_window::SensitivityColumn(0, kes::SensCutOff);
        view->sortByColumn(column, Qt::DescendingOrder);
        double previous = HUGE_VAL;
        for (int row = 0; row < view->model()->rowCount(); ++row) {
            const double v =
                view->model()->index(row, column).data(events_window::SortRole).toDouble();
            QVERIFY(v <= previous);
            previous = v;
        }
    }

    void copiesTabsAndSavesCsv() {
        kes::Model m;
        kes::InitialiseModel(m);
        TValveEvents w(m);
        w.show();
        QVERIFY(Settle(w));
        w.findChild<QPushButton*>(QStringLiteral("ValveEventsCopy"))->click();
        const QString copied = QApplication::clipboard()->text();
        QCOMPARE(copied, w.TabText(TValveEvents::ReportTab, '\t'));
        QVERIFY(copied.startsWith(QStringLiteral("mid_gear\tsetting\toffset\t")));

        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("events.csv"));
        w.SetSaveFileChooser([&] { return file; });
        w.Tabs()->setCurrentIndex(TValveEvents::ChecksTab);
        w.findChild<QPushButton*>(QStringLiteral("ValveEventsSave"))->click();
        QFile saved(file);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(saved.readAll()), w.TabText(TValveEvents::ChecksTab, ','));
        // A file that cannot be written is said so, and nothing else changes.
        QString error;
        QVERIFY(!w.SaveCsv(dir.filePath(QStringLiteral("no/such/folder.csv")), &error));
        QVERIFY(!error.isEmpty());
    }

    void headingsCarryUnitsUnderTheirPort() {
        kes::Model m;
        kes::InitialiseModel(m);
        TValveEvents w(m);
        QVERIFY(Settle(w));
        const QTableWidget& t = *w.ReportTable();
        QStringList headings;
        for (int c = 0; c < t.columnCount(); ++c) {
            const QTableWidgetItem* h = t.horizontalHeaderItem(c);
            headings << h->text();
            // The CSV's field name stays with its column.
            QCOMPARE(h->toolTip(), QString::fromLatin1(kes::ReportColumns()[c + 1].Name));
        }
        QVERIFY(headings.contains(QStringLiteral("Front port\nCut-off %")));
        QVERIFY(headings.contains(QStringLiteral("Rear port\nLead")));
        QVERIFY(headings.contains(QStringLiteral("Front - rear\nCut-off %")));
        QVERIFY(headings.contains(QStringLiteral("\nSetting")));
        for (const QString& h : headings)
            QVERIFY2(!h.contains(QLatin1Char('_')), qPrintable(h));
    }

    // The factory design has a cut-off at every setting; the big engine's
    // ports do not open near mid gear, and no line may bridge that gap.
    void chartsPlotTheReportsCutOffs_data() {
        QTest::addColumn<QString>("dims");
        QTest::addColumn<int>("runsEachPort");
        QTest::newRow("factory") << QString() << 1;
        QTest::newRow("big engine") << QStringLiteral(KESTROVE_TEST_DATA "/big-engine.kvd") << 2;
    }

    void chartsPlotTheReportsCutOffs() {
        QFETCH(QString, dims);
        QFETCH(int, runsEachPort);
        kes::Model m;
        kes::InitialiseModel(m);
        if (!dims.isEmpty()) {
            QVERIFY(kes::LoadDimensionsByExtension(m, dims.toStdString()).Ok);
            QVERIFY(kes::FindMidGear(m));
            kes::BumpDesignRevision(m);
        }
        TValveEvents w(m);
        w.show();
        QVERIFY(Settle(w));
        QVERIFY(!w.Shown()->Charts); // drawn only when their tab is open
        w.Tabs()->setCurrentIndex(TValveEvents::ChartsTab);
        QCOMPARE(w.Tabs()->tabText(TValveEvents::ChartsTab), QStringLiteral("Charts"));
        QVERIFY(Settle(w));
        QVERIFY(w.Shown()->Charts);

        // The command line's report at the charts' settings.
        QStringList offsets;
        for (double o : events_window::ChartReportDef(m).Offsets)
            offsets << QString::fromStdString(kes::CsvNumber(o));
        QStringList args{QStringLiteral("report"), QStringLiteral("--offsets"),
                         offsets.join(QLatin1Char(','))};
        if (!dims.isEmpty()) args << QStringLiteral("--dims") << dims;
        const QStringList lines = Cli(args).split('\n', Qt::SkipEmptyParts);
        const QStringList header = lines[0].split(',');
        const int offsetColumn = static_cast<int>(header.indexOf(QStringLiteral("offset")));
        QChart* chart = w.Charts()->Chart(events_window::ChartQuantity::CutOff);
        QCOMPARE(chart->title(), QStringLiteral("Cut-off"));
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCoreApplication::processEvents();
        int checked = 0;
        for (int port = 0; port < 2; ++port) {
            const int valueColumn =
                static_cast<int>(header.indexOf(port == 0 ? QStringLiteral("front_cutoff_pct")
                                                          : QStringLiteral("rear_cutoff_pct")));
            const QString name =
                port == 0 ? QStringLiteral("Front port") : QStringLiteral("Rear port");
            // Runs of the report's rows that have a cut-off, broken where one has none.
            QList<QList<QPointF>> expected{{}};
            for (int i = 1; i < lines.size(); ++i) {
                const QStringList cells = lines[i].split(',');
                if (cells[valueColumn].isEmpty()) {
                    if (!expected.last().isEmpty()) expected.append(QList<QPointF>{});
                    continue;
                }
                expected.last() << QPointF(cells[offsetColumn].toDouble(),
                                           cells[valueColumn].toDouble());
                ++checked;
            }
            if (expected.last().isEmpty()) expected.removeLast();
            QList<QList<QPointF>> plotted;
            for (QAbstractSeries* s : chart->series())
                if (s->name() == name) plotted << qobject_cast<QLineSeries*>(s)->points();
            QCOMPARE(plotted, expected);
            QCOMPARE(static_cast<int>(plotted.size()), runsEachPort);
            // The legend names the port once.
            int shown = 0;
            for (QLegendMarker* marker : chart->legend()->markers())
                if (marker->isVisible() && marker->label() == name) ++shown;
            QCOMPARE(shown, 1);
        }
        QVERIFY(checked > 50);
        // Reverse gear to the left of mid gear, forward to the right.
        const QList<QPointF> front = qobject_cast<QLineSeries*>(chart->series().at(0))->points();
        QVERIFY(front.first().x() < 0);
        const QList<QPointF> last =
            qobject_cast<QLineSeries*>(chart->series().at(runsEachPort - 1))->points();
        QVERIFY(last.last().x() > 0);
    }

    void showsTheComparedDesignBesideThisOne() {
        kes::Model m;
        kes::InitialiseModel(m);
        TValveEvents w(m);
        overlay::ComparedDesign compared;
        w.SetComparedDesign(&compared);
        QVERIFY(Settle(w));
        const int plainColumns = w.ReportTable()->columnCount();
        auto other = std::make_unique<kes::Model>(m);
        kes::SetDimension(*other, 10, 6.5f);
        compared.Show(std::move(other), QStringLiteral("longer rod"));
        QVERIFY(Settle(w));
        QVERIFY(w.Shown()->ComparedReport);
        const QTableWidget& t = *w.ReportTable();
        QVERIFY(t.columnCount() > plainColumns);
        // Each figure, the compared one beside it and the difference.
        int row = -1;
        std::optional<double> a, b;
        for (size_t r = 0; r < w.Shown()->Report.Rows.size() && row < 0; ++r) {
            a = w.Shown()->Report.Rows[r].Events.Front.Pct(kes::CutOff);
            b = w.Shown()->ComparedReport->Rows.at(r).Events.Front.Pct(kes::CutOff);
            if (a && b && *a != *b) row = static_cast<int>(r);
        }
        QVERIFY(row >= 0);
        QCOMPARE(Cell(t, row, "front_cutoff_pct"), events_window::CellText(a, 2));
        QCOMPARE(Cell(t, row, "front_cutoff_pct", 1), events_window::CellText(b, 2));
        QCOMPARE(Cell(t, row, "front_cutoff_pct", 2), events_window::CellText(*a - *b, 2));
        QVERIFY(t.horizontalHeaderItem(t.columnCount() - 1)
                    ->text()
                    .endsWith(QStringLiteral("(difference)")));
        // The saved text stays the command line's report of this design.
        QCOMPARE(w.TabText(TValveEvents::ReportTab, ','), Cli({QStringLiteral("report")}));

        // The charts draw it dashed.
        w.Tabs()->setCurrentIndex(TValveEvents::ChartsTab);
        QVERIFY(Settle(w));
        QChart* chart = w.Charts()->Chart(events_window::ChartQuantity::Lead);
        QCOMPARE(chart->series().size(), 4);
        auto* dashed = qobject_cast<QLineSeries*>(chart->series().at(2));
        QCOMPARE(dashed->pen().style(), Qt::DashLine);
        QCOMPARE(dashed->name(), QStringLiteral("Front port, longer rod"));

        // Cleared: back to the plain table.
        compared.Clear();
        QVERIFY(Settle(w));
        QCOMPARE(w.ReportTable()->columnCount(), plainColumns);
    }

    void openedModelessFromTheMainWindow() {
        kes::Model m;
        TMainForm form(m);
        form.StopAnimation();
        auto* action = form.findChild<QAction*>(QStringLiteral("ValveEvents1"));
        QVERIFY(action);
        action->trigger();
        auto* w = form.findChild<TValveEvents*>(QStringLiteral("ValveEvents"));
        QVERIFY(w);
        QVERIFY(w->isVisible());
        QCOMPARE(w->windowModality(), Qt::NonModal);
        QCOMPARE(w->windowTitle(), ValveEventsCaption);
        action->trigger(); // the same window again
        QCOMPARE(form.findChildren<TValveEvents*>().size(), 1);
        bool hinted = false;
        for (QAction* a : form.findChild<QToolBar*>(QStringLiteral("ToolBar1"))->actions())
            hinted |= a->toolTip().startsWith(QStringLiteral("View Valve Events"));
        QVERIFY(hinted);
        QVERIFY(Settle(*w));
        // A reset of all the dimensions is followed as well.
        Edit(m, 10, 6.35f);
        QVERIFY(Settle(*w));
        const QString edited = w->TabText(TValveEvents::ReportTab, ',');
        kes::ResetAllDimensions(m);
        QVERIFY(Settle(*w));
        QVERIFY(w->TabText(TValveEvents::ReportTab, ',') != edited);
        QCOMPARE(w->TabText(TValveEvents::ReportTab, ','), Cli({QStringLiteral("report")}));
        w->close();
    }
};

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ValveEventsWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "valve_events_window_test.moc"
