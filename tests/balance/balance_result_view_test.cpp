// SPDX-License-Identifier: GPL-3.0-or-later
// The "Balance Events..." window's result as the user sees it: the chart of
// front - rear cut-off shows the table's numbers, the before/after table
// fits at the default size, a new Run clears the last, and the checklist's
// Value column follows Apply, UnDo, ReDo and any other edit. With
// KESTROVE_BALANCE_SHOTS set to a folder the window is saved there as PNG
// before and after a run.

#include "balance/balance_window.h"
#include "model/design_changes.h"
#include "model/design_edit.h"
#include "model/dimensions.h"
#include "model/dyn_vars.h"
#include "model/model.h"
#include "support/fake_main_link.h"

#include <QAbstractAxis>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>

namespace {

constexpr int RunTimeoutMs = 60000;
constexpr int FollowTimeoutMs = 2000;
constexpr int CutOffRowOfSetting = 0; // the first quantity of each setting's rows
constexpr int RowsPerSetting = 4;
constexpr int DiffBeforeColumn = 4;
constexpr int DiffAfterColumn = 7;

QtMessageHandler previousHandler = nullptr;
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& msg) {
    if (msg.contains(QLatin1String("This plugin does not support propagateSizeHints()"))) return;
    if (previousHandler) previousHandler(type, context, msg);
}

void Shot(QWidget& w, const char* name) {
    QTest::qWait(100); // the chart lays its axes out on the event loop
    const char* folder = std::getenv("KESTROVE_BALANCE_SHOTS");
    if (folder && std::strlen(folder) > 0)
        w.grab().save(QString::fromLocal8Bit(folder) + QLatin1Char('/') +
                      QString::fromLatin1(name) + QStringLiteral(".png"));
}

// The table's setting text ("F 0.250") as the chart's series and x.
struct Setting {
    QString Direction;
    double Offset;
};
Setting ParseSetting(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(' '));
    return {parts.value(0), parts.value(1).toDouble()};
}

QLineSeries* SeriesNamed(QChart& chart, const QString& objectName) {
    for (QAbstractSeries* s : chart.series())
        if (s->objectName() == objectName) return static_cast<QLineSeries*>(s);
    return nullptr;
}

QString ValueOf(const QTableWidget& dims, int id) {
    for (int row = 0; row < dims.rowCount(); ++row)
        if (dims.item(row, 0)->data(Qt::UserRole).toInt() == id) return dims.item(row, 1)->text();
    return {};
}

bool LastColumnInside(const QTableWidget& t) {
    const int last = t.columnCount() - 1;
    return last >= 0 &&
           t.columnViewportPosition(last) + t.columnWidth(last) <= t.viewport()->width();
}

} // namespace

class BalanceResultViewTest : public QObject {
    Q_OBJECT
  private:
    kes::Model model;
    FakeMainLink link;

