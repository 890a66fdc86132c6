// SPDX-License-Identifier: GPL-3.0-or-later
// The Live Diagrams window: it follows an edit while the main window's tick
// goes on, shows only the newest picture, keeps positions of its own typed
// in the window, draws the compared design, pins read-outs, and opens
// modeless from the main window, as many as wanted.
#include "balance/balance_window.h"
#include "live/live_window.h"
#include "main/main_form.h"
#include "main/main_test_rig.h"
#include "model/design_edit.h"
#include "model/dimensions.h"
#include "model/model.h"
#include "overlay/compared_design.h"
#include "overlay/live_positions.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolBar>

namespace {

constexpr int WaitMs = 20000;

// The picture the window should show for this design, drawn here.
QImage Expected(const kes::Model& m, const live::TLiveDiagrams& w,
                const kes::Model* second = nullptr, const QString& secondName = {}) {
    live::LiveRequest r;
    r.Choice = w.Choice();
    r.Current = live::DrawingCopy(m, w.Offsets(), 'F');
    if (second) r.Second = live::DrawingCopy(*second, w.Offsets(), 'F');
    r.Names = {QString::fromStdString(m.DataSetName), secondName};
    return live::DrawLive(r).Picture;
}

bool Settled(live::TLiveDiagrams& w) {
    QSignalSpy shown(&w, &live::TLiveDiagrams::PictureShown);
    while (w.Drawing())
        if (!shown.wait(WaitMs)) return false;
    return !w.Picture().isNull();
}

} // namespace

class LiveWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QuietOffscreenMessages(); }

    void followsAnEditWhileTheTickRuns() {
        kes::Model m;
        kes::InitialiseModel(m);
        overlay::ComparedDesign compared;
        live::TLiveDiagrams w(m, compared);
        w.show();
        QTRY_VERIFY_WITH_TIMEOUT(!w.Drawing() && !w.Picture().isNull(), WaitMs);
        QCOMPARE(w.Picture(), Expected(m, w));

        // The main window's tick stands in as a 1 ms timer counting.
        int ticks = 0;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [&] { ++ticks; });
        tick.start(1);
        kes::SetDimension(m, 10, 6.6f); // ValveRodLength
        kes::BumpDesignRevision(m);
        w.NoteDesignChanged();
        QVERIFY(w.Drawing());
        QTRY_VERIFY_WITH_TIMEOUT(!w.Drawing() && w.Picture() == Expected(m, w), WaitMs);
        QVERIFY(ticks > 0); // the event loop was never held up by the drawing

        // Without a word from anyone, its own check finds the next change.
        const QImage before = w.Picture();
        kes::SetDimension(m, 10, 6.343f);
        kes::BumpDesignRevision(m);
        QTRY_VERIFY_WITH_TIMEOUT(w.Picture() != before, WaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(!w.Drawing() && w.Picture() == Expected(m, w), WaitMs);
        // No change, no drawing.
        w.NoteDesignChanged();
        QVERIFY(!w.Drawing());
    }

    void onlyTheNewestPictureIsShown() {
        kes::Model m;
        kes::InitialiseModel(m);
        overlay::ComparedDesign compared;
        live::TLiveDiagrams w(m, compared);
        w.SetChoice(live::LiveChoice::AllFour);
        QSignalSpy shown(&w, &live::TLiveDiagrams::PictureShown);
        for (float v : {6.40f, 6.45f, 6.50f}) {
            kes::SetDimension(m, 10, v);
            kes::BumpDesignRevision(m);
            w.NoteDesignChanged();
        }
        QVERIFY(Settled(w));
        QVERIFY(shown.count() <= 2);
        QCOMPARE(w.Picture(), Expected(m, w));
    }

    void positionsAreTypedInTheWindow() {
        kes::Model m;
        kes::InitialiseModel(m);
        overlay::ComparedDesign compared;
        live::TLiveDiagrams w(m, compared);
        const auto table = m.RevArmPositions;
        QCOMPARE(w.Offsets(), overlay::DefaultLiveOffsets(m));
        auto* edit = w.findChild<QLineEdit*>(QStringLiteral("LivePositions"));
        QVERIFY(edit);
        QVERIFY(!edit->toolTip().isEmpty());
        edit->setText(QStringLiteral("0.5, -0.5 1"));
        emit edit->editingFinished();
        QCOMPARE(w.Offsets(), (std::vector<float>{0.5f, -0.5f, 1.0f}));
        QVERIFY(Settled(w));
        QCOMPARE(w.Picture(), Expected(m, w));
        // A bad entry goes back to the last good one.
        edit->setText(QStringLiteral("0.5, x"));
        emit edit->editingFinished();
        QCOMPARE(w.Offsets(), (std::vector<float>{0.5f, -0.5f, 1.0f}));
        QCOMPARE(live::ParseOffsets(edit->text()), std::optional(w.Offsets()));
        QVERIFY(!live::ParseOffsets(QStringLiteral("1 2 3 4 5 6 7 8 9 10")));
        QCOMPARE(live::ParseOffsets(QString()), std::optional(std::vector<float>{}));
        // The main model's own positions are left alone.
        QCOMPARE(m.RevArmPositions, table);
    }

    void drawsTheComparedDesignAndPinsReadouts() {
        kes::Model m;
        kes::InitialiseModel(m);
        overlay::ComparedDesign compared;
        live::TLiveDiagrams w(m, compared);
        w.show();
        QVERIFY(Settled(w));
        auto other = std::make_unique<kes::Model>(m);
        kes::SetDimension(*other, 10, 6.6f);
        const kes::Model second = *other;
        compared.Show(std::move(other), QStringLiteral("other"));
        QVERIFY(Settled(w));
        QCOMPARE(w.Picture(), Expected(m, w, &second, QStringLiteral("other")));
        compared.Clear();
        QVERIFY(Settled(w));
        QCOMPARE(w.Picture(), Expected(m, w));
        // "Compare With..." reads the chosen file, with its own mid gear.
        w.SetCompareFileChooser(
            [] { return QStringLiteral(KESTROVE_TEST_DATA "/small-engine.kvd"); });
        auto* with = w.findChild<QAction*>(QStringLiteral("CompareWith1"));
        QVERIFY(with);
        with->trigger();
        QVERIFY(compared.Design());
        QCOMPARE(compared.Name(), QStringLiteral("small-engine"));
        QVERIFY(compared.Design()->MidGear() != m.MidGear());
        QVERIFY(Settled(w));
        QCOMPARE(w.Picture(), Expected(m, w, compared.Design(), compared.Name()));
        w.findChild<QAction*>(QStringLiteral("ClearComparison1"))->trigger();
        QVERIFY(!compared.Design());
        QVERIFY(Settled(w));

        // x 180 is 90 degrees on the sine diagram.
        const auto text = w.ReadoutAt(QPoint(180, 215));
        QVERIFY(text);
        QVERIFY(text->startsWith(QStringLiteral("Sine: position ")));
        QVERIFY(text->contains(QStringLiteral("crank 90.0 deg")));
        QVERIFY(!w.ReadoutAt(QPoint(5, 5)));
        w.Pin(QPoint(180, 215));
        w.Pin(QPoint(5, 5)); // nothing there: no pin
        w.Pin(QPoint(270, 215));
        const QStringList pins = w.PinsText().split(QLatin1Char('\n'));
        QCOMPARE(pins.size(), 2);
        QCOMPARE(pins[0], *text);
        QVERIFY(pins[1].contains(QStringLiteral("crank 180.0 deg")));
        w.CopyPins();
        QCOMPARE(QApplication::clipboard()->text(), w.PinsText());
    }

    void openedModelessFromTheMainWindow() {
        kes::Model m;
        TMainForm form(m);
        form.StopAnimation();
        auto* action = form.findChild<QAction*>(QStringLiteral("LiveDiagrams1"));
        QVERIFY(action);
        QCOMPARE(action->text(), QStringLiteral("&LiveDiagrams"));
        action->trigger();
        action->trigger(); // a second one beside the first
        const auto windows = form.findChildren<live::TLiveDiagrams*>();
        QCOMPARE(windows.size(), 2);
        for (live::TLiveDiagrams* w : windows) {
            QVERIFY(w->isVisible());
            QCOMPARE(w->windowModality(), Qt::NonModal);
            QCOMPARE(w->windowTitle(), live::LiveDiagramsCaption);
            QVERIFY(Settled(*w));
        }
        bool hinted = false;
        for (QAction* a : form.findChild<QToolBar*>(QStringLiteral("ToolBar1"))->actions())
            hinted |=
                a->objectName() == QStringLiteral("LiveDiagrams1Button") && !a->toolTip().isEmpty();
        QVERIFY(hinted);

        // "Compare With Before" has nothing to show until a change keeps one.
        auto* before = form.findChild<QAction*>(QStringLiteral("CompareWithBefore1"));
        QVERIFY(before);
        QVERIFY(!before->isEnabled());
        const kes::Model unscaled = m;
        form.SetScaleFactorChooser([] { return std::optional<double>(1.1); });
        form.ScaleDesignClick();
        QVERIFY(before->isEnabled());
        before->trigger();
        const overlay::ComparedDesign& compared = overlay::ComparedDesignOf(form);
        QVERIFY(compared.Design());
        QCOMPARE(compared.Design()->Frame.StrokeLength, unscaled.Frame.StrokeLength);
        QVERIFY(compared.Name().endsWith(QStringLiteral("before Scale Design")));
        for (live::TLiveDiagrams* w : windows) {
            QTRY_VERIFY_WITH_TIMEOUT(
                !w->Drawing() && w->Picture() == Expected(m, *w, &unscaled, compared.Name()),
                WaitMs);
            QTest::keyClick(w, Qt::Key_Escape);
        }
        // Escape closes them, as it closes a dialog, and they are gone.
        QTRY_COMPARE(form.findChildren<live::TLiveDiagrams*>().size(), qsizetype{0});

        // Balance Apply keeps the design as it stood just before it.
        auto* balance = form.findChild<TBalanceEvents*>();
        QVERIFY(balance);
        const kes::Model scaled = m;
        emit balance->AboutToApply();
        m.Frame.StrokeLength = scaled.Frame.StrokeLength * 2;
        before->trigger();
        QVERIFY(compared.Name().endsWith(QStringLiteral("before Balance Apply")));
        QCOMPARE(compared.Design()->Frame.StrokeLength, scaled.Frame.StrokeLength);
        m.Frame.StrokeLength = scaled.Frame.StrokeLength;
    }
};

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    LiveWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "live_window_test.moc"
