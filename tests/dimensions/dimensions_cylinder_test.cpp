// SPDX-License-Identifier: GPL-3.0-or-later
// The cylinder dimensions dialog driven as a user would: its fields, the
// valve-stem joint, "ResetCylDim", the small buttons and "Close".

#include "dimensions/dimension_dialogs.h"
#include "dimensions_support.h"
#include "model/dimensions.h"
#include "model/model.h"

#include <QTimer>

#include <memory>

namespace {

struct Fixture {
    kes::Model model;
    RecordingLink link;
    std::unique_ptr<CylinderDimensionsDialog> dialog;

    explicit Fixture(bool show = true) {
        kes::InitialiseModel(model);
        dialog = std::make_unique<CylinderDimensionsDialog>(model, link);
        if (show) Show();
    }
    bool Show() {
        dialog->show();
        return QTest::qWaitForWindowActive(dialog.get());
    }
    DimensionField* Edit(int n) const { return dialog->Field(n); }
    void Enter(int n, const QString& text) {
        dimtest::ClickAndRetype(Edit(n), text);
        QTest::keyClick(Edit(n), Qt::Key_Return);
    }
};

} // namespace

class CylinderDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { dimtest::QuietSizeHints(); }
    void showsEveryValueFormatted();
    void everyFieldEditsItsDimension();
    void valveStemJointFollowsFieldsTwoAndNine();
    void fieldTwentyTwoSelectsValveStem();
    void passingThroughMakesNoUndoEntry();
    void resetRestoresSpareAndLeavesTheBar();
    void resetMouseDownKeepsUndo();
    void smallButtonsSetTheHighlight();
    void closeFindsMidGear();
    void typedFlagIsSharedWithTheFrameDialog();
    void highlightModeClosesAndReopens();
};

void CylinderDialogTest::showsEveryValueFormatted() {
    Fixture f;
    QCOMPARE(f.Edit(1)->text(), QStringLiteral("24.624"));
    QCOMPARE(f.Edit(2)->text(), QStringLiteral("0.000"));
    QCOMPARE(f.Edit(10)->text(), QStringLiteral("0.562")); // 0.5625, ties of the printout
    QCOMPARE(f.Edit(12)->text(), QStringLiteral("0.281"));
    QCOMPARE(f.Edit(22)->text(), QStringLiteral("5.695"));
    for (int n = 1; n <= 22; ++n)
        QCOMPARE(f.Edit(n)->text(), FieldDisplayText(kes::GetDimension(f.model, 100 + n)));
    QVERIFY(f.dialog->CloseButton()->hasFocus());
}

void CylinderDialogTest::everyFieldEditsItsDimension() {
    Fixture f;
    for (int n = 1; n <= 22; ++n) {
        const QString typed = QString::number(n) + QStringLiteral(".25");
        f.Enter(n, typed);
        QCOMPARE(kes::GetDimension(f.model, 100 + n), typed.toFloat());
        QCOMPARE(f.model.UndoRecord[1].Id, 100 + n);
        QCOMPARE(f.model.UndoRecord[1].Name, std::string(kes::DimensionName(100 + n)));
        QCOMPARE(f.model.DynVarSlots[1].Id, 100 + n);
    }
    QCOMPARE(f.model.UndoCount, 20); // the record holds twenty
    QCOMPARE(f.model.Cylinder[kes::CylSpare], 0.0f);
    // The rear and front halves sit apart in the array.
    QCOMPARE(f.model.Cylinder[kes::BridgeWidthFront], 12.25f);
    QCOMPARE(f.model.Cylinder[kes::SteamPortWidthRear], 13.25f);
    QCOMPARE(f.model.Cylinder[kes::ExhCavityFront], 21.25f);
}

