// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile files opened through the file command, as a user's dialog would
// hand them over: each is refused with a message and the design left as it
// was, or loaded, and then the next tick draws a whole frame.

#include "file_commands/file_commands.h"
#include "files/dimension_record.h"
#include "model/model.h"
#include "picture/animation_tick.h"
#include "picture/draw_state.h"
#include "picture/mechanism_painter.h"
#include "support/fake_main_link.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <cstring>
#include <limits>
#include <memory>
#include <random>

namespace {

constexpr float Inf = std::numeric_limits<float>::infinity();

// count records with every slot value.
QByteArray Filled(int count, float value) {
    QByteArray bytes(20 * count, '\0');
    for (int i = 0; i < 5 * count; ++i)
        kes::PutFloatLE(value, reinterpret_cast<unsigned char*>(bytes.data()) + 4 * i);
    return bytes;
}

QByteArray RandomBytes(int size, unsigned seed) {
    std::mt19937 gen(seed);
    QByteArray bytes(size, '\0');
    for (char& b : bytes)
        b = static_cast<char>(gen() & 0xFF);
    return bytes;
}

// The design a file can change (the parts the dialogs and the picture use).
bool SameDesign(const kes::Model& a, const kes::Model& b) {
    return std::memcmp(&a.Frame, &b.Frame, sizeof a.Frame) == 0 &&
           std::memcmp(&a.Baker, &b.Baker, sizeof a.Baker) == 0 && a.Cylinder == b.Cylinder &&
           std::memcmp(a.Points.data(), b.Points.data(), sizeof a.Points) == 0 &&
           std::memcmp(a.LineTable.data(), b.LineTable.data(), sizeof a.LineTable) == 0 &&
           std::memcmp(&a.CurrentView, &b.CurrentView, sizeof a.CurrentView) == 0 &&
           a.ViewPresets == b.ViewPresets && a.RevArmPositions == b.RevArmPositions &&
           a.DataSetName == b.DataSetName;
}

enum class Make { Bytes, Fifo, Folder };

} // namespace

class HostileOpenTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

  private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }
    void hostileFiles_data();
    void hostileFiles();
};

void HostileOpenTest::hostileFiles_data() {
    QTest::addColumn<int>("make");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("steam");
    auto bytes = [](const char* name, const QByteArray& b, bool steam = false) {
        QTest::newRow(name) << static_cast<int>(Make::Bytes) << b << steam;
    };
    bytes("empty", {});
    bytes("one byte", QByteArray(1, '\x7F'));
    bytes("truncated in record 5", Filled(72, 2.0f).left(20 * 5 + 7));
    bytes("truncated in record 40", Filled(72, 2.0f).left(20 * 40 + 3));
    bytes("19 records", Filled(19, 3.0f));
    bytes("oversized", Filled(72, 2.5f) + RandomBytes(1 << 20, 7));
    bytes("all NaN", Filled(72, std::numeric_limits<float>::quiet_NaN()), true);
    bytes("all +Inf", Filled(72, Inf), true);
    bytes("all -Inf", Filled(72, -Inf), true);
    bytes("all +1e38", Filled(72, 1e38f), true);
    bytes("all -1e38", Filled(72, -1e38f), true);
    bytes("largest float", Filled(72, std::numeric_limits<float>::max()), true);
    bytes("zeros", Filled(72, 0.0f), true);
    bytes("random bytes", RandomBytes(1440, 1), true);
    bytes("random bytes, long", RandomBytes(5000, 2), true);
    QTest::newRow("fifo") << static_cast<int>(Make::Fifo) << QByteArray() << false;
    QTest::newRow("folder") << static_cast<int>(Make::Folder) << QByteArray() << false;
}

void HostileOpenTest::hostileFiles() {
    QFETCH(int, make);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, steam);
    const QString path = dir_.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".kvd");
    switch (static_cast<Make>(make)) {
    case Make::Bytes: {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(f.write(bytes), bytes.size());
        break;
    }
    case Make::Fifo:
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        break;
    case Make::Folder:
        QVERIFY(QDir(dir_.path()).mkdir(QFileInfo(path).fileName()));
        break;
    }

    kes::Model model;
    kes::InitialiseModel(model);
    model.SteamDisplayOn = steam;
    FakeMainLink link;
    FileCommands commands(model, link, nullptr, dir_.filePath(QStringLiteral("settings.ini")));
    QStringList messages;
    commands.SetFileChooser([&](const FileDialogRequest&) { return path; });
    commands.SetMessageShower([&](const QString& text) { messages.append(text); });
    commands.SetAsker(
        [](const QString&, QMessageBox::StandardButtons) { return QMessageBox::Cancel; });
    const kes::Model before = model;
    commands.OpenDimensionsClick();

    if (!messages.isEmpty()) {
        QCOMPARE(messages.size(), 1);
        QVERIFY(!messages.front().isEmpty());
        QVERIFY2(SameDesign(before, model), qPrintable(messages.front()));
    }
    // Whatever was taken, the next ticks draw whole frames. The limit is a
    // guard against a hang, far above a tick's time (the benchmark has that).
    DrawState s;
    s.FixedSeed = 99u;
    QImage image = NewFrameImage();
    const QImage blank = NewFrameImage();
    for (int tick = 0; tick < 3; ++tick) {
        QElapsedTimer clock;
        clock.start();
        FrameOutcome out;
        RunTick(model, s, image, out);
        QVERIFY2(clock.elapsed() < 200, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(image.size(), QSize(1280, 1024));
        // At the least the screen texts stand on it.
        QVERIFY(image != blank);
    }
}

QTEST_MAIN(HostileOpenTest)
#include "hostile_open_test.moc"
