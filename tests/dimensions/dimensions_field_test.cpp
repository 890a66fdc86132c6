// SPDX-License-Identifier: GPL-3.0-or-later
// The dimension field on its own: reading a text, showing a value, the key
// filter, the typed flag and when the field counts as left.

#include "dimensions/dimension_field.h"
#include "dimensions_support.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QVBoxLayout>

#include <cfloat>
#include <cmath>
#include <memory>

namespace {

// A window with two fields and a button, as in a dimension dialog.
struct FieldWindow {
    std::shared_ptr<DimensionFieldState> state = std::make_shared<DimensionFieldState>();
    QWidget window;
    DimensionField* first;
    DimensionField* second;
    DimensionField* plain; // no dimension id
    QPushButton* close;

    FieldWindow() {
        auto* layout = new QVBoxLayout(&window);
        first = new DimensionField(3, state, &window);
        second = new DimensionField(4, state, &window);
        plain = new DimensionField(0, state, &window);
        close = new QPushButton(QStringLiteral("Close"), &window);
        for (QWidget* w : {static_cast<QWidget*>(first), static_cast<QWidget*>(second),
                           static_cast<QWidget*>(plain), static_cast<QWidget*>(close)})
            layout->addWidget(w);
        for (DimensionField* f : {first, second, plain})
            f->SetEnterTarget(close);
        window.show();
        window.activateWindow();
    }
};

} // namespace

class DimensionFieldTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { dimtest::QuietSizeHints(); }
    void parsesTheLongestLeadingNumber_data();
    void parsesTheLongestLeadingNumber();
    void parsingHoldsExtremes();
    void showsThreeDecimalsAtMostTenCharacters_data();
    void showsThreeDecimalsAtMostTenCharacters();
    void keyFilterKeepsOneMinusAndOnePoint_data();
    void keyFilterKeepsOneMinusAndOnePoint();
    void typedFlagFollowsAcceptedKeys();
    void enterMovesFocusAndLeavesOnce();
    void leavingByTabOrClick();
    void anotherWindowDoesNotLeaveTheField();
    void pasteIsRefused();
    void valueOfATruncatedText();
};

void DimensionFieldTest::parsesTheLongestLeadingNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<float>("value");
    QTest::newRow("plain") << "1.23" << 1.23f;
    QTest::newRow("negative") << "-5.000" << -5.0f;
    QTest::newRow("minus alone") << "-" << 0.0f;
    QTest::newRow("point alone") << "." << 0.0f;
    QTest::newRow("minus point") << "-." << 0.0f;
    QTest::newRow("minus after digits") << "5-" << 5.0f;
    QTest::newRow("minus inside") << "12-3" << 12.0f;
    QTest::newRow("leading point") << ".5" << 0.5f;
    QTest::newRow("minus leading point") << "-.5" << -0.5f;
    QTest::newRow("trailing point") << "5." << 5.0f;
    QTest::newRow("point then minus") << "7.-2" << 7.0f;
    QTest::newRow("empty") << "" << 0.0f;
    QTest::newRow("leading blanks") << "  7.5" << 7.5f;
    QTest::newRow("cut display text") << "1000000.00" << 1000000.0f;
}

void DimensionFieldTest::parsesTheLongestLeadingNumber() {
    QFETCH(QString, text);
    QFETCH(float, value);
    const float parsed = ParseFieldText(text);
    QVERIFY(std::isfinite(parsed));
    QCOMPARE(parsed, value);
}

void DimensionFieldTest::parsingHoldsExtremes() {
    const QString nines(400, QLatin1Char('9'));
    QCOMPARE(ParseFieldText(nines), FLT_MAX);
    QCOMPARE(ParseFieldText(QStringLiteral("-") + nines), -FLT_MAX);
    QCOMPARE(ParseFieldText(QStringLiteral("1") + QString(45, QLatin1Char('0'))), FLT_MAX);
    const QString tiny =
        QStringLiteral("0.") + QString(400, QLatin1Char('0')) + QStringLiteral("1");
    QCOMPARE(ParseFieldText(tiny), 0.0f);
    // No negative zero: it would show as "-0.000".
    QVERIFY(!std::signbit(ParseFieldText(QStringLiteral("-0"))));
    QVERIFY(!std::signbit(ParseFieldText(QStringLiteral("-"))));
}

