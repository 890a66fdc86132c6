// SPDX-License-Identifier: GPL-3.0-or-later
// The main window keeps the user's work: the modified mark in the title,
// the question on Exit and "&ResetAllDimensions", the shortcuts, "Scale
// Design...", the wheel and the middle button, the space bar.

#include "controls/controls.h"
#include "file_commands/file_commands.h"
#include "main/main_controls.h"
#include "main/main_form.h"
#include "main/mechanism_view.h"
#include "main_test_rig.h"
#include "model/design_changes.h"
#include "model/design_edit.h"
#include "model/dimensions.h"
#include "model/dyn_vars.h"
#include "model/scale_design.h"
#include "support/same_design.h"
#include "ui_shell/captions.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <cmath>
#include <cstring>
#include <string>

namespace {

// A main window whose questions are answered by the test.
struct Window {
    kes::Model m;
    TMainForm form{m};
    QStringList questions;
    QStringList messages;
    QMessageBox::StandardButton reply = QMessageBox::Cancel;
    QString answer;

    Window() {
        form.Files()->SetAsker([this](const QString& text, QMessageBox::StandardButtons) {
            questions.append(text);
            return reply;
        });
        form.Files()->SetMessageShower([this](const QString& text) { messages.append(text); });
        form.Files()->SetFileChooser([this](const FileDialogRequest&) { return answer; });
        form.Timer1()->stop();
    }
    QAction* Action(const char* name) { return form.findChild<QAction*>(QLatin1String(name)); }
    // The world point shown at a pixel of the picture.
    QPointF WorldAt(QPointF px) const {
        const kes::View& v = m.CurrentView;
        return {(px.x() - v.OffsetX) / v.Scale, (v.OffsetY - px.y()) / v.Scale};
    }
};

int64_t UlpDistance(float a, float b) {
    int32_t ia = 0, ib = 0;
    std::memcpy(&ia, &a, 4);
    std::memcpy(&ib, &b, 4);
    return std::llabs(int64_t(ia) - int64_t(ib)); // same sign here
}

} // namespace

class MainSessionTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

  private slots:
    void initTestCase() {
        QuietOffscreenMessages();
        QVERIFY(dir_.isValid());
    }

    void titleShowsTheNameAndTheModifiedMark() {
        Window w;
        w.form.OnTick();
        QVERIFY(
            w.form.windowTitle().startsWith(captions::Main + QStringLiteral("Nominal[*]     ")));
        QVERIFY(!w.form.isWindowModified());

        kes::SetDimension(w.m, 3, 17.5f); // typed, as a field stores it
        kes::BumpDesignRevision(w.m);
        w.form.OnTick();
        QVERIFY(w.form.isWindowModified());

        w.answer = dir_.filePath(QStringLiteral("titled.kvd"));
        w.Action("SaveDimensions")->trigger();
        w.form.OnTick();
        QVERIFY(!w.form.isWindowModified());
        QVERIFY(w.form.windowTitle().startsWith(captions::Main + QStringLiteral("titled[*]     ")));
    }

    void exitWhenModifiedAsksAndCancelKeepsRunning() {
        Window w;
        w.form.show();
        w.form.Timer1()->start();
        kes::SetDimension(w.m, 2, 3.75f);
        kes::BumpDesignRevision(w.m);
        w.reply = QMessageBox::Cancel;
        w.Action("Exit1")->trigger();
        QCOMPARE(w.questions, QStringList{"Save changes to Nominal?"});
        QVERIFY(w.form.isVisible());
        QVERIFY(w.form.Timer1()->isActive());
        // The window's close box asks too.
        QVERIFY(!w.form.close());
        QCOMPARE(w.questions.size(), 2);

        w.reply = QMessageBox::Discard;
        w.Action("Exit1")->trigger();
        QVERIFY(!w.form.isVisible());
        QVERIFY(!w.form.Timer1()->isActive());
    }

    void resetAllAsksFirst() {
        Window w;
        kes::SetDimension(w.m, 3, 20.0f);
        kes::BumpDesignRevision(w.m);
        w.reply = QMessageBox::Cancel;
        w.form.Controls()->Action(QStringLiteral("ResetAllDimensions"))->trigger();
        QCOMPARE(w.questions.size(), 1);
        QCOMPARE(w.m.Frame.MainRodLength, 20.0f);

        w.reply = QMessageBox::Discard;
        w.form.Controls()->Action(QStringLiteral("ResetAllDimensions"))->trigger();
        QCOMPARE(w.m.Frame.MainRodLength, w.m.FrameFactory.Dims.MainRodLength);
        QVERIFY(!kes::IsDesignModified(w.m));
        QVERIFY(w.form.Files()->CurrentPath().isEmpty());
    }

    void shortcutsAreOnTheMenuCommands() {
        Window w;
        const struct {
            const char* Name;
            QKeySequence Keys;
        } cases[] = {
            {"SaveDimensions", QKeySequence(Qt::CTRL | Qt::Key_S)},
            {"SaveAsDimensions", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
            {"OpenDimensions", QKeySequence(Qt::CTRL | Qt::Key_O)},
            {"UnDoStep", QKeySequence(Qt::CTRL | Qt::Key_Z)},
            {"ReDoStep", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
            {"Exit1", QKeySequence(Qt::CTRL | Qt::Key_Q)},
            {"Instructions1", QKeySequence(Qt::Key_F1)},
        };
        for (const auto& c : cases) {
            QAction* a = w.Action(c.Name);
            QVERIFY2(a, c.Name);
            QCOMPARE(a->shortcut(), c.Keys);
        }
        QVERIFY(w.Action("ReDoStep")->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Y)));
        QCOMPARE(w.Action("ReDoStep")->text(), QStringLiteral("ReDo Last Dimension Change"));
    }

    void ctrlZUndoesTheLastChange() {
        Window w;
        kes::PushUndo(w.m, 3, w.m.Frame.MainRodLength);
        kes::SetDimension(w.m, 3, 18.25f);
        kes::CompleteUndo(w.m, 18.25f, "Main Rod Length");
        w.form.RefreshUndoButton();
        w.Action("UnDoStep")->trigger();
        QCOMPARE(w.m.Frame.MainRodLength, w.m.FrameFactory.Dims.MainRodLength);
        QCOMPARE(w.m.UndoCount, 0);
    }

    void scalingRoundTripsAndMarksModified() {
        Window w;
        kes::SelectDimension(w.m, 3);
        kes::PushUndo(w.m, 3, 16.0f);
        const kes::Model before = w.m;
        double factor = kes::InchesToMillimetres;
        w.form.SetScaleFactorChooser([&factor] { return std::optional<double>(factor); });
        w.Action("ScaleDesign1")->trigger();
        QCOMPARE(w.m.Frame.MainRodLength, static_cast<float>(16.75 * 25.4));
        // One step above the entry that was there.
        QCOMPARE(w.m.UndoCount, 2);
        QCOMPARE(w.m.UndoRecord[1].Name, std::string("Scale Design"));
        QCOMPARE(w.m.DynVarSlots[1].Name, kes::EmptySlotName);
        QCOMPARE(w.m.RevArmBarMax, 43180);
        QCOMPARE(w.form.Controls()->State().RevArmPos, 0);
        w.form.OnTick();
        QVERIFY(w.form.isWindowModified());

        factor = 1.0 / kes::InchesToMillimetres;
        w.Action("ScaleDesign1")->trigger();
        for (auto [got, want] :
             {std::pair{w.m.Frame.MainRodLength, before.Frame.MainRodLength},
              std::pair{w.m.Cylinder[kes::ValveLengthRear], before.Cylinder[kes::ValveLengthRear]},
              std::pair{w.m.Points[kes::GearMount].X, before.Points[kes::GearMount].X},
              std::pair{w.m.CurrentView.Scale, before.CurrentView.Scale},
              std::pair{w.m.MidGear(), before.MidGear()}})
            QVERIFY2(UlpDistance(got, want) <= 1, qPrintable(QString::number(got)));

        // Cancelled: nothing changes.
        const float rod = w.m.Frame.MainRodLength;
        w.form.SetScaleFactorChooser([] { return std::optional<double>(); });
        w.Action("ScaleDesign1")->trigger();
        QCOMPARE(w.m.Frame.MainRodLength, rod);
    }

    void scalingIsOneUnDoAndOneReDo() {
        Window w;
        const kes::Model before = w.m;
        w.form.SetScaleFactorChooser([] { return std::optional<double>(2.0); });
        w.Action("ScaleDesign1")->trigger();
        const kes::Model scaled = w.m;
        QVERIFY(!test_support::SameDesign(scaled, before));

        w.Action("UnDoStep")->trigger();
        QVERIFY(test_support::SameDesign(w.m, before));
        QVERIFY(std::memcmp(&w.m.CurrentView, &before.CurrentView, sizeof before.CurrentView) == 0);
        QCOMPARE(w.m.UndoCount, 0);
        w.Action("ReDoStep")->trigger();
        QVERIFY(test_support::SameDesign(w.m, scaled));
        QVERIFY(std::memcmp(&w.m.CurrentView, &scaled.CurrentView, sizeof scaled.CurrentView) == 0);
        QCOMPARE(w.m.UndoCount, 1);
        // Nothing left to redo.
        w.Action("ReDoStep")->trigger();
        QVERIFY(test_support::SameDesign(w.m, scaled));
    }

    void ticksAndTheViewLeaveTheRevision() {
        Window w;
        w.form.show();
        w.form.OnTick();
        const uint64_t revision = kes::DesignRevision(w.m);
        for (int i = 0; i < 5; ++i)
            w.form.OnTick();
        MechanismView* picture = w.form.Picture();
        const QPointF at(300, 200);
        QWheelEvent wheel(at, picture->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(picture, &wheel);
        w.form.OnTick();
        QCOMPARE(kes::DesignRevision(w.m), revision);
        // An edit moves it.
        w.form.SetScaleFactorChooser([] { return std::optional<double>(2.0); });
        w.Action("ScaleDesign1")->trigger();
        QVERIFY(kes::DesignRevision(w.m) != revision);
    }

    void wheelZoomsAboutTheCursor() {
        Window w;
        w.form.show();
        MechanismView* picture = w.form.Picture();
        for (QPointF at : {QPointF(200, 150), QPointF(600, 420)}) {
            const QPointF before = w.WorldAt(at);
            const float scale = w.m.CurrentView.Scale;
            QWheelEvent wheel(at, picture->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(picture, &wheel);
            QVERIFY(w.m.CurrentView.Scale > scale);
            const QPointF after = w.WorldAt(at);
            QVERIFY(std::abs(after.x() - before.x()) < 1e-3);
            QVERIFY(std::abs(after.y() - before.y()) < 1e-3);
        }
        // And back out.
        const float scale = w.m.CurrentView.Scale;
        QWheelEvent out(QPointF(10, 10), picture->mapToGlobal(QPointF(10, 10)), QPoint(),
                        QPoint(0, -240), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(picture, &out);
        QVERIFY(w.m.CurrentView.Scale < scale);
    }

    void middleDragPansAndLeavesPickingAlone() {
        Window w;
        w.form.show();
        kes::SetReferencePoints(w.m, w.form.Controls()->State(), true);
        MechanismView* picture = w.form.Picture();
        const kes::View start = w.m.CurrentView;
        auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButton button,
                        Qt::MouseButtons held) {
            QMouseEvent e(type, at, picture->mapToGlobal(at), button, held, Qt::NoModifier);
            QApplication::sendEvent(picture, &e);
        };
        send(QEvent::MouseButtonPress, {300, 300}, Qt::MiddleButton, Qt::MiddleButton);
        send(QEvent::MouseMove, {330, 290}, Qt::NoButton, Qt::MiddleButton);
        send(QEvent::MouseMove, {340, 280}, Qt::NoButton, Qt::MiddleButton);
        send(QEvent::MouseButtonRelease, {340, 280}, Qt::MiddleButton, Qt::NoButton);
        QCOMPARE(w.m.CurrentView.OffsetX, start.OffsetX + 40.0f);
        QCOMPARE(w.m.CurrentView.OffsetY, start.OffsetY - 20.0f);
        // The middle button moved no reference point.
        QCOMPARE(w.m.Points[kes::RefPoint1].X, 0.0f);
        QCOMPARE(w.m.Points[kes::RefPoint2].X, 0.0f);
        // The left button still places reference point 1.
        send(QEvent::MouseButtonPress, {340, 280}, Qt::LeftButton, Qt::LeftButton);
        QVERIFY(w.m.Points[kes::RefPoint1].X != 0.0f);
    }

    void spaceRunsAndStopsFromThePicture() {
        Window w;
        w.form.show();
        auto* run = w.form.Picture()->findChild<QPushButton*>(QStringLiteral("Run"));
        QVERIFY(run);
        QCOMPARE(run->text(), QStringLiteral("Stop"));
        QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QApplication::sendEvent(w.form.Picture(), &space);
        QCOMPARE(run->text(), QStringLiteral("Run"));
        QCOMPARE(w.m.StepAngle, 0.0f);
        QApplication::sendEvent(w.form.Picture(), &space);
        QCOMPARE(run->text(), QStringLiteral("Stop"));
        QVERIFY(w.m.StepAngle != 0.0f);
    }
};

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("KESTROVE_NO_SOUND", "1");
    QApplication app(argc, argv);
    MainSessionTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "main_session_test.moc"
