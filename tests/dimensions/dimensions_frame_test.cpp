// SPDX-License-Identifier: GPL-3.0-or-later
// The frame and Baker assembly dimensions dialog driven as a user would:
// typing, leaving fields, the two resets, the small buttons and "Close".

#include "dimensions/dimension_dialogs.h"
#include "dimensions_support.h"
#include "model/dimensions.h"
#include "model/dyn_vars.h"
#include "model/mid_gear.h"
#include "model/model.h"

#include <QTimer>

#include <cmath>
#include <memory>

namespace {

struct Fixture {
    kes::Model model;
    RecordingLink link;
    std::unique_ptr<FrameDimensionsDialog> dialog;

    explicit Fixture(bool show = true) {
        kes::InitialiseModel(model);
        dialog = std::make_unique<FrameDimensionsDialog>(model, link);
        if (show) Show();
    }
    bool Show() {
        dialog->show();
        return QTest::qWaitForWindowActive(dialog.get());
    }
    DimensionField* Edit(int n) const { return dialog->Field(n); }
    QPushButton* Button(const char* name) const {
        return dialog->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    // Types into field n and leaves it with Enter.
    void Enter(int n, const QString& text) {
        dimtest::ClickAndRetype(Edit(n), text);
        QTest::keyClick(Edit(n), Qt::Key_Return);
    }
};

} // namespace

class FrameDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { dimtest::QuietSizeHints(); }
    void showsEveryValueFormatted();
    void showsOnlyTheFirstTenCharacters();
    void typedValueWithEnterMakesOneUndoEntry();
    void leavingWithoutTypingRoundsAndSelects();
    void minusIntoNegativeFieldIsDiscarded();
    void incompleteNumbersStoreTheirLeadingNumber_data();
    void incompleteNumbersStoreTheirLeadingNumber();
    void pivotFieldsKeepTheirCopies_data();
    void pivotFieldsKeepTheirCopies();
    void fiveEditsKeepFourDynamicVariables();
    void revArmNormAboveMaxIsSetBack();
    void revArmMaxBelowNormIsRaised();
    void revArmFieldsTakeNoUndoNorSlot();
    void resetBakerAssyLeavesTheFrameAlone();
    void resetFrameRestoresTheLeftColumnAndRange();
    void resetByKeyboardClearsUndo();
    void smallButtonsSetTheHighlight();
    void closeFindsMidGearAndCentresTheBar();
    void windowCloseButtonWorksLikeClose();
    void escapeDoesNotClose();
    void closedFromOutsideKeepsTheTypedValue();
    void highlightModeClosesAndReopens();
};

void FrameDialogTest::showsEveryValueFormatted() {
    Fixture f;
    QCOMPARE(f.Edit(1)->text(), QStringLiteral("9.000"));
    QCOMPARE(f.Edit(3)->text(), QStringLiteral("16.750"));
    QCOMPARE(f.Edit(14)->text(), QStringLiteral("5.000"));
    QCOMPARE(f.Edit(15)->text(), QStringLiteral("13.875"));
    QCOMPARE(f.Edit(19)->text(), QStringLiteral("2.961"));
    QCOMPARE(f.Edit(27)->text(), QStringLiteral("0.891"));
    QCOMPARE(f.Edit(29)->text(), QStringLiteral("1.500"));
    QCOMPARE(f.Edit(30)->text(), QStringLiteral("1.700"));
    for (int n = 1; n <= 28; ++n)
        QCOMPARE(f.Edit(n)->text(), FieldDisplayText(kes::GetDimension(f.model, n)));
    QVERIFY(f.Button("Close1")->hasFocus());

    // Every showing reads the values again.
    f.dialog->hide();
    f.model.Frame.DropLinkBackSet = -0.5f;
    QVERIFY(f.Show());
    QCOMPARE(f.Edit(5)->text(), QStringLiteral("-0.500"));
}

