// SPDX-License-Identifier: GPL-3.0-or-later
#include "dimensions/frame_dimensions.h"

#include "model/dimensions.h"
#include "model/mid_gear.h"
#include "model/model.h"
#include "ui_shell/main_form_link.h"

#include <QPushButton>

#include <array>

namespace {

// Layout of the client area, in pixels before the text scale, beside the
// columns the dimension dialogs share.
namespace layout {
using namespace dimension_columns;
constexpr int ClientWidth = 386;
constexpr int ClientHeight = 246;
constexpr int RowsPerColumn = 15;
constexpr std::array<int, 2> DittoLabelX = {40, 234}; // labels that begin with a ditto mark
constexpr int HelpY = 207;
const QRect ResetFrameRect(282, 195, 50, 25);
const QRect ResetBakerAssyRect(332, 195, 50, 25);
const QRect Close1Rect(288, 220, 89, 25);
} // namespace layout

constexpr int FrameFieldCount = 30;
constexpr int RevArmNormField = 29;
constexpr int RevArmMaxField = 30;

const QString Caption = QStringLiteral("Frame Dimentions                        Baker Assy Dim");
const QString HelpLine1 =
    QStringLiteral("To Show Graphic Position of Variable, Click Small Button");
const QString HelpLine2 =
    QStringLiteral("To Select Dynamic Variable, Click Dimension in Gray Area");

// Label of field N at index N - 1: fields 1 to 15 in the left column,
// 16 to 30 in the right.
const std::array<QString, FrameFieldCount> Labels = {
    QStringLiteral("Driver                    Diameter"),
    QStringLiteral("Stroke                      Length"),
    QStringLiteral("Main Rod                 Length"),
    QStringLiteral("DropLink to CrossHeadVert"),
    QStringLiteral("\"           \"     Back Set"),
    QStringLiteral("Union Link                Length"),
    QStringLiteral("Combination Lever    Upper"),
    QStringLiteral("\"          \"     Back Set"),
    QStringLiteral("\"           \"          Lower"),
    QStringLiteral("Valve Rod                Length"),
    QStringLiteral("Eccentric Crank        Length"),
    QStringLiteral("\"      \" Circle Diameter"),
    QStringLiteral("Eccentric Rod          Length"),
    QStringLiteral("Baker Gear Mtg Posit   Vert"),
    QStringLiteral("\"           \"           Horz"),
    QStringLiteral("ReverseArm Upper Length"),
    QStringLiteral("\"      \"   Lower Length"),
    QStringLiteral("\"      \"     Pivot     Vert"),
    QStringLiteral("\"      \"     Pivot     Horz"),
    QStringLiteral("Radius Bar                Length"),
    QStringLiteral("GearConRod UpperLength"),
    QStringLiteral("\"       \"   Lower Length"),
    QStringLiteral("\"        Lower Backset"),
    QStringLiteral("Bell Crank          Vert Length"),
    QStringLiteral("\"             \"   Back Set"),
    QStringLiteral("\"       \"     Horz Length"),
    QStringLiteral("Bell Crank Pivot             Vert"),
    QStringLiteral("\"       \"     Pivot    Horz"),
    QStringLiteral("Rev Arm   to Center   Norm"),
    QStringLiteral("\"           \"              Max"),
};

} // namespace

FrameDimensionsDialog::FrameDimensionsDialog(kes::Model& model, MainFormLink& link, QWidget* parent)
    : FrameDimensionsDialog(model, link, std::make_shared<DimensionFieldState>(), parent) {}

