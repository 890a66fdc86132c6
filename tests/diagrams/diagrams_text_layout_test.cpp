// SPDX-License-Identifier: GPL-3.0-or-later
// The diagrams' texts at both font settings: every text ends inside the
// picture, no two texts cover each other, and none lies under the window's
// "Close" button, scroll bars or UnDo button. With the larger sample at its
// own positions and a finer vertical scale, the curves' numbers stay inside
// their plot, every one of them shown. With KESTROVE_LAYOUT_PNG_DIR
// set, each window is also written there as PNG for a look by eye.

#include "diagram_test_support.h"
#include "diagrams/oval_diagram.h"
#include "diagrams/oval_window.h"
#include "diagrams/port_diagram.h"
#include "diagrams/port_window.h"
#include "diagrams/sine_diagram.h"
#include "diagrams/sine_window.h"
#include "diagrams/steam_diagram.h"
#include "diagrams/steam_window.h"
#include "files/dimension_file.h"
#include "support/fake_main_link.h"

#include <QDir>
#include <QFontMetrics>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

#include <vector>

namespace {

struct Box {
    QString Text;
    QRect Rect;
};

// The rectangle a text's characters cover, from the font's metrics; its
// leading blanks cover nothing.
QRect InkRect(const RecordedText& t) {
    const QFontMetrics metrics(diagrams::DiagramFont(t.Bold));
    const QString trimmed = t.Text.trimmed();
    const int lead = metrics.horizontalAdvance(t.Text.left(t.Text.indexOf(trimmed)));
    const QRect ink = metrics.tightBoundingRect(trimmed);
    return ink.translated(t.TopLeft + QPoint(lead, metrics.ascent()));
}

// The texts of one drawing; a text drawn twice at one place (the frame of a
// both-graphs picture) counts once, and one written over an earlier at the
// same place (a later cut-off of the steam diagram) takes its place.
std::vector<Box> Boxes(const RecordingPaintDevice& device) {
    std::vector<Box> boxes;
    std::vector<QPoint> places;
    for (const RecordedText& t : device.Texts()) {
        if (t.Text.trimmed().isEmpty()) continue;
        const Box b{t.Text.trimmed(), InkRect(t)};
        bool again = false;
        for (size_t i = 0; i < boxes.size() && !again; ++i) {
            if (places[i] != t.TopLeft && !(boxes[i].Text == b.Text && boxes[i].Rect == b.Rect))
                continue;
            boxes[i] = b;
            again = true;
        }
        if (!again) {
            boxes.push_back(b);
            places.push_back(t.TopLeft);
        }
    }
    return boxes;
}

QString Describe(const Box& b) {
    return QString("\"%1\" at %2,%3 w%4")
        .arg(b.Text)
        .arg(b.Rect.x())
        .arg(b.Rect.y())
        .arg(b.Rect.width());
}

// Long names and values that need all seven characters.
void FillDynVarsAndUndo(kes::Model& m) {
    const char* names[] = {"Drop Link to CrossH Vert", "Steam Port Width   Front",
                           "Valve Length   Front Half", "Gear Con Rod Lower BkS"};
    const float values[] = {-5.0f, -18.71f, 12.345f, -0.25f};
    for (int s = 1; s <= 4; ++s) {
        m.DynVarSlots[static_cast<size_t>(s)].Id = s;
        m.DynVarSlots[static_cast<size_t>(s)].Name = names[s - 1];
        m.DynVarSlots[static_cast<size_t>(s)].Value = values[s - 1];
    }
    m.DynVarMode = true;
    m.UndoDisplay = true;
    m.UndoCount = 20;
    m.UndoRecord[1] = {4, -4.9f, -5.0f, "Drop Link to CrossH Vert"};
}

struct Case {
    const char* Name;
    PaintFn Paint;
    char Mode;
    int CloseLeft;
    int Height;
    // The curves' numbers stay in this box, clear of the axes and their labels.
    QRect PlotBox;
};

// The steam diagram's arrow head is drawn from strokes laid over each other.
bool ArrowStroke(const QString& text) {
    return text == "/" || text == "\\" || text == "|";
}

void PaintPortForMode(QPainter& p, kes::Model& m, DiagramTextState& text) {
    diagrams::PaintPortDiagramForMode(p, m, text);
}

const Case Cases[] = {
    {"sine", diagrams::PaintSineDiagram, 'F', 408, 414, QRect(QPoint(45, 65), QPoint(583, 352))},
    {"oval", diagrams::PaintOvalDiagram, 'F', 408, 426, QRect(QPoint(45, 65), QPoint(583, 347))},
    {"steam", diagrams::PaintSteamDiagram, 'F', 408, 414, QRect(QPoint(45, 71), QPoint(583, 342))},
    {"portF", PaintPortForMode, 'F', 447, 414, {}},
    {"portR", PaintPortForMode, 'R', 447, 414, {}},
    {"portB", PaintPortForMode, 'B', 447, 414, {}},
};

// The controls over the picture, as the windows place them.
std::vector<QRect> Controls(int closeLeft) {
    std::vector<QRect> rects{QRect(closeLeft, closeLeft == 447 ? 2 : 8, 75, 25),
                             QRect(110, 54, 40, 16)};
    for (int i = 0; i < 4; ++i)
        rects.emplace_back(112, 3 + 12 * i, 121, 10);
    return rects;
}

// The factory design, or the larger sample whose travels run past the axes.
std::unique_ptr<kes::Model> LayoutModel(bool large, bool big = false) {
    auto m = FactoryModel();
    if (big) {
        const kes::FileResult r =
            kes::LoadDimensionsByExtension(*m, KESTROVE_TEST_DATA "/big-engine.kvd");
        if (!r.Ok) qFatal("big-engine.kvd: %s", r.Message.c_str());
    }
    // Close together, so that the curves start at nearly one height; the
    // last is mid gear, for the read-outs.
    const float mid = m->MidGear(), max = m->Frame.RevArmMax;
    SetPositions(*m, {mid + max, mid + 0.95f * max, mid + 0.9f * max, mid + 0.5f * max, mid - max,
                      mid - 0.95f * max, mid});
    FillDynVarsAndUndo(*m);
    if (large) {
        m->TextScaleX = 1.27f;
        m->TextScaleY = 1.22f;
    }
    return m;
}

} // namespace

class DiagramTextLayoutTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QuietOffscreenPlatform(); }
    void textsFitAndStayApart_data();
    void textsFitAndStayApart();
    void largerSampleNumbersStayInTheirPlot_data();
    void largerSampleNumbersStayInTheirPlot();
    void wideReadoutsEndInsideThePicture();
    void normalFontKeepsTheTablesPlace();
    void windowsAsPictures();
};

void DiagramTextLayoutTest::textsFitAndStayApart_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("large");
    QTest::addColumn<bool>("big");
    for (int i = 0; i < static_cast<int>(std::size(Cases)); ++i)
        for (const bool large : {false, true})
            for (const bool big : {false, true})
                QTest::addRow("%s-%s%s", Cases[i].Name, large ? "large" : "normal",
                              big ? "-big-engine" : "")
                    << i << large << big;
}

void DiagramTextLayoutTest::textsFitAndStayApart() {
    QFETCH(int, index);
    QFETCH(bool, large);
    QFETCH(bool, big);
    const Case& c = Cases[index];
    auto m = LayoutModel(large, big);
    m->PortGraphMode = c.Mode;
    // The undo line as an earlier drawing left it: the longest it gets.
    DiagramTextState text{diagrams::BuildUndoMessage(*m)};
    RecordingPaintDevice device(QSize(632, c.Height));
    PaintToRecorder(c.Paint, *m, device, &text);
    const std::vector<Box> boxes = Boxes(device);
    QVERIFY(boxes.size() > 40);

    const QRect picture(0, 0, 632, c.Height);
    const std::vector<QRect> controls = Controls(c.CloseLeft);
    QStringList faults;
    for (size_t i = 0; i < boxes.size(); ++i) {
        const Box& a = boxes[i];
        if (!picture.contains(a.Rect)) faults << "outside: " + Describe(a);
        for (const QRect& control : controls)
            if (control.intersects(a.Rect)) faults << "under a control: " + Describe(a);
        for (size_t j = i + 1; j < boxes.size(); ++j)
            if (a.Rect.intersects(boxes[j].Rect) &&
                !(ArrowStroke(a.Text) && ArrowStroke(boxes[j].Text)))
                faults << "overlap: " + Describe(a) + " / " + Describe(boxes[j]);
    }
    if (!faults.isEmpty()) QFAIL(qPrintable(faults.join("\n")));
}

void DiagramTextLayoutTest::largerSampleNumbersStayInTheirPlot_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("large");
    QTest::addColumn<float>("scale");
    for (int i = 0; i < 3; ++i)
        for (const bool large : {false, true})
            for (const float scale : {1.5f, 1.2f, 1.0f})
                QTest::addRow("%s-%s-%.1f", Cases[i].Name, large ? "large" : "normal",
                              static_cast<double>(scale))
                    << i << large << scale;
}