void FrameDialogTest::showsOnlyTheFirstTenCharacters() {
    Fixture f(false);
    f.model.Frame.EccRodLength = 1000000.0f;
    f.model.Frame.ValveRodLength = 12345678848.0f;
    QVERIFY(f.Show());
    QCOMPARE(f.Edit(13)->text(), QStringLiteral("1000000.00"));
    QCOMPARE(f.Edit(10)->text(), QStringLiteral("1234567884"));
    // Passing through both fields keeps the values.
    QTest::mouseClick(f.Edit(10), Qt::LeftButton);
    QTest::keyClick(f.Edit(10), Qt::Key_Tab);
    QTest::keyClick(f.Edit(11), Qt::Key_Tab);
    QTest::keyClick(f.Edit(12), Qt::Key_Tab);
    QTest::keyClick(f.Edit(13), Qt::Key_Tab);
    QCOMPARE(f.model.Frame.EccRodLength, 1000000.0f);
    QCOMPARE(f.model.Frame.ValveRodLength, 12345678848.0f);
    QCOMPARE(f.model.UndoCount, 0);
}

void FrameDialogTest::typedValueWithEnterMakesOneUndoEntry() {
    Fixture f;
    f.Enter(3, QStringLiteral("17.5"));
    QVERIFY(f.Button("Close1")->hasFocus());
    QCOMPARE(f.model.Frame.MainRodLength, 17.5f);
    QCOMPARE(f.model.UndoCount, 1);
    const kes::UndoEntry& e = f.model.UndoRecord[1];
    QCOMPARE(e.Id, 3);
    QCOMPARE(e.Before, 16.75f);
    QCOMPARE(e.After, 17.5f);
    QCOMPARE(e.Name, std::string("Main Rod Length"));
    QVERIFY(f.model.UndoButtonsEnabled);
    QCOMPARE(f.link.UndoRefreshes, 1);
    QCOMPARE(f.model.DynVarSlots[1].Id, 3);
    QCOMPARE(f.model.DynVarSlots[1].Value, 17.5f);
    QVERIFY(!f.dialog->FieldState()->TypedFlag);
    QVERIFY(f.dialog->isVisible()); // Enter only moves the focus
}

void FrameDialogTest::leavingWithoutTypingRoundsAndSelects() {
    Fixture f(false);
    f.model.Frame.MainRodLength = 1.23456f;
    QVERIFY(f.Show());
    QTest::mouseClick(f.Edit(3), Qt::LeftButton);
    QTest::keyClick(f.Edit(3), Qt::Key_Tab);
    QVERIFY(f.Edit(4)->hasFocus());
    QCOMPARE(f.model.Frame.MainRodLength, 1.235f);
    QCOMPARE(f.model.UndoCount, 0);
    QCOMPARE(f.link.UndoRefreshes, 0);
    QCOMPARE(f.model.DynVarSlots[1].Id, 3);
    QCOMPARE(f.model.DynVarSlots[1].Name, std::string("Main Rod Length"));
}

void FrameDialogTest::minusIntoNegativeFieldIsDiscarded() {
    Fixture f(false);
    f.model.Frame.DropLinkBackSet = -5.0f;
    QVERIFY(f.Show());
    QTest::mouseClick(f.Edit(5), Qt::LeftButton);
    QTest::keyClick(f.Edit(5), Qt::Key_End);
    QTest::keyClick(f.Edit(5), '-');
    QCOMPARE(f.Edit(5)->text(), QStringLiteral("-5.000"));
    QTest::keyClick(f.Edit(5), Qt::Key_Return);
    QCOMPARE(f.model.Frame.DropLinkBackSet, -5.0f);
    // With the whole text selected the minus replaces it, so it counts as the first.
    QTest::mouseClick(f.Edit(5), Qt::LeftButton);
    QTest::keyClick(f.Edit(5), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(f.Edit(5), QStringLiteral("-2"));
    QCOMPARE(f.Edit(5)->text(), QStringLiteral("-2"));
}

void FrameDialogTest::incompleteNumbersStoreTheirLeadingNumber_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<float>("stored");
    QTest::newRow("minus") << "-" << 0.0f;
    QTest::newRow("point") << "." << 0.0f;
    QTest::newRow("minus point") << "-." << 0.0f;
    QTest::newRow("trailing minus") << "5-" << 5.0f;
    QTest::newRow("minus inside") << "2.5-1" << 2.5f;
    QTest::newRow("nothing") << "" << 0.0f;
}

void FrameDialogTest::incompleteNumbersStoreTheirLeadingNumber() {
    QFETCH(QString, typed);
    QFETCH(float, stored);
    Fixture f;
    f.Enter(6, typed);
    QVERIFY(std::isfinite(f.model.Frame.UnionLinkLength));
    QCOMPARE(f.model.Frame.UnionLinkLength, stored);
    QCOMPARE(f.model.UndoRecord[1].After, stored);
    QCOMPARE(f.model.UndoRecord[1].Before, 2.65f);
}

