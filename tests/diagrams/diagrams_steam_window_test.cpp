// SPDX-License-Identifier: GPL-3.0-or-later
// TSteamDia: its controls and menu, activation and the UnDo button's single
// redraw.

#include "diagrams/diagram_paint.h"
#include "diagrams/steam_diagram.h"
#include "diagrams/steam_window.h"
#include "model/dimensions.h"
#include "model/dyn_vars.h"
#include "model/model.h"
#include "support/fake_main_link.h"

#include <QAction>
#include <QApplication>
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

QImage Expected(kes::Model m, DiagramTextState text) {
    QImage image(diagrams::SteamClientSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    diagrams::BeginDiagram(p);
    diagrams::PaintSteamDiagram(p, m, text);
    return image;
}

struct Fixture {
    kes::Model Model;
    FakeMainLink Link;
    DiagramTextState Text;
    std::unique_ptr<TSteamDia> Window;
    Fixture() {
        kes::InitialiseModel(Model);
        Model.RevArmPositionCount = 3;
        Window = std::make_unique<TSteamDia>(Model, Link, Text);
    }
};

} // namespace

class SteamWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void controlsAndMenu();
    void activationShowsPositionsDialogThenDraws();
    void unDoButtonRedrawsOnce();
};

void SteamWindowTest::controlsAndMenu() {
    Fixture f;
    TSteamDia& w = *f.Window;
    QCOMPARE(w.objectName(), QStringLiteral("TSteamDia"));
    QPushButton* close = w.findChild<QPushButton*>(QStringLiteral("CloseStm"));
    QVERIFY(close);
    QCOMPARE(close->geometry(), QRect(408, 8, 75, 25));
    for (int n = 1; n <= 4; ++n)
        QVERIFY(w.findChild<QScrollBar*>(QStringLiteral("SBDynVarST%1").arg(n)));
    QVERIFY(w.findChild<QPushButton*>(QStringLiteral("UnDoDnSt")));
    QCOMPARE(w.Client()->size(), diagrams::SteamClientSize);

    QMenuBar* bar = w.findChild<QMenuBar*>(QStringLiteral("MainMenu1"));
    QVERIFY(bar);
    const QList<QAction*> items = bar->actions();
    const QStringList names{QStringLiteral("SetRevArmPos"), QStringLiteral("ReDraw"),
                            QStringLiteral("UnDoSteam"), QStringLiteral("DynVari")};
    const QStringList captions{QStringLiteral("SetRevArmPos"), QStringLiteral("ReDraw"),
                               QStringLiteral("&UnDo"), QStringLiteral("DynamicVari")};
    QVERIFY(items.size() >= names.size());
    for (int i = 0; i < names.size(); ++i) {
        QCOMPARE(items[i]->objectName(), names[i]);
        QCOMPARE(items[i]->text(), captions[i]);
    }
}

void SteamWindowTest::activationShowsPositionsDialogThenDraws() {
    Fixture f;
    // The positions dialog changes the positions while it is open.
    f.Link.onSetRevArmDialog = [&] {
        f.Model.RevArmPositions[4] = f.Model.MidGear() + 0.7f;
        f.Model.RevArmPositionCount = 4;
    };
    f.Window->Activate();
    QCOMPARE(f.Link.stopCalls, 1);
    QCOMPARE(f.Link.setRevArmDialogCalls, 1);
    QCOMPARE(f.Window->Picture(), Expected(f.Model, DiagramTextState{}));
    kes::Model three = f.Model;
    three.RevArmPositionCount = 3;
    QVERIFY(f.Window->Picture() != Expected(three, DiagramTextState{}));
}

void SteamWindowTest::unDoButtonRedrawsOnce() {
    // One drawing after the undo step: the picture shows the undo line the
    // previous drawing built; a second drawing would show the new one.
    Fixture f;
    f.Model.UndoDisplay = true;
    kes::PushUndo(f.Model, 2, 3.5f);
    kes::SetDimension(f.Model, 2, 3.6f);
    kes::CompleteUndo(f.Model, 3.6f, "StrokeLength");
    kes::PushUndo(f.Model, 2, 3.6f);
    kes::SetDimension(f.Model, 2, 3.7f);
    kes::CompleteUndo(f.Model, 3.7f, "StrokeLength");
    f.Window->ReDrawClick();
    const DiagramTextState before = f.Text;
    f.Window->UnDoButtonClick();
    QCOMPARE(f.Model.Frame.StrokeLength, 3.6f);
    QCOMPARE(f.Window->Picture(), Expected(f.Model, before));
    QVERIFY(f.Window->Picture() != Expected(f.Model, f.Text));
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("KESTROVE_NO_SOUND", "1");
    qInstallMessageHandler(FilterSizeHintNoise);
    QApplication app(argc, argv);
    SteamWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "diagrams_steam_window_test.moc"