void DiagramTextLayoutTest::largerSampleNumbersStayInTheirPlot() {
    QFETCH(int, index);
    QFETCH(bool, large);
    QFETCH(float, scale);
    const Case& c = Cases[index];
    // The sample as it opens, its own positions; the user's vertical scale.
    auto m = FactoryModel();
    const kes::FileResult r =
        kes::LoadDimensionsByExtension(*m, KESTROVE_TEST_DATA "/big-engine.kvd");
    QVERIFY2(r.Ok, r.Message.c_str());
    m->VerticalScale = scale;
    if (large) {
        m->TextScaleX = 1.27f;
        m->TextScaleY = 1.22f;
    }
    DiagramTextState text;
    RecordingPaintDevice device(QSize(632, c.Height));
    PaintToRecorder(c.Paint, *m, device, &text);
    const std::vector<Box> boxes = Boxes(device);
    QStringList faults;
    int numbers = 0;
    for (size_t i = 0; i < boxes.size(); ++i) {
        const Box& a = boxes[i];
        for (size_t j = i + 1; j < boxes.size(); ++j)
            if (a.Rect.intersects(boxes[j].Rect) &&
                !(ArrowStroke(a.Text) && ArrowStroke(boxes[j].Text)))
                faults << "overlap: " + Describe(a) + " / " + Describe(boxes[j]);
    }
    for (const RecordedText& t : device.Texts()) {
        if (!t.Bold) continue;
        ++numbers;
        if (!c.PlotBox.contains(InkRect(t))) faults << "outside the plot: " + t.Text;
    }
    // The oval and the sine number each curve, the oval twice; the steam
    // diagram each end whose expansion it labels.
    const int positions = m->RevArmPositionCount;
    if (index == 0) QCOMPARE(numbers, positions);
    if (index == 1) QCOMPARE(numbers, 2 * positions);
    if (index == 2) QVERIFY(numbers >= positions);
    if (!faults.isEmpty()) QFAIL(qPrintable(faults.join("\n")));
}

void DiagramTextLayoutTest::wideReadoutsEndInsideThePicture() {
    // Values of seven characters and more, at both ends of the column.
    const analysis::MidGearReadouts r{-18.71f, 123.456f, -0.25f, -18.71f, 9.5f, -99.999f};
    RecordingPaintDevice device(QSize(632, 414));
    {
        QPainter p(&device);
        diagrams::BeginDiagram(p);
        diagrams::PaintReadouts(p, r);
    }
    int values = 0;
    for (const Box& b : Boxes(device)) {
        QVERIFY2(b.Rect.right() < 632, qPrintable(Describe(b)));
        if (b.Text.contains('.')) ++values;
    }
    QCOMPARE(values, 6);
}

void DiagramTextLayoutTest::normalFontKeepsTheTablesPlace() {
    // With the normal font the table and the dynamic-variable block stand
    // where they always did; only the large font moves them.
    struct Expect {
        QString Text;
        QPoint TopLeft;
    };
    auto m = FactoryModel();
    SetPositions(*m, {m->MidGear() + 0.5f});
    m->DynVarMode = true;
    m->DynVarSlots[1] = {2, 1.25f, "Stroke"};
    RecordingPaintDevice device;
    PaintToRecorder(diagrams::PaintSineDiagram, *m, device);
    const Expect expected[] = {{"Reverse Arm Positions", {500, 0}},
                               {"Center", {520, 13}},
                               {"Fwd", {533, 24}},
                               {"Stroke", {235, 2}},
                               {" 1.250", {363, 2}}};
    for (const Expect& e : expected) {
        bool found = false;
        for (const RecordedText& t : device.Texts())
            found = found || (t.Text == e.Text && t.TopLeft == e.TopLeft);
        QVERIFY2(found, qPrintable(e.Text));
    }
}

void DiagramTextLayoutTest::windowsAsPictures() {
    const QString dir = qEnvironmentVariable("KESTROVE_LAYOUT_PNG_DIR");
    if (dir.isEmpty()) QSKIP("KESTROVE_LAYOUT_PNG_DIR not set");
    QDir().mkpath(dir);
    for (const bool large : {false, true}) {
        auto m = LayoutModel(large);
        FakeMainLink link;
        DiagramTextState text;
        TSineDia sine(*m, link, text);
        TOvalDia oval(*m, link, text);
        TSteamDia steam(*m, link, text);
        TPortDia port(*m, link, text);
        const std::pair<const char*, DiagramWindow*> windows[] = {
            {"sine", &sine}, {"oval", &oval}, {"steam", &steam}, {"portB", &port}};
        for (const auto& [name, w] : windows) {
            if (w == &port) {
                port.BothGraphsClick();
                port.BothGraphsClick();
            } else {
                w->ClearAndDraw();
                w->ClearAndDraw();
            }
            w->resize(w->sizeHint());
            w->show();
            QCoreApplication::processEvents();
            const QString file = QString("%1/%2-%3.png").arg(dir, name, large ? "large" : "normal");
            QVERIFY(w->grab().save(file));
            w->hide();
        }
    }
}

QTEST_MAIN(DiagramTextLayoutTest)
#include "diagrams_text_layout_test.moc"
