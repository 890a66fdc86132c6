// SPDX-License-Identifier: GPL-3.0-or-later
// TPortDia: its controls and menu, and the redraw sequences of the three
// graph modes.

#include "diagrams/diagram_paint.h"
#include "diagrams/port_diagram.h"
#include "diagrams/port_window.h"
#include "model/dimensions.h"
#include "model/dyn_vars.h"
#include "model/model.h"
#include "support/fake_main_link.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

namespace {

void FilterSizeHintNoise(QtMsgType type, const QMessageLogContext& context, const QString& msg) {
    if (msg.contains(QLatin1String("propagateSizeHints"))) return;
    qt_message_output(type, context, msg);
}

// What the window should show, painted without a window.
QImage Expected(kes::Model m, char mode, bool annotate, DiagramTextState text) {
    QImage image(diagrams::PortClientSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    diagrams::BeginDiagram(p);
    diagrams::PaintPortDiagram(p, m, mode, annotate, text);
    return image;
}

QImage ExpectedBoth(const kes::Model& m, const DiagramTextState& text) {
    return Expected(m, 'B', true, text);
}

struct Fixture {
    kes::Model Model;
    FakeMainLink Link;
    DiagramTextState Text;
    std::unique_ptr<TPortDia> Window;
    Fixture() {
        kes::InitialiseModel(Model);
        Window = std::make_unique<TPortDia>(Model, Link, Text);
    }
    QAction* Action(const char* name) const {
        return Window->findChild<QAction*>(QLatin1String(name));
    }
};

} // namespace

class PortWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void controlsAndMenu();
    void activationDrawsWithoutThePositionsDialog();
    void forwardAndReverseGraphs();
    void bothGraphsThenReDrawRedrawsBoth();
    void otherRedrawsFollowTheMode();
    void settingsRestoredAfterBothGraphs();
};

void PortWindowTest::controlsAndMenu() {
    Fixture f;
    TPortDia& w = *f.Window;
    QCOMPARE(w.objectName(), QStringLiteral("TPortDia"));
    QPushButton* close = w.findChild<QPushButton*>(QStringLiteral("ClosePort"));
    QVERIFY(close);
    QCOMPARE(close->geometry(), QRect(447, 2, 75, 25));
    QCOMPARE(close->text(), QStringLiteral("Close"));
    for (int n = 1; n <= 4; ++n)
        QVERIFY(w.findChild<QScrollBar*>(QStringLiteral("SBDynVarP%1").arg(n)));
    QVERIFY(w.findChild<QPushButton*>(QStringLiteral("UnDoDnP")));
    QCOMPARE(w.Client()->size(), diagrams::PortClientSize);

    QMenuBar* bar = w.findChild<QMenuBar*>(QStringLiteral("MainMenu1"));
    QVERIFY(bar);
    const QList<QAction*> items = bar->actions();
    QVERIFY(items.size() >= 4);
    QMenu* setUp = items[0]->menu();
    QVERIFY(setUp);
    QCOMPARE(setUp->objectName(), QStringLiteral("SetUp"));
    QCOMPARE(items[0]->text(), QStringLiteral("SetUp"));
    const QList<QAction*> graphs = setUp->actions();
    QCOMPARE(graphs.size(), 3);
    QCOMPARE(graphs[0]->objectName(), QStringLiteral("ForwardGraph1"));
    QCOMPARE(graphs[0]->text(), QStringLiteral("ForwardGraph"));
    QCOMPARE(graphs[1]->objectName(), QStringLiteral("ReverseGraph1"));
    QCOMPARE(graphs[1]->text(), QStringLiteral("ReverseGraph"));
    QCOMPARE(graphs[2]->objectName(), QStringLiteral("BothGraphs1"));
    QCOMPARE(graphs[2]->text(), QStringLiteral("BothGraphs"));
    QCOMPARE(items[1]->objectName(), QStringLiteral("ReDraw1"));
    QCOMPARE(items[1]->text(), QStringLiteral("ReDraw"));
    QCOMPARE(items[2]->objectName(), QStringLiteral("UnDoPorts"));
    QCOMPARE(items[2]->text(), QStringLiteral("&UnDo"));
    QCOMPARE(items[3]->objectName(), QStringLiteral("DynamicVari1"));
    QCOMPARE(items[3]->text(), QStringLiteral("DynamicVari"));
    for (QAction* a : items)
        QVERIFY(!a->objectName().startsWith(QLatin1String("SetRevArmPos")));
}

void PortWindowTest::activationDrawsWithoutThePositionsDialog() {
    Fixture f;
    f.Model.PortGraphMode = 'F'; // as the main window sets it
    f.Window->Activate();
    QCOMPARE(f.Link.stopCalls, 1);
    QCOMPARE(f.Link.setRevArmDialogCalls, 0);
    QCOMPARE(f.Window->Picture(), Expected(f.Model, 'F', true, DiagramTextState{}));
}