    bool RunAndWait(TBalanceEvents& w) {
        QSignalSpy finished(&w, &TBalanceEvents::Finished);
        QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("Run")), Qt::LeftButton);
        return finished.wait(RunTimeoutMs) || finished.count() > 0;
    }

  private slots:
    void initTestCase() { previousHandler = qInstallMessageHandler(QuietHandler); }
    void init() {
        model = kes::Model{};
        kes::InitialiseModel(model);
        kes::MarkDesignSaved(model);
    }

    void theChartShowsTheTablesFrontMinusRearCutOff() {
        TBalanceEvents w(model, link);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        Shot(w, "balance_before_run");
        auto* view = w.findChild<QChartView*>(QStringLiteral("CutOffChart"));
        QVERIFY(view);
        QChart& chart = *view->chart();
        QVERIFY(chart.series().isEmpty());
        QVERIFY(RunAndWait(w));
        Shot(w, "balance_after_run");

        // Every cut-off row of the table is one point of its curve, and no more.
        auto* events = w.findChild<QTableWidget*>(QStringLiteral("Events"));
        std::map<QString, int> expected;
        for (int row = CutOffRowOfSetting; row < events->rowCount(); row += RowsPerSetting) {
            QCOMPARE(events->item(row, 1)->text(), QStringLiteral("cut-off %"));
            const Setting s = ParseSetting(events->item(row, 0)->text());
            const QString direction = s.Direction == QLatin1String("F") ? QStringLiteral("forward")
                                                                        : QStringLiteral("reverse");
            for (const auto& [name, column] :
                 {std::pair{QStringLiteral("Before"), DiffBeforeColumn},
                  std::pair{QStringLiteral("After"), DiffAfterColumn}}) {
                const QString cell = events->item(row, column)->text();
                QVERIFY(!cell.isEmpty());
                QLineSeries* series = SeriesNamed(chart, name + QLatin1Char(' ') + direction);
                QVERIFY2(series, qPrintable(name + QLatin1Char(' ') + direction));
                QCOMPARE(series->name(), name);
                bool found = false;
                for (const QPointF& p : series->points())
                    found = found || (std::fabs(p.x() - s.Offset) < 0.0005 &&
                                      std::fabs(p.y() - cell.toDouble()) <= 0.005);
                QVERIFY2(found, qPrintable(events->item(row, 0)->text() + QLatin1Char(' ') + name));
                ++expected[series->objectName()];
            }
        }
        int points = 0;
        for (QAbstractSeries* s : chart.series()) {
            const int n = static_cast<int>(static_cast<QLineSeries*>(s)->count());
            QCOMPARE(n, expected[s->objectName()]);
            points += n;
        }
        QCOMPARE(points, 2 * events->rowCount() / RowsPerSetting);
        // The run balances: the curve after lies nearer 0 than the one before.
        double before = 0.0, after = 0.0;
        for (QAbstractSeries* s : chart.series())
            for (const QPointF& p : static_cast<QLineSeries*>(s)->points())
                (s->name() == QLatin1String("Before") ? before : after) += p.y() * p.y();
        QVERIFY(after < before);

        // One legend entry each, and the axes titled.
        QStringList legend;
        for (QLegendMarker* m : chart.legend()->markers())
            if (m->isVisible()) legend << m->label();
        QCOMPARE(legend, (QStringList{QStringLiteral("Before"), QStringLiteral("After")}));
        QStringList titles;
        for (QAbstractAxis* a : chart.axes())
            titles << a->titleText();
        QCOMPARE(titles.size(), 2);
        QVERIFY(titles.filter(QStringLiteral("Setting")).size() == 1);
        QVERIFY(titles.contains(QString::fromUtf8("F \u2212 R cut-off %")));

        // A new Run clears the last one's chart and tables at once.
        QSignalSpy finished(&w, &TBalanceEvents::Finished);
        QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("Run")), Qt::LeftButton);
        QVERIFY(w.Running());
        QVERIFY(chart.series().isEmpty());
        QCOMPARE(events->rowCount(), 0);
        QVERIFY(finished.wait(RunTimeoutMs) || finished.count() > 0);
    }

    void theBeforeAfterTableFitsAtTheDefaultSize() {
        TBalanceEvents w(model, link);
        // The first size never exceeds the screen (800 x 600 here).
        const QRect room = w.screen()->availableGeometry();
        QVERIFY(w.width() <= room.width() && w.height() <= room.height());
        w.resize(TBalanceEvents::LaidOutSize);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* events = w.findChild<QTableWidget*>(QStringLiteral("Events"));
        QCOMPARE(events->columnCount(), 8);
        QVERIFY(LastColumnInside(*events));
        QVERIFY(RunAndWait(w));
        QTRY_VERIFY(LastColumnInside(*events));
        // The chart beside it keeps a usable size.
        auto* view = w.findChild<QChartView*>(QStringLiteral("CutOffChart"));
        QVERIFY(view->width() >= 280 && view->height() >= 200);
    }

    void theValueColumnFollowsApplyUndoAndRedo() {
        TBalanceEvents w(model, link);
        w.show();
        QVERIFY(RunAndWait(w));
        const kes::BalanceChange moved = [&] {
            for (const kes::BalanceChange& c : w.Result()->Changes)
                if (c.After != c.Before) return c;
            return kes::BalanceChange{};
        }();
        QVERIFY(moved.Id != 0);
        auto* dims = w.findChild<QTableWidget*>(QStringLiteral("FreeDims"));
        const QString before = QString::number(moved.Before, 'f', 4);
        const QString after = QString::number(moved.After, 'f', 4);
        QVERIFY(before != after);
        QCOMPARE(ValueOf(*dims, moved.Id), before);

        QVERIFY(w.Apply());
        QCOMPARE(ValueOf(*dims, moved.Id), after);
        // UnDo and ReDo as the main window does them: the window only sees
        // the design change.
        QVERIFY(kes::UndoStep(model));
        QTRY_COMPARE_WITH_TIMEOUT(ValueOf(*dims, moved.Id), before, FollowTimeoutMs);
        QVERIFY(kes::RedoStep(model));
        QTRY_COMPARE_WITH_TIMEOUT(ValueOf(*dims, moved.Id), after, FollowTimeoutMs);
        // Any other edit through the one edit path too.
        const kes::DesignEdit edit{moved.Id, moved.After + 0.25f};
        kes::ApplyDesignEdit(model, {&edit, 1}, "test edit");
        QTRY_COMPARE_WITH_TIMEOUT(ValueOf(*dims, moved.Id),
                                  QString::number(moved.After + 0.25f, 'f', 4), FollowTimeoutMs);

        // An UnDo while hidden shows as soon as the window is shown again.
        w.hide();
        QVERIFY(kes::UndoStep(model));
        w.show();
        QCOMPARE(ValueOf(*dims, moved.Id), after);
    }
};

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("KESTROVE_NO_SOUND", "1");
    QApplication app(argc, argv);
    BalanceResultViewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "balance_result_view_test.moc"
