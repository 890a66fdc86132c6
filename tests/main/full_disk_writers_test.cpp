// SPDX-License-Identifier: GPL-3.0-or-later
// Every writer on a full disk and on a device: it says it failed and the old
// file stays byte for byte. The full disk is a tiny tmpfs (mounting needs
// root; without it those cases are skipped).

#include "diagrams/diagram_paint.h"
#include "diagrams/diagram_render.h"
#include "export/design_report.h"
#include "export/tiled_pages.h"
#include "files/dimension_file.h"
#include "model/model.h"
#include "picture/gear_drawing.h"
#include "valve_events/events_window.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "cylinder/engine_data.h"
#include "workshop/gear_dxf.h"
#include <functional>
#include <memory>
#include <sys/mount.h>

#include <unistd.h>

namespace {

using Writer = std::function<bool(kes::Model&, const QString&, QString*)>;

struct NamedWriter {
    const char* Name;
    const char* File;
    Writer Write;
};

std::vector<NamedWriter> Writers() {
    auto diagram = [](const char* name) {
        return [name](kes::Model& m, const QString& file, QString* error) {
            DiagramTextState text;
            return diagrams::WriteDiagram(*diagrams::FindDiagram(name), m, text, file, error);
        };
    };
    auto drawing = [](kes::Model& m, const QString& file, QString* error) {
        GearDrawingDef def;
        def.Setting = m.MidGear();
        return WriteGearDrawing(file, m, def, error) > 0;
    };
    return {
        {"sine svg", "old.svg", diagram("sine")},
        {"ports png", "old.png", diagram("ports")},
        {"drawing svg", "old.svg", drawing},
        {"drawing pdf", "old.pdf", drawing},
        {"report pdf", "old.pdf",
         [](kes::Model& m, const QString& file, QString* error) {
             return exporting::WriteReportPdf(file, m, {}, exporting::Paper::A4, error) > 0;
         }},
        {"events csv", "old.csv",
         [](kes::Model& m, const QString& file, QString* error) {
             TValveEvents window(m);
             window.show();
             // The report is worked out in the background; its CSV is the
             // file (an empty one would fit on any disk).
             if (!QTest::qWaitFor([&] { return window.Shown() != nullptr; }, 60000)) return true;
             return window.SaveCsv(file, error);
         }},
        {"gear dxf", "old.dxf",
         [](kes::Model& m, const QString& file, QString* error) {
             std::string why;
             const auto dxf = workshop::PlanGearDxf(m, {}, &why);
             const bool ok = dxf && workshop::WriteDxf(file.toStdString(), *dxf, &why);
             if (error) *error = QString::fromStdString(why);
             return ok;
         }},
        {"engine json", "old.json",
         [](kes::Model&, const QString& file, QString* error) {
             const kes::EngineFileResult r =
                 kes::SaveEngineFile(file.toStdString(), kes::DefaultEngineData());
             if (error) *error = QString::fromStdString(r.Message);
             return r.Ok;
         }},
        {"dimensions kvd", "old.kvd",
         [](kes::Model& m, const QString& file, QString* error) {
             const kes::FileResult r = kes::SaveDimensionFile(m, file.toStdString());
             if (error) *error = QString::fromStdString(r.Message);
             return r.Ok;
         }},
    };
}

const QByteArray OldBytes = "the old file, thirty bytes ok\n";

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// A tmpfs of 8 KiB mounted on a fresh folder, filled to the last byte.
class FullDisk {
  public:
    FullDisk() {
        if (::geteuid() != 0) return;
        const QByteArray path = QFile::encodeName(dir_.path());
        mounted_ = ::mount("tmpfs", path.constData(), "tmpfs", 0, "size=8k") == 0;
    }
    ~FullDisk() {
        if (mounted_) ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
    }
    bool Mounted() const { return mounted_; }
    QString File(const QString& name) const { return dir_.filePath(name); }
    // Puts the old file in place, then takes every block that is left.
    bool Prepare(const QString& name) {
        QDir(dir_.path()).removeRecursively();
        QDir().mkpath(dir_.path());
        if (!WriteFile(File(name), OldBytes)) return false;
        QFile filler(File(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly)) return false;
        const QByteArray block(512, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        return true;
    }
    QStringList Entries() const {
        return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }

  private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};

std::unique_ptr<kes::Model> Factory() {
    auto m = std::make_unique<kes::Model>();
    kes::InitialiseModel(*m);
    return m;
}

struct CliRun {
    int Status = -1;
    QByteArray Err;
};

CliRun Cli(const QStringList& args, const QString& stdoutFile = {}) {
    QProcess p;
    if (!stdoutFile.isEmpty()) p.setStandardOutputFile(stdoutFile);
    p.start(QStringLiteral(KESTROVE_CLI), args);
    p.waitForFinished(120000);
    CliRun r;
    r.Status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.Err = p.readAllStandardError();
    return r;
}

} // namespace

class FullDiskWritersTest : public QObject {
    Q_OBJECT
  private slots:
    void everyWriterOnAFullDiskFailsAndKeepsTheOldFile();
    void everyWriterRefusesADevice();
    void commandLineOnAFullDiskFailsAndKeepsTheOldFile();
    void commandLineOutputToDevFullFails();
};

void FullDiskWritersTest::everyWriterOnAFullDiskFailsAndKeepsTheOldFile() {
    FullDisk disk;
    if (!disk.Mounted()) QSKIP("cannot mount a tmpfs here (needs root)");
    auto m = Factory();
    for (const NamedWriter& w : Writers()) {
        const QString name = QString::fromLatin1(w.File);
        QVERIFY2(disk.Prepare(name), w.Name);
        QString error;
        QVERIFY2(!w.Write(*m, disk.File(name), &error), w.Name);
        QVERIFY2(error.contains(QStringLiteral("Disk full")), qPrintable(w.Name + (": " + error)));
        QCOMPARE(ReadFile(disk.File(name)), OldBytes);
        // No temporary file is left to fill the disk further.
        QCOMPARE(disk.Entries(), (QStringList{QStringLiteral("filler"), name}));
    }
}

void FullDiskWritersTest::everyWriterRefusesADevice() {
    auto m = Factory();
    for (const NamedWriter& w : Writers()) {
        QString error;
        QVERIFY2(!w.Write(*m, QStringLiteral("/dev/full"), &error), w.Name);
        QVERIFY2(!error.isEmpty(), w.Name);
    }
}

void FullDiskWritersTest::commandLineOnAFullDiskFailsAndKeepsTheOldFile() {
    FullDisk disk;
    if (!disk.Mounted()) QSKIP("cannot mount a tmpfs here (needs root)");
    const QList<QStringList> runs = {
        {"drawing", "-o", "old.svg"}, {"drawing", "-o", "old.pdf"},
        {"pdf", "-o", "old.pdf"},     {"diagram", "oval", "-o", "old.png"},
        {"save", "-o", "old.kvd"},
    };
    for (QStringList args : runs) {
        const QString name = args.last();
        QVERIFY(disk.Prepare(name));
        args.last() = disk.File(name);
        const CliRun r = Cli(args);
        QVERIFY2(r.Status != 0, qPrintable(args.join(' ')));
        QVERIFY2(r.Err.contains("Disk full"), r.Err.constData());
        QCOMPARE(ReadFile(disk.File(name)), OldBytes);
    }
    // Text on stdout into a file on the full disk.
    QVERIFY(disk.Prepare(QStringLiteral("old.csv")));
    const CliRun r = Cli({"events"}, disk.File(QStringLiteral("events.csv")));
    QCOMPARE_NE(r.Status, 0);
    QVERIFY2(r.Err.contains("Disk full"), r.Err.constData());
}

void FullDiskWritersTest::commandLineOutputToDevFullFails() {
    for (const QStringList& args : QList<QStringList>{
             {"events"}, {"report", "--format", "json"}, {"check"}, {"dims"}, {"--help"}}) {
        const CliRun r = Cli(args, QStringLiteral("/dev/full"));
        QVERIFY2(r.Status != 0, qPrintable(args.join(' ')));
        QVERIFY2(r.Err.contains("Disk full"), r.Err.constData());
    }
    for (const QStringList& args :
         QList<QStringList>{{"drawing", "-o", "/dev/full"}, {"save", "-o", "/dev/full"}}) {
        const CliRun r = Cli(args);
        QVERIFY2(r.Status != 0, qPrintable(args.join(' ')));
        QVERIFY(!r.Err.isEmpty());
    }
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("KESTROVE_NO_SOUND", "1");
    QApplication app(argc, argv);
    FullDiskWritersTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "full_disk_writers_test.moc"