void FrameDialogTest::pivotFieldsKeepTheirCopies_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("point");
    QTest::addColumn<int>("copy");
    QTest::addColumn<bool>("isY");
    QTest::newRow("rev arm pivot vert")
        << 18 << int(kes::RevArmPivot) << int(kes::RevArmPivotCopy) << true;
    QTest::newRow("rev arm pivot horz")
        << 19 << int(kes::RevArmPivot) << int(kes::RevArmPivotCopy) << false;
    QTest::newRow("bell crank pivot vert")
        << 27 << int(kes::BellCrankPivot) << int(kes::BellCrankPivotCopy) << true;
    QTest::newRow("bell crank pivot horz")
        << 28 << int(kes::BellCrankPivot) << int(kes::BellCrankPivotCopy) << false;
    QTest::newRow("gear mount vert") << 14 << int(kes::GearMount) << int(kes::GearMount) << true;
}

void FrameDialogTest::pivotFieldsKeepTheirCopies() {
    QFETCH(int, field);
    QFETCH(int, point);
    QFETCH(int, copy);
    QFETCH(bool, isY);
    Fixture f;
    f.Enter(field, QStringLiteral("2.5"));
    const kes::PointSlot& p = f.model.Points[static_cast<size_t>(point)];
    const kes::PointSlot& c = f.model.Points[static_cast<size_t>(copy)];
    QCOMPARE(isY ? p.Y : p.X, 2.5f);
    QCOMPARE(c.X, p.X);
    QCOMPARE(c.Y, p.Y);
    QCOMPARE(f.model.UndoRecord[1].Name, std::string(kes::DimensionName(field)));
}

void FrameDialogTest::fiveEditsKeepFourDynamicVariables() {
    Fixture f;
    for (int n : {1, 2, 3, 4, 2, 5})
        f.Enter(n, QStringLiteral("3"));
    // 2 was edited twice and kept its slot; 1 dropped out when 5 came.
    QCOMPARE(f.model.DynVarSlots[1].Id, 5);
    QCOMPARE(f.model.DynVarSlots[2].Id, 4);
    QCOMPARE(f.model.DynVarSlots[3].Id, 3);
    QCOMPARE(f.model.DynVarSlots[4].Id, 2);
    // The second "3" into field 2 changed nothing and recorded nothing.
    QCOMPARE(f.model.UndoCount, 5);
}

void FrameDialogTest::revArmNormAboveMaxIsSetBack() {
    Fixture f;
    const float mid = f.model.MidGear();
    f.model.RevArmPositions[4] = 0.0f;
    f.model.RevArmPositions[5] = mid + 3.0f;
    f.model.RevArmPositions[6] = mid - 3.0f;
    f.model.RevArmPositions[7] = mid + 0.25f;
    f.Enter(29, QStringLiteral("2.0"));
    QCOMPARE(f.model.Frame.RevArmNorm, 1.7f);
    QCOMPARE(f.model.RevArmPositions[4], 0.0f); // a position of 0 stays
    QCOMPARE(f.model.RevArmPositions[5], mid + 1.7f);
    QCOMPARE(f.model.RevArmPositions[6], mid - 1.7f);
    QCOMPARE(f.model.RevArmPositions[7], mid + 0.25f);

    // At or below the maximum nothing else moves.
    f.model.RevArmPositions[5] = mid + 3.0f;
    f.Enter(29, QStringLiteral("1.2"));
    QCOMPARE(f.model.Frame.RevArmNorm, 1.2f);
    QCOMPARE(f.model.RevArmPositions[5], mid + 3.0f);
    QCOMPARE(f.link.RangeCalls, 0);
}