void DimensionFieldTest::showsThreeDecimalsAtMostTenCharacters_data() {
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("nine") << 9.0f << "9.000";
    QTest::newRow("main rod") << 16.75f << "16.750";
    QTest::newRow("negative") << -0.5f << "-0.500";
    QTest::newRow("zero") << 0.0f << "0.000";
    QTest::newRow("rounded") << 1.23456f << "1.235";
    QTest::newRow("million") << 1000000.0f << "1000000.00";
    QTest::newRow("ten million") << 10000000.0f << "10000000.0";
    QTest::newRow("negative million") << -1000000.0f << "-1000000.0";
}

void DimensionFieldTest::showsThreeDecimalsAtMostTenCharacters() {
    QFETCH(float, value);
    QFETCH(QString, text);
    QCOMPARE(FieldDisplayText(value), text);
}

void DimensionFieldTest::keyFilterKeepsOneMinusAndOnePoint_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("second point") << "1.2.3"
                                  << "1.23";
    QTest::newRow("second minus") << "-1-2"
                                  << "-12";
    QTest::newRow("minus after digits") << "5-"
                                        << "5-";
    QTest::newRow("letters and blanks") << "a1 b+2,e3"
                                        << "123";
    QTest::newRow("only punctuation") << "-.-."
                                      << "-.";
}

void DimensionFieldTest::keyFilterKeepsOneMinusAndOnePoint() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    FieldWindow w;
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    w.first->ShowValue(0.0f);
    dimtest::ClickAndRetype(w.first, typed);
    QCOMPARE(w.first->text(), shown);
}

void DimensionFieldTest::typedFlagFollowsAcceptedKeys() {
    FieldWindow w;
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    w.first->ShowValue(2.0f);
    w.plain->ShowValue(2.0f);
    QTest::mouseClick(w.first, Qt::LeftButton, Qt::NoModifier, QPoint(20, 6));
    QTest::keyClick(w.first, Qt::Key_End);

    QTest::keyClicks(w.first, QStringLiteral("xyz"));
    QTest::keyClick(w.first, Qt::Key_Left);
    QTest::keyClick(w.first, Qt::Key_Right);
    QVERIFY(!w.state->TypedFlag); // discarded and moving keys
    QTest::keyClick(w.first, '7');
    QVERIFY(w.state->TypedFlag);

    w.state->TypedFlag = false;
    QTest::keyClick(w.first, '.'); // discarded (the text has a point) but accepted first
    QVERIFY(w.state->TypedFlag);
    QCOMPARE(w.first->text(), QStringLiteral("2.0007"));

    w.state->TypedFlag = false;
    QTest::keyClick(w.first, Qt::Key_Backspace);
    QVERIFY(w.state->TypedFlag);
    w.state->TypedFlag = false;
    QTest::keyClick(w.first, Qt::Key_Home);
    QTest::keyClick(w.first, Qt::Key_Delete);
    QVERIFY(w.state->TypedFlag);
    QCOMPARE(w.first->text(), QStringLiteral(".000"));

    // A field without a dimension id never sets the flag.
    w.state->TypedFlag = false;
    QTest::mouseClick(w.plain, Qt::LeftButton, Qt::NoModifier, QPoint(20, 6));
    QTest::keyClick(w.plain, Qt::Key_End);
    QTest::keyClicks(w.plain, QStringLiteral("12"));
    QTest::keyClick(w.plain, Qt::Key_Backspace);
    QVERIFY(!w.state->TypedFlag);
    QCOMPARE(w.plain->text(), QStringLiteral("2.0001"));
}

