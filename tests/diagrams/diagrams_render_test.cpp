// SPDX-License-Identifier: GPL-3.0-or-later
// The diagrams by name: the registry the command line uses, rendering into
// an image and writing PNG and SVG files.

#include "diagram_test_support.h"
#include "diagrams/diagram_render.h"
#include "diagrams/oval_diagram.h"
#include "diagrams/sine_diagram.h"

#include <QFile>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>

class DiagramRenderTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QuietOffscreenPlatform(); }
    void registryKnowsSineAndOval();
    void renderIsTheWindowsDrawing_data();
    void renderIsTheWindowsDrawing();
    void writesPngAndSvg_data();
    void writesPngAndSvg();
    void unwritableFileFails();
};

void DiagramRenderTest::registryKnowsSineAndOval() {
    const diagrams::DiagramKind* sine = diagrams::FindDiagram("sine");
    const diagrams::DiagramKind* oval = diagrams::FindDiagram("oval");
    QVERIFY(sine && oval);
    QCOMPARE(sine->ClientSize, QSize(632, 414));
    QCOMPARE(oval->ClientSize, QSize(632, 426));
    QVERIFY(diagrams::FindDiagram("Sine") == nullptr);
    QVERIFY(diagrams::FindDiagram("") == nullptr);
    QVERIFY(diagrams::DiagramKinds().size() >= 2);
    for (const auto& kind : diagrams::DiagramKinds())
        QCOMPARE(diagrams::FindDiagram(kind.Name), &kind);
}

void DiagramRenderTest::renderIsTheWindowsDrawing_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("sine") << "sine";
    QTest::newRow("oval") << "oval";
}

void DiagramRenderTest::renderIsTheWindowsDrawing() {
    QFETCH(QString, name);
    auto m = FactoryModel();
    const diagrams::DiagramKind* kind = diagrams::FindDiagram(name.toStdString());
    DiagramTextState text;
    const QImage rendered = diagrams::RenderDiagram(*kind, *m, text);
    QCOMPARE(rendered.size(), kind->ClientSize);
    const PaintFn paint =
        name == "sine" ? &diagrams::PaintSineDiagram : &diagrams::PaintOvalDiagram;
    QCOMPARE(rendered, PaintToImage(paint, *m, kind->ClientSize));
    // Rendering twice gives the same picture: the drawing leaves the model as it found it.
    QCOMPARE(diagrams::RenderDiagram(*kind, *m, text), rendered);
}

void DiagramRenderTest::writesPngAndSvg_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");
    QTest::newRow("sine png") << "sine"
                              << "a.png";
    QTest::newRow("sine svg") << "sine"
                              << "a.svg";
    QTest::newRow("oval png") << "oval"
                              << "b.png";
    QTest::newRow("oval svg") << "oval"
                              << "b.SVG";
}

void DiagramRenderTest::writesPngAndSvg() {
    QFETCH(QString, name);
    QFETCH(QString, file);
    auto m = FactoryModel();
    const diagrams::DiagramKind* kind = diagrams::FindDiagram(name.toStdString());
    QTemporaryDir dir;
    const QString path = dir.filePath(file);
    DiagramTextState text;
    QString error;
    QVERIFY2(diagrams::WriteDiagram(*kind, *m, text, path, &error), qPrintable(error));
    if (file.endsWith("png")) {
        QImage image(path);
        QCOMPARE(image.convertToFormat(QImage::Format_RGB32),
                 diagrams::RenderDiagram(*kind, *m, text));
    } else {
        QSvgRenderer svg(path);
        QVERIFY(svg.isValid());
        QCOMPARE(svg.viewBox().size(), kind->ClientSize);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray content = f.readAll();
        QVERIFY(content.startsWith("<?xml"));
        QVERIFY(content.contains("Percent Piston Travel") == (name == "oval"));
        QVERIFY(content.contains("Driver Clockwise Rotation") == (name == "sine"));
    }
}

void DiagramRenderTest::unwritableFileFails() {
    auto m = FactoryModel();
    DiagramTextState text;
    QString error;
    QVERIFY(!diagrams::WriteDiagram(*diagrams::FindDiagram("sine"), *m, text,
                                    "/nonexistent-folder/x.svg", &error));
    QVERIFY(!error.isEmpty());
}

KESTROVE_DIAGRAM_TEST_MAIN(DiagramRenderTest)
#include "diagrams_render_test.moc"