void PortWindowTest::forwardAndReverseGraphs() {
    Fixture f;
    f.Action("ReverseGraph1")->trigger();
    QCOMPARE(f.Model.PortGraphMode, 'R');
    QCOMPARE(f.Window->Picture(), Expected(f.Model, 'R', true, DiagramTextState{}));
    f.Action("ForwardGraph1")->trigger();
    QCOMPARE(f.Model.PortGraphMode, 'F');
    QCOMPARE(f.Window->Picture(), Expected(f.Model, 'F', true, DiagramTextState{}));
    QVERIFY(f.Window->Picture() != Expected(f.Model, 'R', true, DiagramTextState{}));
}

void PortWindowTest::bothGraphsThenReDrawRedrawsBoth() {
    Fixture f;
    f.Action("BothGraphs1")->trigger();
    QCOMPARE(f.Model.PortGraphMode, 'B');
    const QImage both = ExpectedBoth(f.Model, DiagramTextState{});
    QCOMPARE(f.Window->Picture(), both);
    // Not the same as the forward graph alone, nor with the reverse graph
    // annotated too.
    QVERIFY(both != Expected(f.Model, 'F', true, DiagramTextState{}));
    {
        QImage annotatedTwice = both;
        QPainter p(&annotatedTwice);
        diagrams::BeginDiagram(p);
        DiagramTextState text;
        diagrams::PaintPortDiagram(p, f.Model, 'R', true, text);
        p.end();
        QVERIFY(annotatedTwice != both);
    }

    f.Action("ReDraw1")->trigger();
    QCOMPARE(f.Model.PortGraphMode, 'B');
    QCOMPARE(f.Window->Picture(), both);

    f.Action("ForwardGraph1")->trigger();
    QCOMPARE(f.Window->Picture(), Expected(f.Model, 'F', true, DiagramTextState{}));
}

void PortWindowTest::otherRedrawsFollowTheMode() {
    Fixture f;
    f.Action("BothGraphs1")->trigger();
    // "DynamicVari" in mode 'B': both graphs again, with the block.
    f.Action("DynamicVari1")->trigger();
    QVERIFY(f.Model.DynVarMode);
    QCOMPARE(f.Link.dynVarControlsVisible, true);
    QCOMPARE(f.Window->Picture(), ExpectedBoth(f.Model, DiagramTextState{}));
    QVERIFY(!f.Window->DynVarBar(1)->isHidden());

    // "&UnDo" in mode 'B': both graphs with the undo line.
    kes::PushUndo(f.Model, 2, 3.5f);
    kes::SetDimension(f.Model, 2, 3.6f);
    kes::CompleteUndo(f.Model, 3.6f, "StrokeLength");
    const DiagramTextState before = f.Text;
    f.Action("UnDoPorts")->trigger();
    QVERIFY(f.Model.UndoDisplay);
    QCOMPARE(f.Model.PortGraphMode, 'B');
    QVERIFY(f.Text.UndoMessage.contains(QLatin1String("StrokeLength")));
    QCOMPARE(f.Window->Picture(), ExpectedBoth(f.Model, before));

    // The UnDo button in mode 'B': one undo step, then both graphs.
    f.Model.UndoButtonsEnabled = true;
    const DiagramTextState beforeButton = f.Text;
    f.Window->UnDoButtonClick();
    QCOMPARE(f.Model.Frame.StrokeLength, 3.5f);
    QCOMPARE(f.Window->Picture(), ExpectedBoth(f.Model, beforeButton));

    // In mode 'F' the UnDo button clears and draws once.
    f.Action("ForwardGraph1")->trigger();
    kes::PushUndo(f.Model, 2, 3.5f);
    kes::SetDimension(f.Model, 2, 3.7f);
    kes::CompleteUndo(f.Model, 3.7f, "StrokeLength");
    f.Action("ReDraw1")->trigger();
    const DiagramTextState beforeF = f.Text;
    f.Window->UnDoButtonClick();
    QCOMPARE(f.Window->Picture(), Expected(f.Model, 'F', true, beforeF));
}

void PortWindowTest::settingsRestoredAfterBothGraphs() {
    Fixture f;
    f.Model.RevArmSetting = 11.1f;
    f.Model.DriverAngle = 250.0f;
    f.Window->BothGraphsClick();
    QCOMPARE(f.Model.RevArmSetting, 11.1f);
    QCOMPARE(f.Model.DriverAngle, 250.0f);
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("KESTROVE_NO_SOUND", "1");
    qInstallMessageHandler(FilterSizeHintNoise);
    QApplication app(argc, argv);
    PortWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "diagrams_port_window_test.moc"
