// SPDX-License-Identifier: GPL-3.0-or-later
// The Performance window in the main window: the menu command and its tool
// button, and the engine data loaded and saved beside the design file.
#include "cylinder/engine_data.h"
#include "file_commands/file_commands.h"
#include "main/main_form.h"
#include "main_test_rig.h"
#include "model/model.h"
#include "performance/performance_window.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

class PerformanceMainTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QuietOffscreenMessages(); }

    void openedModelessFromDrawAndGraphs() {
        kes::Model m;
        TMainForm form(m);
        form.StopAnimation();
        auto* action = form.findChild<QAction*>(QStringLiteral("Performance1"));
        QVERIFY(action);
        QCOMPARE(action->text(), QStringLiteral("&Performance"));
        action->trigger();
        auto* w = form.findChild<TPerformance*>(QStringLiteral("Performance"));
        QVERIFY(w);
        QVERIFY(w->isVisible());
        QCOMPARE(w->windowModality(), Qt::NonModal);
        QCOMPARE(w->windowTitle(), PerformanceCaption);
        bool hinted = false;
        for (QAction* a : form.findChild<QToolBar*>(QStringLiteral("ToolBar1"))->actions())
            hinted |= a->toolTip().startsWith(QStringLiteral("View Performance"));
        QVERIFY(hinted);
        w->close();
    }

    void engineDataTravelWithTheDesign() {
        QTemporaryDir dir;
        const QString kvd = dir.filePath(QStringLiteral("small.kvd"));
        QVERIFY(QFile::copy(QStringLiteral(KESTROVE_TEST_DATA "/small-engine.kvd"), kvd));
        const QString json = dir.filePath(QStringLiteral("small.engine.json"));
        {
            QFile f(json);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(R"({"boiler_pressure": 150, "builder": "Lima"})");
        }
        kes::Model m;
        TMainForm form(m);
        form.StopAnimation();
        auto* w = form.findChild<TPerformance*>(QStringLiteral("Performance"));
        QVERIFY(w);
        QVERIFY(form.Files()->OpenPath(kvd));
        QVERIFY(w->HasEngineData());
        QCOMPARE(w->Engine().BoilerPressure, 150.0);

        kes::EngineData e = w->Engine();
        e.BoilerPressure = 175.0;
        w->SetEngineData(e);
        QVERIFY(form.Files()->SaveDimensionsClick());
        const kes::EngineFileResult back = kes::LoadEngineFile(json.toStdString());
        QVERIFY(back.Ok && back.Present);
        QCOMPARE(back.Data.BoilerPressure, 175.0);
        QCOMPARE(back.Data.OtherKeys.at("builder"), std::string("\"Lima\""));
    }
};

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    PerformanceMainTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "performance_main_test.moc"
