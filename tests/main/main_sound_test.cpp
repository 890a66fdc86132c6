// SPDX-License-Identifier: GPL-3.0-or-later
// The program's sounds: the synthesised chuff and warning tone, their WAV
// files, where the player finds them, the output volume, and silence when
// sound is switched off.

#include "main/sound_player.h"
#include "main/sound_synth.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <cstring>

namespace {

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 |
           uint32_t{b[at + 3]} << 24;
}
uint16_t Le16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

double Energy(const std::vector<int16_t>& v, size_t from, size_t to) {
    double e = 0;
    for (size_t i = from; i < to && i < v.size(); ++i)
        e += static_cast<double>(v[i]) * v[i];
    return e;
}

// Rising zero crossings per second over a stretch.
double Frequency(const std::vector<int16_t>& v, size_t from, size_t to, int rate) {
    int rising = 0;
    for (size_t i = from + 1; i < to; ++i)
        if (v[i - 1] < 0 && v[i] >= 0) ++rising;
    return rising * double(rate) / double(to - from);
}

void Touch(const QString& path) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("RIFF");
}

} // namespace

class MainSoundTest : public QObject {
    Q_OBJECT
  private slots:
    void wavHeaderDescribesTheSamples();
    void chuffIsAShortDecayingHiss();
    void errorToneIsHighThenLow();
    void volumeIsTheMeanOfTheChannels_data();
    void volumeIsTheMeanOfTheChannels();
    void soundsComeFromTheWorkingDirectoryFirst();
    void builtSoundsStandBesideTheProgram();
    void switchedOffTouchesNothing();
};

void MainSoundTest::wavHeaderDescribesTheSamples() {
    const std::vector<int16_t> samples{0, 1000, -1000, 32767, -32767};
    const auto b = kes::sound::EncodeWav(samples, 8000);
    QCOMPARE(b.size(), size_t{44 + 10});
    QCOMPARE(std::memcmp(b.data(), "RIFF", 4), 0);
    QCOMPARE(Le32(b, 4), uint32_t{36 + 10});
    QCOMPARE(std::memcmp(b.data() + 8, "WAVEfmt ", 8), 0);
    QCOMPARE(Le16(b, 20), uint16_t{1}); // PCM
    QCOMPARE(Le16(b, 22), uint16_t{1}); // mono
    QCOMPARE(Le32(b, 24), uint32_t{8000});
    QCOMPARE(Le32(b, 28), uint32_t{16000});
    QCOMPARE(Le16(b, 34), uint16_t{16});
    QCOMPARE(std::memcmp(b.data() + 36, "data", 4), 0);
    QCOMPARE(Le32(b, 40), uint32_t{10});
    QCOMPARE(static_cast<int16_t>(Le16(b, 44 + 6)), int16_t{32767});
    QCOMPARE(static_cast<int16_t>(Le16(b, 44 + 4)), int16_t{-1000});
}

void MainSoundTest::chuffIsAShortDecayingHiss() {
    const int rate = kes::sound::SampleRate;
    const auto v = kes::sound::SynthesizeExhaust();
    QVERIFY(v.size() > size_t(rate / 10) && v.size() < size_t(rate / 2));
    int peak = 0;
    for (int16_t s : v)
        peak = std::max(peak, std::abs(int{s}));
    QVERIFY(peak > 20000 && peak < 32767); // loud, never clipped
    const size_t slice = size_t(rate) / 20;
    QVERIFY(Energy(v, 0, slice) > 20 * Energy(v, v.size() - slice, v.size()));
    // Noise, not a tone: the sign changes often and irregularly.
    QVERIFY(Frequency(v, 0, slice, rate) > 200);
    QVERIFY(kes::sound::SynthesizeExhaust() == v); // the same every build
}