void FrameDialogTest::revArmMaxBelowNormIsRaised() {
    Fixture f;
    const float mid = f.model.MidGear();
    f.model.RevArmPositions[4] = 0.0f;
    f.model.RevArmPositions[5] = mid + 3.0f;
    f.model.RevArmPositions[6] = mid + 0.5f;
    f.Enter(30, QStringLiteral("1"));
    QCOMPARE(f.model.Frame.RevArmMax, 1.5f);
    QCOMPARE(f.model.RevArmPositions[4], mid - 1.5f); // 0 is brought in too
    QCOMPARE(f.model.RevArmPositions[9], mid - 1.5f);
    QCOMPARE(f.model.RevArmPositions[5], mid + 1.5f);
    QCOMPARE(f.model.RevArmPositions[6], mid + 0.5f);
    QCOMPARE(f.model.RevArmPositionCount, 9);
    QCOMPARE(f.model.RevArmBarMax, 1500);
    QCOMPARE(f.model.RevArmBarMin, -1500);
    QCOMPARE(f.link.RangeCalls, 1);

    // A larger maximum only sets the bar's range.
    f.model.RevArmPositions[4] = 0.0f;
    f.Enter(30, QStringLiteral("2.25"));
    QCOMPARE(f.model.Frame.RevArmMax, 2.25f);
    QCOMPARE(f.model.RevArmPositions[4], 0.0f);
    QCOMPARE(f.model.RevArmBarMax, 2250);
    QCOMPARE(f.model.RevArmBarMin, -2250);
    QCOMPARE(f.link.RangeCalls, 2);
}

void FrameDialogTest::revArmFieldsTakeNoUndoNorSlot() {
    Fixture f;
    f.Enter(29, QStringLiteral("1.1"));
    f.Enter(30, QStringLiteral("1.9"));
    QCOMPARE(f.model.UndoCount, 0);
    QCOMPARE(f.model.DynVarSlots[1].Id, 0);
    QVERIFY(!f.dialog->FieldState()->TypedFlag);
    // Typing there does not make the next field's pass-through an edit.
    QTest::mouseClick(f.Edit(29), Qt::LeftButton);
    QTest::keyClicks(f.Edit(29), QStringLiteral("5"));
    QTest::mouseClick(f.Edit(3), Qt::LeftButton);
    QTest::keyClick(f.Edit(3), Qt::Key_Tab);
    QCOMPARE(f.model.UndoCount, 0);
    QCOMPARE(f.model.DynVarSlots[1].Id, 3);
}

void FrameDialogTest::resetBakerAssyLeavesTheFrameAlone() {
    Fixture f;
    f.Enter(1, QStringLiteral("10"));
    f.Enter(29, QStringLiteral("1.25"));
    f.Enter(30, QStringLiteral("2"));
    f.Enter(19, QStringLiteral("3.5"));
    f.Enter(27, QStringLiteral("1.5"));
    f.Enter(21, QStringLiteral("2"));
    QCOMPARE(f.model.UndoCount, 4);
    const int rangeCalls = f.link.RangeCalls;

    QPushButton* resetBa = f.Button("ResetBakerAssy");
    QTest::mousePress(resetBa, Qt::LeftButton);
    // The mouse-down: the group and the fields restored, the slots emptied,
    // the undo record kept.
    QCOMPARE(f.model.Points[kes::RevArmPivot].X, 2.961f);
    QCOMPARE(f.model.Points[kes::BellCrankPivot].Y, 0.891f);
    QCOMPARE(f.model.Baker.GearConRodUpper, 1.844f);
    QCOMPARE(f.Edit(19)->text(), QStringLiteral("2.961"));
    QCOMPARE(f.Edit(21)->text(), QStringLiteral("1.844"));
    QCOMPARE(f.model.DynVarSlots[1].Id, 0);
    QCOMPARE(f.model.UndoCount, 4);
    QCOMPARE(f.link.RangeCalls, rangeCalls + 1);
    QTest::mouseRelease(resetBa, Qt::LeftButton);
    // The click: also the undo record.
    QCOMPARE(f.model.UndoCount, 0);
    QVERIFY(!f.model.UndoButtonsEnabled);
    QCOMPARE(f.link.RangeCalls, rangeCalls + 2);

    for (int p : {int(kes::RevArmPivot), int(kes::BellCrankPivot)}) {
        const int copy = p == kes::RevArmPivot ? kes::RevArmPivotCopy : kes::BellCrankPivotCopy;
        QCOMPARE(f.model.Points[static_cast<size_t>(copy)].X,
                 f.model.Points[static_cast<size_t>(p)].X);
        QCOMPARE(f.model.Points[static_cast<size_t>(copy)].Y,
                 f.model.Points[static_cast<size_t>(p)].Y);
    }
    // The left column and fields 29 and 30 are untouched.
    QCOMPARE(f.model.Frame.DriverDiameter, 10.0f);
    QCOMPARE(f.model.Frame.RevArmNorm, 1.25f);
    QCOMPARE(f.model.Frame.RevArmMax, 2.0f);
    QCOMPARE(f.Edit(1)->text(), QStringLiteral("10.000"));
    QCOMPARE(f.Edit(30)->text(), QStringLiteral("2.000"));
}

