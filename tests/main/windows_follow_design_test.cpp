// SPDX-License-Identifier: GPL-3.0-or-later
// The windows that show the design follow it without looking again and
// again: an edit through the edit path wakes Valve Events, Live Diagrams and
// Performance with no timer of theirs firing, a hidden one does nothing, a
// destroyed one is called no more, and the main window's tick rests while
// the picture stands still and wakes on an edit or a key.
#include "live/live_window.h"
#include "main/main_form.h"
#include "main/mechanism_view.h"
#include "main_test_rig.h"
#include "model/design_edit.h"
#include "model/dimensions.h"
#include "model/model.h"
#include "overlay/compared_design.h"
#include "performance/performance_window.h"
#include "valve_events/events_window.h"

#include <QApplication>
#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <array>
#include <memory>

namespace {

constexpr int WaitMs = 60000;

// One user action through the edit path: a new valve-rod length.
void EditRod(kes::Model& m, float length) {
    const std::array<kes::DesignEdit, 1> edit{{{10, length}}};
    kes::ApplyDesignEdit(m, edit, "Valve Rod Length");
}

// Delivers what has been posted (the design's word among it) but fires no
// timer: a window woken here was woken by the design, not by a poll.
void DeliverPostedOnly() {
    QCoreApplication::sendPostedEvents();
}

template <class W, class Busy, class Signal> bool Idle(W& w, Busy busy, Signal done) {
    QSignalSpy spy(&w, done);
    while ((w.*busy)())
        if (!spy.wait(WaitMs)) return false;
    return true;
}

struct Windows {
    kes::Model& M;
    overlay::ComparedDesign Compared;
    TValveEvents Events{M};
    live::TLiveDiagrams Live{M, Compared};
    TPerformance Performance{M};

    explicit Windows(kes::Model& m) : M(m) {}
    void ShowAll() {
        Events.show();
        Live.show();
        Performance.show();
    }
    bool Settle() {
        return Idle(Events, &TValveEvents::Computing, &TValveEvents::ResultShown) &&
               Idle(Live, &live::TLiveDiagrams::Drawing, &live::TLiveDiagrams::PictureShown) &&
               Idle(Performance, &TPerformance::Computing, &TPerformance::ResultShown);
    }
    bool AnyBusy() const { return Events.Computing() || Live.Drawing() || Performance.Computing(); }
};

QString ReportCell(const TValveEvents& w) {
    return w.TabText(TValveEvents::ReportTab, ',').section(QLatin1Char('\n'), 1, 1);
}

} // namespace

class WindowsFollowDesignTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QuietOffscreenMessages(); }

    void anEditWakesEachShownWindowWithoutATimer() {
        kes::Model m;
        kes::InitialiseModel(m);
        Windows w(m);
        w.ShowAll();
        QVERIFY(w.Settle());
        const QString rowBefore = ReportCell(w.Events);
        const QImage pictureBefore = w.Live.Picture();
        QVERIFY(!rowBefore.isEmpty() && !pictureBefore.isNull());
        QVERIFY(!w.AnyBusy());

        EditRod(m, 6.6f);
        // Nothing is computed inside the edit itself...
        QVERIFY(!w.AnyBusy());
        // ...and all three start as soon as the event loop hands on the word.
        DeliverPostedOnly();
        QVERIFY(w.Events.Computing());
        QVERIFY(w.Live.Drawing());
        QVERIFY(w.Performance.Computing());
        QVERIFY(w.Settle());
        QVERIFY(ReportCell(w.Events) != rowBefore);
        QVERIFY(w.Live.Picture() != pictureBefore);

        // Left alone, none of them wakes by itself.
        QTest::qWait(300);
        QVERIFY(!w.AnyBusy());
    }

    void aHiddenWindowDoesNothingUntilShown() {
        kes::Model m;
        kes::InitialiseModel(m);
        Windows w(m);
        w.ShowAll();
        QVERIFY(w.Settle());
        w.Events.hide();
        w.Live.hide();
        w.Performance.hide();
        const QString rowBefore = ReportCell(w.Events);
        EditRod(m, 6.6f);
        DeliverPostedOnly();
        QTest::qWait(100);
        QVERIFY(!w.AnyBusy());
        QCOMPARE(ReportCell(w.Events), rowBefore);
        // Shown again, each catches up at once.
        w.ShowAll();
        QVERIFY(w.Events.Computing() && w.Live.Drawing() && w.Performance.Computing());
        QVERIFY(w.Settle());
        QVERIFY(ReportCell(w.Events) != rowBefore);
    }

    void aDestroyedWindowIsCalledNoMore() {
        kes::Model m;
        kes::InitialiseModel(m);
        const size_t before = m.Listeners.Count();
        auto w = std::make_unique<Windows>(m);
        QCOMPARE(m.Listeners.Count(), before + 3);
        w->ShowAll();
        QVERIFY(w->Settle());
        // The word of an edit is on its way when the windows go.
        EditRod(m, 6.6f);
        w.reset();
        QCOMPARE(m.Listeners.Count(), before);
        DeliverPostedOnly();
        EditRod(m, 6.5f);
        QCoreApplication::processEvents();
        QCOMPARE(m.Listeners.Count(), before);
    }

    void severalBumpsOfOneActionAreOneWord() {
        kes::Model m;
        kes::InitialiseModel(m);
        shell::DesignSignal signal(m);
        QSignalSpy changed(&signal, &shell::DesignSignal::Changed);
        kes::ResetAllDimensions(m); // three group resets, each a new revision
        QCOMPARE(changed.count(), 0);
        DeliverPostedOnly();
        QCOMPARE(changed.count(), 1);
        DeliverPostedOnly();
        QCOMPARE(changed.count(), 1);
    }

    void theTickRestsWhileThePictureStandsStill() {
        kes::Model m;
        TMainForm form(m);
        QTimer& timer = *form.Timer1();
        QCOMPARE(timer.interval(), TMainForm::DefaultTickMs);
        const int stillTicks = shell::TickPace::StillMs / TMainForm::DefaultTickMs + 1;
        // Turning, every tick draws: the pace stays.
        for (int i = 0; i < 2 * stillTicks; ++i)
            form.OnTick();
        QCOMPARE(timer.interval(), TMainForm::DefaultTickMs);

        // Stopped, a second of ticks that draw nothing and it waits for the
        // next whole second of the clock.
        m.StepAngle = 0.0f;
        const auto rest = [&] {
            for (int i = 0; i < 2 * stillTicks && timer.interval() == TMainForm::DefaultTickMs; ++i)
                form.OnTick();
            return timer.isActive() && timer.interval() > 100 && timer.interval() <= 1010;
        };
        QVERIFY(rest());
        // An edit brings the full pace back.
        EditRod(m, 6.6f);
        DeliverPostedOnly();
        QCOMPARE(timer.interval(), TMainForm::DefaultTickMs);
        QVERIFY(rest());
        // So does a key on the picture.
        QTest::keyClick(form.Picture(), Qt::Key_Shift);
        QCOMPARE(timer.interval(), TMainForm::DefaultTickMs);
        // The gear turning again keeps it.
        QVERIFY(rest());
        m.StepAngle = 2.0f;
        form.OnTick();
        QCOMPARE(timer.interval(), TMainForm::DefaultTickMs);
        // A timer its owner stopped stays stopped, whatever wakes it.
        m.StepAngle = 0.0f;
        QVERIFY(rest());
        form.StopAnimation();
        QTest::keyClick(form.Picture(), Qt::Key_Shift);
        QVERIFY(!timer.isActive());
        form.StartAnimation();
        QCOMPARE(timer.interval(), TMainForm::DefaultTickMs);
    }
};

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("KESTROVE_NO_SOUND", "1");
    QApplication app(argc, argv);
    WindowsFollowDesignTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "windows_follow_design_test.moc"