void MainSoundTest::errorToneIsHighThenLow() {
    const int rate = kes::sound::SampleRate;
    const auto v = kes::sound::SynthesizeErrorTone();
    const auto note = size_t(kes::sound::ErrorNoteSeconds * rate);
    const auto gap = size_t(kes::sound::ErrorGapSeconds * rate);
    QCOMPARE(v.size(), 2 * note + gap);
    QVERIFY(std::abs(Frequency(v, 0, note, rate) - 880.0) < 20.0);
    QVERIFY(std::abs(Frequency(v, note + gap, v.size(), rate) - 660.0) < 20.0);
    QCOMPARE(Energy(v, note, note + gap), 0.0);
    QVERIFY(std::abs(v.front()) < 500 && std::abs(v.back()) < 500); // no clicks
}

void MainSoundTest::volumeIsTheMeanOfTheChannels_data() {
    QTest::addColumn<uint>("value");
    QTest::addColumn<double>("fraction");
    QTest::newRow("half") << 0x80008000u << 32768.0 / 65535.0;
    QTest::newRow("silent") << 0u << 0.0;
    QTest::newRow("full") << 0xFFFFFFFFu << 1.0;
    QTest::newRow("left only") << 0x0000FFFFu << 0.5;
    QTest::newRow("beat 0x07") << 0x07000700u << 1792.0 / 65535.0;
}

void MainSoundTest::volumeIsTheMeanOfTheChannels() {
    QFETCH(uint, value);
    QFETCH(double, fraction);
    QVERIFY(std::abs(SoundPlayer::VolumeFraction(value) - fraction) < 1e-12);
}

void MainSoundTest::soundsComeFromTheWorkingDirectoryFirst() {
    QTemporaryDir work, program;
    QVERIFY(work.isValid() && program.isValid());
    QCOMPARE(SoundPlayer::FindSoundFile(ExhaustSoundFile, work.path(), program.path()), QString());
    Touch(program.filePath(ExhaustSoundFile));
    QCOMPARE(SoundPlayer::FindSoundFile(ExhaustSoundFile, work.path(), program.path()),
             QFileInfo(program.filePath(ExhaustSoundFile)).absoluteFilePath());
    Touch(work.filePath(ExhaustSoundFile));
    QCOMPARE(SoundPlayer::FindSoundFile(ExhaustSoundFile, work.path(), program.path()),
             QFileInfo(work.filePath(ExhaustSoundFile)).absoluteFilePath());
    // A folder of that name is no sound.
    QVERIFY(QDir(work.path()).mkdir(ErrorSoundFile));
    QCOMPARE(SoundPlayer::FindSoundFile(ErrorSoundFile, work.path(), QString()), QString());
}

void MainSoundTest::builtSoundsStandBesideTheProgram() {
    const QString dir = QCoreApplication::applicationDirPath();
    for (const QString& name : {ExhaustSoundFile, ErrorSoundFile}) {
        QFile f(QDir(dir).filePath(name));
        QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(f.fileName()));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.startsWith("RIFF"));
        QVERIFY(bytes.size() > 1000);
    }
    QFile exhaust(QDir(dir).filePath(ExhaustSoundFile));
    QVERIFY(exhaust.open(QIODevice::ReadOnly));
    const auto expected = kes::sound::EncodeWav(kes::sound::SynthesizeExhaust());
    QCOMPARE(exhaust.readAll(), QByteArray(reinterpret_cast<const char*>(expected.data()),
                                           qsizetype(expected.size())));
}

void MainSoundTest::switchedOffTouchesNothing() {
    QVERIFY(SoundPlayer::SwitchedOffByEnvironment()); // the tests run with KESTROVE_NO_SOUND=1
    SoundPlayer player;
    QVERIFY(!player.Enabled());
    player.SetOutputVolume(0x40004000u);
    QCOMPARE(player.OutputVolume(), 0x40004000u);
    player.PlayExhaust();
    player.PlayError();
    player.Beep();
    QVERIFY(player.children().isEmpty()); // no sound effect was made
    qputenv("KESTROVE_NO_SOUND", "0");
    QVERIFY(!SoundPlayer::SwitchedOffByEnvironment());
    qputenv("KESTROVE_NO_SOUND", "1");
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    MainSoundTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "main_sound_test.moc"