void FrameDialogTest::resetFrameRestoresTheLeftColumnAndRange() {
    Fixture f;
    f.Enter(2, QStringLiteral("4"));
    f.Enter(15, QStringLiteral("14"));
    f.Enter(26, QStringLiteral("2.5"));
    f.Enter(30, QStringLiteral("3"));
    QCOMPARE(f.model.RevArmBarMax, 3000);

    QTest::mouseClick(f.Button("ResetFrame"), Qt::LeftButton);
    QCOMPARE(f.model.Frame.StrokeLength, 3.5f);
    QCOMPARE(f.model.Points[kes::GearMount].X, 13.875f);
    QCOMPARE(f.model.Frame.RevArmMax, 1.7f);
    QCOMPARE(f.model.RevArmBarMax, 1700);
    QCOMPARE(f.model.RevArmBarMin, -1700);
    QCOMPARE(f.model.Baker.BellCrankHorz, 2.5f); // the right column stays
    QCOMPARE(f.Edit(2)->text(), QStringLiteral("3.500"));
    QCOMPARE(f.Edit(30)->text(), QStringLiteral("1.700"));
    QCOMPARE(f.model.UndoCount, 0);
    QCOMPARE(f.model.DynVarSlots[1].Id, 0);
    QCOMPARE(f.model.DynVarSlots[1].Name, kes::EmptySlotName);
}

void FrameDialogTest::resetByKeyboardClearsUndo() {
    Fixture f;
    f.Enter(4, QStringLiteral("2"));
    QCOMPARE(f.model.UndoCount, 1);
    QPushButton* resetFd = f.Button("ResetFrame");
    resetFd->setFocus();
    QTest::keyClick(resetFd, Qt::Key_Space);
    QCOMPARE(f.model.Frame.DropLinkVert, 1.0f);
    QCOMPARE(f.model.UndoCount, 0);
    QVERIFY(f.link.UndoRefreshes >= 2);
}

void FrameDialogTest::smallButtonsSetTheHighlight() {
    Fixture f;
    for (int n : {1, 7, 28, 29, 30}) {
        QTest::mouseClick(f.dialog->SmallButton(n), Qt::LeftButton);
        QCOMPARE(f.model.HighlightedDimension, n);
        QVERIFY(f.dialog->isVisible());
    }
    // A typed value is taken before the button acts.
    dimtest::ClickAndRetype(f.Edit(9), QStringLiteral("4.5"));
    QTest::mouseClick(f.dialog->SmallButton(9), Qt::LeftButton);
    QCOMPARE(f.model.Frame.CombLeverLower, 4.5f);
    QCOMPARE(f.model.UndoCount, 1);
    QCOMPARE(f.model.HighlightedDimension, 9);
}

void FrameDialogTest::closeFindsMidGearAndCentresTheBar() {
    Fixture f;
    f.model.CutOffFrontText = "12.5";
    f.model.CutOffRearText = "13.0";
    const float oldMid = f.model.MidGear();
    f.Enter(19, QStringLiteral("3.2"));  // moves the reverse-arm pivot
    QCOMPARE(f.model.MidGear(), oldMid); // not before "Close"
    QTest::mouseClick(f.Button("Close1"), Qt::LeftButton);
    QVERIFY(!f.dialog->isVisible());
    QCOMPARE(f.dialog->result(), int(QDialog::Accepted));
    QVERIFY(f.model.MidGear() != oldMid);
    kes::Model expected = f.model;
    kes::FindMidGear(expected);
    QCOMPARE(f.model.MidGear(), expected.MidGear());
    QCOMPARE(f.model.RevArmSetting, f.model.MidGear());
    QCOMPARE(f.link.Positions, QVector<int>{0});
    QVERIFY(f.model.CutOffFrontText.empty());
    QVERIFY(f.model.CutOffRearText.empty());
}