void CylinderDialogTest::valveStemJointFollowsFieldsTwoAndNine() {
    Fixture f;
    f.Enter(9, QStringLiteral("3.25"));
    QCOMPARE(f.model.Cylinder[kes::ValveStemToCylCL], 3.25f);
    QCOMPARE(f.model.Points[kes::ValveStemJoint].Y, 3.25f);
    f.Enter(2, QStringLiteral("-0.5"));
    QCOMPARE(f.model.Points[kes::Crosshead].Y, -0.5f);
    QCOMPARE(f.model.Points[kes::ValveStemJoint].Y, 2.75f);
    // Passing through field 9 with a value that needs rounding.
    f.model.Cylinder[kes::ValveStemToCylCL] = 3.12345f;
    f.dialog->FormActivate();
    QTest::mouseClick(f.Edit(9), Qt::LeftButton);
    QTest::keyClick(f.Edit(9), Qt::Key_Tab);
    QCOMPARE(f.model.Points[kes::ValveStemJoint].Y, -0.5f + 3.123f);
}

void CylinderDialogTest::fieldTwentyTwoSelectsValveStem() {
    Fixture f;
    QTest::mouseClick(f.Edit(22), Qt::LeftButton);
    QTest::keyClick(f.Edit(22), Qt::Key_Return);
    QCOMPARE(f.model.DynVarSlots[1].Id, 122);
    QCOMPARE(f.model.DynVarSlots[1].Name, std::string("Valve Stem"));
    QCOMPARE(f.model.DynVarSlots[1].Value, 5.695f);
}

void CylinderDialogTest::passingThroughMakesNoUndoEntry() {
    Fixture f;
    QTest::mouseClick(f.Edit(13), Qt::LeftButton);
    for (int n = 13; n < 22; ++n)
        QTest::keyClick(f.Edit(n), Qt::Key_Tab);
    QCOMPARE(f.model.UndoCount, 0);
    QCOMPARE(f.model.DynVarSlots[1].Id, 121);
    QCOMPARE(f.model.DynVarSlots[4].Id, 118);
}

void CylinderDialogTest::resetRestoresSpareAndLeavesTheBar() {
    Fixture f;
    f.Enter(2, QStringLiteral("1"));
    f.Enter(9, QStringLiteral("4"));
    f.Enter(1, QStringLiteral("30"));
    f.model.Cylinder[kes::CylSpare] = 7.0f; // as a foreign file might leave it
    f.model.RevArmBarMax = 1234;
    f.model.RevArmBarMin = -1234;
    QTest::mouseClick(f.dialog->Reset1(), Qt::LeftButton);
    QCOMPARE(f.model.Cylinder, f.model.CylinderFactory);
    QCOMPARE(f.model.Cylinder[kes::CylSpare], 0.0f);
    QCOMPARE(f.model.Points[kes::Crosshead].Y, 0.0f);
    QCOMPARE(f.model.Points[kes::ValveStemJoint].Y, 3.0f);
    QCOMPARE(f.Edit(1)->text(), QStringLiteral("24.624"));
    QCOMPARE(f.Edit(2)->text(), QStringLiteral("0.000"));
    QCOMPARE(f.model.UndoCount, 0);
    QCOMPARE(f.model.DynVarSlots[1].Id, 0);
    QCOMPARE(f.model.RevArmBarMax, 1234);
    QCOMPARE(f.model.RevArmBarMin, -1234);
    QCOMPARE(f.link.RangeCalls, 0);
}

void CylinderDialogTest::resetMouseDownKeepsUndo() {
    Fixture f;
    f.Enter(3, QStringLiteral("3"));
    QTest::mousePress(f.dialog->Reset1(), Qt::LeftButton);
    QCOMPARE(f.model.Cylinder[kes::BoreDiameter], 2.5f);
    QCOMPARE(f.Edit(3)->text(), QStringLiteral("2.500"));
    QCOMPARE(f.model.UndoCount, 1);
    QCOMPARE(f.model.DynVarSlots[1].Id, 0);
    // Released off the button: no click, the record stays.
    QTest::mouseRelease(f.dialog->Reset1(), Qt::LeftButton, Qt::NoModifier, QPoint(-20, -20));
    QCOMPARE(f.model.UndoCount, 1);
}