void DimensionFieldTest::enterMovesFocusAndLeavesOnce() {
    FieldWindow w;
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    QSignalSpy left(w.first, &DimensionField::Left);
    w.state->TypedFlag = false;
    dimtest::ClickAndRetype(w.first, QStringLiteral("4"));
    QTest::keyClick(w.first, Qt::Key_Return);
    QCOMPARE(left.count(), 1);
    QVERIFY(w.close->hasFocus());
    QCOMPARE(w.first->text(), QStringLiteral("4")); // Enter itself is not inserted
    QVERIFY(w.state->TypedFlag);                    // Enter is an accepted key
    // The keypad's Enter works alike.
    QTest::mouseClick(w.second, Qt::LeftButton, Qt::NoModifier, QPoint(20, 6));
    QSignalSpy leftSecond(w.second, &DimensionField::Left);
    QTest::keyClick(w.second, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(leftSecond.count(), 1);
    QVERIFY(w.close->hasFocus());
}

void DimensionFieldTest::leavingByTabOrClick() {
    FieldWindow w;
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    QSignalSpy firstLeft(w.first, &DimensionField::Left);
    QSignalSpy secondLeft(w.second, &DimensionField::Left);
    QTest::mouseClick(w.first, Qt::LeftButton, Qt::NoModifier, QPoint(20, 6));
    QCOMPARE(firstLeft.count(), 0);
    QTest::keyClick(w.first, Qt::Key_Tab);
    QCOMPARE(firstLeft.count(), 1);
    QVERIFY(w.second->hasFocus());
    QTest::mouseClick(w.close, Qt::LeftButton);
    QCOMPARE(secondLeft.count(), 1);
    // LeaveNow on a field already left does nothing.
    w.second->LeaveNow();
    QCOMPARE(secondLeft.count(), 1);
}

void DimensionFieldTest::anotherWindowDoesNotLeaveTheField() {
    FieldWindow w;
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    QTest::mouseClick(w.first, Qt::LeftButton, Qt::NoModifier, QPoint(20, 6));
    QVERIFY(w.first->hasFocus());
    QSignalSpy left(w.first, &DimensionField::Left);
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QCOMPARE(left.count(), 0);
    w.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    QCOMPARE(left.count(), 0);
    QTest::keyClick(w.first, Qt::Key_Tab);
    QCOMPARE(left.count(), 1);
}

void DimensionFieldTest::pasteIsRefused() {
    FieldWindow w;
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    QGuiApplication::clipboard()->setText(QStringLiteral("abc-1e9"));
    w.first->ShowValue(1.0f);
    QTest::mouseClick(w.first, Qt::LeftButton, Qt::NoModifier, QPoint(20, 6));
    w.state->TypedFlag = false;
    QTest::keyClick(w.first, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(w.first, Qt::Key_Insert, Qt::ShiftModifier);
    QTest::mouseClick(w.first, Qt::MiddleButton, Qt::NoModifier, QPoint(20, 6));
    QCOMPARE(w.first->text(), QStringLiteral("1.000"));
    // Neither can the edit's own undo bring back text behind the filter.
    QTest::keyClick(w.first, Qt::Key_End);
    QTest::keyClick(w.first, '5');
    QTest::keyClick(w.first, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w.first->text(), QStringLiteral("1.0005"));
    QCOMPARE(w.first->contextMenuPolicy(), Qt::NoContextMenu);
    QVERIFY(!w.first->acceptDrops());
}

void DimensionFieldTest::valueOfATruncatedText() {
    FieldWindow w;
    // A value whose integer part alone fills ten characters: the cut text
    // stands for the whole value as long as nobody edits it.
    w.first->ShowValue(12345678848.0f);
    QCOMPARE(w.first->text(), QStringLiteral("1234567884"));
    QCOMPARE(w.first->Value(), 12345678848.0f);
    w.first->setText(QStringLiteral("123"));
    QCOMPARE(w.first->Value(), 123.0f);
    w.first->ShowValue(1.23456f);
    QCOMPARE(w.first->Value(), 1.235f);
}

int main(int argc, char** argv) {
    return dimtest::Run<DimensionFieldTest>(argc, argv);
}

#include "dimensions_field_test.moc"