void FrameDialogTest::windowCloseButtonWorksLikeClose() {
    Fixture f;
    dimtest::ClickAndRetype(f.Edit(11), QStringLiteral("2.1"));
    f.dialog->close();
    QVERIFY(!f.dialog->isVisible());
    QCOMPARE(f.model.Frame.EccCrankLength, 2.1f); // the field was left first
    QCOMPARE(f.model.UndoCount, 1);
    QCOMPARE(f.link.Positions, QVector<int>{0});
}

void FrameDialogTest::escapeDoesNotClose() {
    Fixture f;
    QTest::keyClick(f.Button("Close1"), Qt::Key_Escape);
    QVERIFY(f.dialog->isVisible());
    QTest::mouseClick(f.Edit(1), Qt::LeftButton);
    QTest::keyClick(f.Edit(1), Qt::Key_Escape);
    QVERIFY(f.dialog->isVisible());
    QVERIFY(f.link.Positions.isEmpty());
}

void FrameDialogTest::closedFromOutsideKeepsTheTypedValue() {
    Fixture f;
    const float setting = f.model.RevArmSetting = f.model.MidGear() + 0.5f;
    dimtest::ClickAndRetype(f.Edit(12), QStringLiteral("2.5"));
    f.dialog->done(QDialog::Rejected);
    QVERIFY(!f.dialog->isVisible());
    QCOMPARE(f.model.Frame.EccCircleDiameter, 2.5f);
    QCOMPARE(f.model.UndoCount, 1);
    // Not the work of "Close".
    QVERIFY(f.link.Positions.isEmpty());
    QCOMPARE(f.model.RevArmSetting, setting);
    // Shown again, the focus is on "Close" and no field is left twice.
    f.model.Frame.EccCircleDiameter = 2.75f;
    QVERIFY(f.Show());
    QVERIFY(f.Button("Close1")->hasFocus());
    QCOMPARE(f.Edit(12)->text(), QStringLiteral("2.750"));
    QCOMPARE(f.model.UndoCount, 1);
    QCOMPARE(f.model.Frame.EccCircleDiameter, 2.75f);
}

void FrameDialogTest::highlightModeClosesAndReopens() {
    // The main window's part, played here: at its next drawing after a small
    // button it closes the dialog, shows the dimension for a while, restores
    // the view and opens the dialog again.
    kes::Model model;
    kes::InitialiseModel(model);
    RecordingLink link;
    QWidget mainWindow;
    const DimensionDialogs dialogs = CreateDimensionDialogs(model, link, &mainWindow);
    QCOMPARE(dialogs.Frame->FieldState(), dialogs.Cylinder->FieldState());

    int highlighted = 0;
    bool refocused = false;
    QString reshownText;
    QTimer drawing;
    drawing.setInterval(1);
    QObject::connect(&drawing, &QTimer::timeout, [&] {
        if (model.HighlightedDimension > 0 && model.HighlightedDimension < 100 &&
            dialogs.Frame->isVisible()) {
            highlighted = model.HighlightedDimension;
            dialogs.Frame->done(QDialog::Rejected);
        }
    });
    drawing.start();

    QTimer::singleShot(0, dialogs.Frame, [&] {
        QVERIFY(QTest::qWaitForWindowActive(dialogs.Frame));
        QTest::mouseClick(dialogs.Frame->SmallButton(13), Qt::LeftButton);
    });
    dialogs.Frame->exec();
    QCOMPARE(highlighted, 13);
    QVERIFY(!dialogs.Frame->isVisible());

    // The highlight ends; the dimension changed meanwhile; the dialog reopens.
    model.HighlightedDimension = 0;
    model.Frame.EccRodLength = 12.25f;
    QTimer::singleShot(0, dialogs.Frame, [&] {
        QVERIFY(QTest::qWaitForWindowActive(dialogs.Frame));
        refocused = dialogs.Frame->CloseButton()->hasFocus();
        reshownText = dialogs.Frame->Field(13)->text();
        QTest::mouseClick(dialogs.Frame->CloseButton(), Qt::LeftButton);
    });
    QCOMPARE(dialogs.Frame->exec(), int(QDialog::Accepted));
    QVERIFY(refocused);
    QCOMPARE(reshownText, QStringLiteral("12.250"));
    QCOMPARE(link.Positions, QVector<int>{0});
}

int main(int argc, char** argv) {
    return dimtest::Run<FrameDialogTest>(argc, argv);
}

#include "dimensions_frame_test.moc"