void CylinderDialogTest::smallButtonsSetTheHighlight() {
    Fixture f;
    for (int n : {1, 6, 9, 22}) {
        QTest::mouseClick(f.dialog->SmallButton(n), Qt::LeftButton);
        QCOMPARE(f.model.HighlightedDimension, 100 + n);
    }
    QVERIFY(f.dialog->isVisible());
}

void CylinderDialogTest::closeFindsMidGear() {
    Fixture f;
    f.model.RevArmSetting = 99.0f;
    f.model.CutOffRearText = "40.1";
    QTest::mouseClick(f.dialog->CloseButton(), Qt::LeftButton);
    QVERIFY(!f.dialog->isVisible());
    QCOMPARE(f.model.RevArmSetting, f.model.MidGear());
    QCOMPARE(f.link.Positions, QVector<int>{0});
    QVERIFY(f.model.CutOffRearText.empty());
}

void CylinderDialogTest::typedFlagIsSharedWithTheFrameDialog() {
    kes::Model model;
    kes::InitialiseModel(model);
    RecordingLink link;
    const DimensionDialogs dialogs = CreateDimensionDialogs(model, link, nullptr);
    std::unique_ptr<FrameDimensionsDialog> frame(dialogs.Frame);
    std::unique_ptr<CylinderDimensionsDialog> cylinder(dialogs.Cylinder);
    cylinder->show();
    QVERIFY(QTest::qWaitForWindowActive(cylinder.get()));
    QTest::mouseClick(cylinder->Field(4), Qt::LeftButton);
    QTest::keyClick(cylinder->Field(4), Qt::Key_End);
    QTest::keyClick(cylinder->Field(4), '5');
    QVERIFY(frame->FieldState()->TypedFlag);
    QTest::keyClick(cylinder->Field(4), Qt::Key_Return);
    QVERIFY(!frame->FieldState()->TypedFlag);
    QCOMPARE(model.Cylinder[kes::BoreLength], 4.6255f);
}

void CylinderDialogTest::highlightModeClosesAndReopens() {
    kes::Model model;
    kes::InitialiseModel(model);
    RecordingLink link;
    QWidget mainWindow;
    const DimensionDialogs dialogs = CreateDimensionDialogs(model, link, &mainWindow);

    int highlighted = 0;
    QTimer drawing;
    drawing.setInterval(1);
    QObject::connect(&drawing, &QTimer::timeout, [&] {
        if (model.HighlightedDimension > 99 && dialogs.Cylinder->isVisible()) {
            highlighted = model.HighlightedDimension;
            dialogs.Cylinder->done(QDialog::Rejected);
        }
    });
    drawing.start();
    QTimer::singleShot(0, dialogs.Cylinder, [&] {
        QVERIFY(QTest::qWaitForWindowActive(dialogs.Cylinder));
        QTest::mouseClick(dialogs.Cylinder->SmallButton(22), Qt::LeftButton);
    });
    QCOMPARE(dialogs.Cylinder->exec(), int(QDialog::Rejected));
    QCOMPARE(highlighted, 122);
    QVERIFY(link.Positions.isEmpty());

    model.HighlightedDimension = 0;
    bool refocused = false;
    QTimer::singleShot(0, dialogs.Cylinder, [&] {
        QVERIFY(QTest::qWaitForWindowActive(dialogs.Cylinder));
        refocused = dialogs.Cylinder->CloseButton()->hasFocus();
        QTest::mouseClick(dialogs.Cylinder->CloseButton(), Qt::LeftButton);
    });
    QCOMPARE(dialogs.Cylinder->exec(), int(QDialog::Accepted));
    QVERIFY(refocused);
}

int main(int argc, char** argv) {
    return dimtest::Run<CylinderDialogTest>(argc, argv);
}

#include "dimensions_cylinder_test.moc"
