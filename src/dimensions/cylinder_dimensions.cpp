// SPDX-License-Identifier: GPL-3.0-or-later
#include "dimensions/cylinder_dimensions.h"

#include "model/dimensions.h"
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
constexpr int ClientHeight = 230;
constexpr std::array<int, 2> SecondLineX = {82, 266}; // second line of a two-row label
constexpr int HelpY = 190;
const QRect Reset1Rect(294, 168, 90, 25);
const QRect Close1Rect(294, 192, 90, 25);
} // namespace layout

constexpr int CylFieldCount = 22;
constexpr int FirstId = 100; // field N has dimension id 100 + N

const QString Caption = QStringLiteral("Cylinder Dimensions");
const QString HelpLine1 =
    QStringLiteral("To Show Graphic Position of Variable, Click Small Button");
const QString HelpLine2 =
    QStringLiteral("To Select a Dynamic Variable, Click Dimension in Gray Area");

// One entry of the dialog. A two-row entry has its label and small button
// starting on Row and its field on the row below, beside the second line.
struct Entry {
    int Column; // 0 left, 1 right
    int Row;
    bool TwoRows;
    const char* Label;
    const char* SecondLine;
};

// Field N at index N - 1.
constexpr std::array<Entry, CylFieldCount> Entries = {{
    {0, 0, false, "Cylinder ctr to Driver ctr", nullptr},
    {0, 1, false, "Cylinder CL above Driver", nullptr},
    {0, 2, false, "Cylinder Bore         Diameter", nullptr},
    {0, 3, false, "Cylinder Bore            Length", nullptr},
    {0, 4, false, "Cylinder Steam Port   Width", nullptr},
    {0, 5, true, "Piston ctr to Crosshead ctr", "(Piston Rod)"},
    {0, 7, false, "Piston                         Width", nullptr},
    {0, 8, false, "ValveSurface to CylinderCL", nullptr},
    {0, 9, false, "Valve Stem CL to Cyl CL", nullptr},
    {0, 10, false, "Exhaust Port               Width", nullptr},
    {0, 11, false, "Bridge Width                Rear", nullptr},
    {0, 12, false, "Bridge Width                Front", nullptr},
    {1, 0, false, "Steam Port Width        Rear", nullptr},
    {1, 1, false, "Steam Port Width        Front", nullptr},
    {1, 2, false, "Valve Chamber        Height", nullptr},
    {1, 3, false, "Valve Chamber        Length", nullptr},
    {1, 4, false, "Valve Height", nullptr},
    {1, 5, false, "Valve Length       Rear Half", nullptr},
    {1, 6, false, "Valve Length       Front Half", nullptr},
    {1, 7, false, "Valve ExhCavity  Rear Half", nullptr},
    {1, 8, false, "Valve ExhCavity  Front Half", nullptr},
    {1, 9, true, "Valve ctr to Joint", "  (Valve Stem)"},
}};

} // namespace

CylinderDimensionsDialog::CylinderDimensionsDialog(kes::Model& model, MainFormLink& link,
                                                   QWidget* parent)
    : CylinderDimensionsDialog(model, link, std::make_shared<DimensionFieldState>(), parent) {}

CylinderDimensionsDialog::CylinderDimensionsDialog(kes::Model& model, MainFormLink& link,
                                                   std::shared_ptr<DimensionFieldState> state,
                                                   QWidget* parent)
    : DimensionDialog(model, link, std::move(state), parent) {
    using namespace layout;
    setObjectName(QStringLiteral("TCylDimen"));
    setWindowTitle(Caption);
    SetClientSize(ClientWidth, ClientHeight);

    // Fields first, so the tab order runs down the left column then the right.
    for (int n = 1; n <= CylFieldCount; ++n) {
        const Entry& e = Entries[static_cast<size_t>(n - 1)];
        const int y = RowHeight * e.Row;
        const int fieldY = e.TwoRows ? y + RowHeight : y;
        AddColumnField(n, FirstId + n, e.Column, fieldY);
        AddText(QString::fromLatin1(e.Label), LabelX[e.Column], y);
        if (e.SecondLine)
            AddText(QString::fromLatin1(e.SecondLine), SecondLineX[e.Column], y + RowHeight);
    }
    AddHelpLines(HelpLine1, HelpLine2, HelpY);

    reset1_ = AddButton(QStringLiteral("Reset1"), QStringLiteral("ResetCylDim"), Reset1Rect);
    QPushButton* close1 = AddButton(QStringLiteral("Close1"), QStringLiteral("Close"), Close1Rect);
    SetCloseButton(close1);

    for (int n = 1; n <= CylFieldCount; ++n) {
        const Entry& e = Entries[static_cast<size_t>(n - 1)];
        const int height = e.TwoRows ? 2 * RowHeight : RowHeight;
        AddColumnSmallButton(n, e.Column, RowHeight * e.Row, height);
    }

    OnMouseDown(reset1_, [this] { Reset1MouseDown(); });
    connect(reset1_, &QPushButton::clicked, this, &CylinderDimensionsDialog::ResetCylClick);
}

float CylinderDimensionsDialog::ShownValue(int n) const {
    return kes::GetDimension(model_, FirstId + n);
}

void CylinderDimensionsDialog::EditExit(int n) {
    // Fields 2 and 9 also move the valve-stem joint: the model keeps its
    // height at CylCLAboveDriver + ValveStemToCylCL.
    LeaveDimensionField(model_, link_, *FieldState(), FirstId + n, Field(n)->Value());
}

void CylinderDimensionsDialog::ButtonClick(int n) {
    model_.HighlightedDimension = FirstId + n;
}

void CylinderDimensionsDialog::Reset1MouseDown() {
    kes::ResetCylinderGroup(model_, false);
    FormActivate();
}

void CylinderDimensionsDialog::ResetCylClick() {
    kes::ResetCylinderGroup(model_, true);
    FormActivate();
    link_.RefreshUndoButton();
}