FrameDimensionsDialog::FrameDimensionsDialog(kes::Model& model, MainFormLink& link,
                                             std::shared_ptr<DimensionFieldState> state,
                                             QWidget* parent)
    : DimensionDialog(model, link, std::move(state), parent) {
    using namespace layout;
    setObjectName(QStringLiteral("TFrameDi"));
    setWindowTitle(Caption);
    SetClientSize(ClientWidth, ClientHeight);

    // Fields first, so the tab order runs down the left column then the right.
    for (int n = 1; n <= FrameFieldCount; ++n) {
        const int column = (n - 1) / RowsPerColumn;
        const int y = RowHeight * ((n - 1) % RowsPerColumn);
        const int id = n < RevArmNormField ? n : 0;
        AddColumnField(n, id, column, y);
        const QString& label = Labels[static_cast<size_t>(n - 1)];
        const bool ditto = label.startsWith(QLatin1Char('"'));
        AddText(label, ditto ? DittoLabelX[column] : LabelX[column], y);
    }
    AddHelpLines(HelpLine1, HelpLine2, HelpY);

    resetFrame_ =
        AddButton(QStringLiteral("ResetFrame"), QStringLiteral("ResetFD"), ResetFrameRect);
    resetBakerAssy_ =
        AddButton(QStringLiteral("ResetBakerAssy"), QStringLiteral("ResetBA"), ResetBakerAssyRect);
    QPushButton* close1 = AddButton(QStringLiteral("Close1"), QStringLiteral("Close"), Close1Rect);
    SetCloseButton(close1);

    for (int n = 1; n <= FrameFieldCount; ++n) {
        const int column = (n - 1) / RowsPerColumn;
        const int y = RowHeight * ((n - 1) % RowsPerColumn);
        AddColumnSmallButton(n, column, y, RowHeight);
    }

    OnMouseDown(resetFrame_, [this] { ResetFrameMouseDown(); });
    OnMouseDown(resetBakerAssy_, [this] { ResetBakerAssyMouseDown(); });
    connect(resetFrame_, &QPushButton::clicked, this, &FrameDimensionsDialog::ResetFrameClick);
    connect(resetBakerAssy_, &QPushButton::clicked, this,
            &FrameDimensionsDialog::ResetBakerAssyClick);
}

float FrameDimensionsDialog::ShownValue(int n) const {
    if (n == RevArmNormField) return model_.Frame.RevArmNorm;
    if (n == RevArmMaxField) return model_.Frame.RevArmMax;
    return kes::GetDimension(model_, n);
}

void FrameDimensionsDialog::EditExit(int n) {
    // Fields 29 and 30 may not keep what was typed: they show what was stored.
    if (n == RevArmNormField) {
        Edit29Exit();
        Field(n)->ShowValue(model_.Frame.RevArmNorm);
        return;
    }
    if (n == RevArmMaxField) {
        Edit30Exit();
        Field(n)->ShowValue(model_.Frame.RevArmMax);
        return;
    }
    LeaveDimensionField(model_, link_, *FieldState(), n, Field(n)->Value());
}

void FrameDimensionsDialog::ButtonClick(int n) {
    model_.HighlightedDimension = n;
}

void FrameDimensionsDialog::ClampRevArmPositions(bool includeZero) {
    const float mid = model_.MidGear();
    const float norm = model_.Frame.RevArmNorm;
    for (size_t i = 1; i <= 9; ++i) {
        float& p = model_.RevArmPositions[i];
        if (p == 0.0f && !includeZero) continue;
        if (p < mid - norm) p = mid - norm;
        if (p > mid + norm) p = mid + norm;
    }
    kes::UpdateRevArmPositionCount(model_);
}

void FrameDimensionsDialog::Edit29Exit() {
    kes::FrameDimensions& f = model_.Frame;
    f.RevArmNorm = Field(RevArmNormField)->Value();
    if (f.RevArmNorm > f.RevArmMax) {
        f.RevArmNorm = f.RevArmMax;
        ClampRevArmPositions(false);
    }
}

void FrameDimensionsDialog::Edit30Exit() {
    kes::FrameDimensions& f = model_.Frame;
    f.RevArmMax = Field(RevArmMaxField)->Value();
    if (f.RevArmMax < f.RevArmNorm) {
        f.RevArmMax = f.RevArmNorm;
        ClampRevArmPositions(true);
    }
    kes::SetRevArmBarRange(model_);
    link_.SetRevArmBarRange();
}

void FrameDimensionsDialog::ResetFrameMouseDown() {
    kes::ResetFrameGroup(model_, false);
    link_.SetRevArmBarRange();
    FormActivate();
}

void FrameDimensionsDialog::ResetFrameClick() {
    kes::ResetFrameGroup(model_, true);
    link_.SetRevArmBarRange();
    FormActivate();
    link_.RefreshUndoButton();
}

void FrameDimensionsDialog::ResetBakerAssyMouseDown() {
    kes::ResetBakerAssyGroup(model_, false);
    link_.SetRevArmBarRange();
    FormActivate();
}

void FrameDimensionsDialog::ResetBakerAssyClick() {
    kes::ResetBakerAssyGroup(model_, true);
    link_.SetRevArmBarRange();
    FormActivate();
    link_.RefreshUndoButton();
}
