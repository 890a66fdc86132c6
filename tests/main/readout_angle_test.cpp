// SPDX-License-Identifier: GPL-3.0-or-later
// While the gear turns, the driver-angle read-out names the angle the frame
// was solved at, so the piston and valve read-outs beside it belong to it.

#include "main_text_recorder.h"
#include "model/model.h"
#include "model/solver.h"
#include "picture/animation_tick.h"

#include <QApplication>
#include <QtTest>

namespace {

double ReadOut(const std::vector<RecordedText>& texts, const QString& label) {
    for (const RecordedText& t : texts)
        if (t.Text.startsWith(label)) return t.Text.mid(label.size()).trimmed().toDouble();
    return -1.0;
}

} // namespace

class ReadoutAngleTest : public QObject {
    Q_OBJECT
  private slots:
    void readOutIsTheSolvedAngle();
};

void ReadoutAngleTest::readOutIsTheSolvedAngle() {
    kes::Model m;
    kes::InitialiseModel(m);
    m.ScreenDataOn = true;
    m.GearDirection = kes::GearDir::Fwd;
    DrawState s;
    for (float step : {40.0f, 5.0f, 0.0f}) {
        m.StepAngle = step;
        for (float angle : {350.0f, 30.0f, 123.5f}) {
            m.DriverAngle = angle;
            PrepareFrame(m, s);
            const auto texts = RecordFrameTexts(m, s);
            QCOMPARE(ReadOut(texts, QStringLiteral("Driv Ang ")), double{angle});
            // The piston read-out is the one of a solve at that angle.
            kes::Model at = m;
            at.DriverAngle = angle;
            kes::SolveLinkage(at);
            QCOMPARE(ReadOut(texts, QStringLiteral("Piston % ")),
                     std::round((at.Solver.PistonTravel640 / 6.4 + 0.00001) * 100.0) / 100.0);
        }
    }
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ReadoutAngleTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "readout_angle_test.moc"
