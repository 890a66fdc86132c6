// SPDX-License-Identifier: GPL-3.0-or-later
#include "auxiliary/draw_lines_window.h"

#include "auxiliary/point_names.h"
#include "model/design_edit.h"
#include "model/model.h"
#include "model/nearest_point.h"
#include "picture/line_colors.h"
#include "ui_shell/main_form_link.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

// Columns of the table, one row per item.
enum Column : int {
    ColType = 0,
    ColColor,
    ColRefMode,
    ColPoint1X,
    ColPoint1Y,
    ColPoint2X,
    ColPoint2Y,
    ColPivot1,
    ColPivot2,
    ColRef1X,
    ColRef1Y,
    ColRef2X,
    ColRef2Y,
    ColumnCount
};

const char* const ColumnTitles[ColumnCount] = {
    "Type",      "Colour",  "Referenced to", "Point 1 X", "Point 1 Y", "Point 2 X\n(radius)",
    "Point 2 Y", "Pivot 1", "Pivot 2",       "Ref 1 dX",  "Ref 1 dY",  "Ref 2 dX",
    "Ref 2 dY"};

// Column widths in pixels.
const int ColumnWidths[ColumnCount] = {64, 92, 150, 66, 66, 66, 66, 176, 176, 62, 62, 62, 62};

// The numeric columns and the LineItem field each one edits.
struct NumberColumn {
    int Column;
    float kes::LineItem::*Field;
};
const NumberColumn NumberColumns[] = {
    {ColPoint1X, &kes::LineItem::Point1X}, {ColPoint1Y, &kes::LineItem::Point1Y},
    {ColPoint2X, &kes::LineItem::Point2X}, {ColPoint2Y, &kes::LineItem::Point2Y},
    {ColRef1X, &kes::LineItem::Ref1X},     {ColRef1Y, &kes::LineItem::Ref1Y},
    {ColRef2X, &kes::LineItem::Ref2X},     {ColRef2Y, &kes::LineItem::Ref2Y},
};

const char* const TypeTexts[] = {"Line", "Circle"};
const char* const RefModeTexts[] = {"0  Fixed", "1  Pivot 1", "2  Pivot 1 to fixed",
                                    "3  Pivot 1 to pivot 2"};

const char* const WindowTitle = "Lines and Circles";
const char* const HelpText =
    "Each item is a line or a circle drawn over the gear in its colour. Referenced to: "
    "0 fixes it in the frame; 1 carries both points with pivot 1; 2 carries point 1 with "
    "pivot 1 and leaves point 2 fixed; 3 carries point 1 with pivot 1 and point 2 with "
    "pivot 2. Points carried by a pivot are offsets from it. A circle is drawn about "
    "point 1 with the radius Point 2 X (reference 0 or 1 only). To pick pivots with the "
    "mouse, choose type, colour and reference, press \"Pick Pivots\" and click the pivot "
    "in the main window.";
const char* const PickButtonText = "Pick Pivots";
const char* const ClearButtonText = "Clear Item";
const char* const CloseButtonText = "Close";
const int NumberDecimals = 3;
const int NumberMaxLength = 14;
const int ColorSwatchSize = 12;
const QSize WindowSize(1230, 730);
const int RowHeight = 26;
// Numbers of an item with no type yet are shown dimmed.
const QColor UnsetItemText(0x90, 0x90, 0x90);

// Slots whose world coordinates are positions in the frame, in the order a
// tie is settled (the lower slot wins).
constexpr int PickablePivots[] = {0, 1, 2, 3, 4, 5, 7, 8, 9, 10, 12, 14, 15, 16, 21, 22, 23};

bool IsPickable(int index) {
    for (int p : PickablePivots)
        if (p == index) return true;
    return false;
}

// The relative pivots and their copies stand for their absolute slots.
int AbsolutePivotSlot(int index) {
    switch (index) {
    case kes::BellCrankPivot:
    case kes::BellCrankPivotCopy:
        return kes::BellCrankPivotAbs;
    case kes::RevArmPivot:
    case kes::RevArmPivotCopy:
        return kes::RevArmPivotAbs;
    default:
        return index;
    }
}

QString FormatNumber(float v) {
    return QString::number(double(v), 'f', NumberDecimals);
}

// Numeric cells: digits, one leading "-" and one ".", as every number field
// of the program.
class NumberDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        auto* edit = new QLineEdit(parent);
        edit->setMaxLength(NumberMaxLength);
        edit->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("-?[0-9]*\\.?[0-9]*")), edit));
        return edit;
    }
};

QIcon ColorSwatch(int index) {
    QPixmap pixmap(ColorSwatchSize, ColorSwatchSize);
    pixmap.fill(kes::LineColor(index));
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, ColorSwatchSize - 1, ColorSwatchSize - 1);
    return QIcon(pixmap);
}

// Selects the entry holding value; a value with no entry (a file may hold
// anything) gets one of its own so it is shown rather than hidden.
void ShowComboValue(QComboBox* combo, int value) {
    int at = combo->findData(value);
    if (at < 0) {
        combo->addItem(QStringLiteral("? %1").arg(value), value);
        at = combo->count() - 1;
    }
    combo->setCurrentIndex(at);
}

} // namespace

TDrawLines::TDrawLines(kes::Model& model, MainFormLink& link, QWidget* parent)
    : QDialog(parent), model_(model), link_(link) {
    setObjectName(QStringLiteral("TDrawLines"));
    setWindowTitle(QString::fromLatin1(WindowTitle));
    resize(WindowSize);

    auto* help = new QLabel(QString::fromLatin1(HelpText), this);
    help->setWordWrap(true);

    table_ = new QTableWidget(kes::LineItemCount, ColumnCount, this);
    table_->setObjectName(QStringLiteral("LinesTable"));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    for (int c = 0; c < ColumnCount; ++c) {
        table_->setHorizontalHeaderItem(c,
                                        new QTableWidgetItem(QString::fromLatin1(ColumnTitles[c])));
        table_->setColumnWidth(c, ColumnWidths[c]);
    }
    table_->verticalHeader()->setDefaultSectionSize(RowHeight);
    auto* delegate = new NumberDelegate(table_);
    for (const NumberColumn& nc : NumberColumns)
        table_->setItemDelegateForColumn(nc.Column, delegate);

    for (int item = 1; item <= kes::LineItemCount; ++item) {
        const int row = item - 1;
        table_->setVerticalHeaderItem(row, new QTableWidgetItem(QString::number(item)));
        RowWidgets& w = rows_[size_t(item)];

        w.Type = new QComboBox;
        w.Type->setObjectName(QStringLiteral("ItemType%1").arg(item));
        w.Type->addItem(QString(), -1);
        for (int t = 0; t < 2; ++t)
            w.Type->addItem(QString::fromLatin1(TypeTexts[t]), t);

        w.Color = new QComboBox;
        w.Color->setObjectName(QStringLiteral("ItemColor%1").arg(item));
        w.Color->addItem(QString(), -1);
        for (int c = 0; c < kes::LineColorCount; ++c)
            w.Color->addItem(ColorSwatch(c), QString::fromLatin1(kes::LineColors[size_t(c)].Name),
                             c);

        w.RefMode = new QComboBox;
        w.RefMode->setObjectName(QStringLiteral("RefMode%1").arg(item));
        w.RefMode->addItem(QString(), -1);
        for (int r = 0; r < 4; ++r)
            w.RefMode->addItem(QString::fromLatin1(RefModeTexts[r]), r);

        w.Pivot1 = new QComboBox;
        w.Pivot1->setObjectName(QStringLiteral("Ref1Pivot%1").arg(item));
        w.Pivot2 = new QComboBox;
        w.Pivot2->setObjectName(QStringLiteral("Ref2Pivot%1").arg(item));
        for (QComboBox* pivot : {w.Pivot1, w.Pivot2}) {
            pivot->addItem(QString(), -1);
            for (int p : PickablePivots)
                pivot->addItem(PivotName(p), p);
        }

        const std::pair<QComboBox*, int> combos[] = {{w.Type, ColType},
                                                     {w.Color, ColColor},
                                                     {w.RefMode, ColRefMode},
                                                     {w.Pivot1, ColPivot1},
                                                     {w.Pivot2, ColPivot2}};
        for (const auto& [combo, column] : combos) {
            table_->setCellWidget(row, column, combo);
            connect(combo, &QComboBox::currentIndexChanged, this,
                    [this, item, column = column](int) { ComboChanged(item, column); });
        }
        for (const NumberColumn& nc : NumberColumns) {
            auto* cell = new QTableWidgetItem;
            cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(row, nc.Column, cell);
        }
    }
    connect(table_, &QTableWidget::itemChanged, this,
            [this](QTableWidgetItem* cell) { NumberEdited(cell->row(), cell->column()); });
    connect(table_, &QTableWidget::currentCellChanged, this, [this](int row, int, int, int) {
        if (!refreshing_ && row >= 0) SetCurrentItem(row + 1);
    });

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("ItemStatus"));
    status_->setWordWrap(true);

    pickButton_ = new QPushButton(QString::fromLatin1(PickButtonText), this);
    pickButton_->setObjectName(QStringLiteral("PickPivots"));
    pickButton_->setAutoDefault(false);
    clearButton_ = new QPushButton(QString::fromLatin1(ClearButtonText), this);
    clearButton_->setObjectName(QStringLiteral("ClearItem"));
    clearButton_->setAutoDefault(false);
    closeButton_ = new QPushButton(QString::fromLatin1(CloseButtonText), this);
    closeButton_->setObjectName(QStringLiteral("Close1"));
    connect(pickButton_, &QPushButton::clicked, this, &TDrawLines::StartPick);
    connect(clearButton_, &QPushButton::clicked, this, &TDrawLines::ClearCurrentItem);
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(pickButton_);
    buttons->addWidget(clearButton_);
    buttons->addStretch(1);
    buttons->addWidget(closeButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(help);
    layout->addWidget(table_, 1);
    layout->addWidget(status_);
    layout->addLayout(buttons);

    RefreshFromModel();
}

kes::LineItem& TDrawLines::Item(int item) {
    return model_.LineTable[size_t(item)];
}

void TDrawLines::NoteEdit(int item, const kes::LineItem& before) {
    // Compared by their bits: the item holds only floats and 32-bit integers.
    if (std::memcmp(&Item(item), &before, sizeof before) != 0) kes::BumpDesignRevision(model_);
}

int TDrawLines::CurrentItemIndex() const {
    // A file may hold any number here; show the nearest real item.
    if (model_.CurrentItem < 1) return 1;
    if (model_.CurrentItem > kes::LineItemCount) return kes::LineItemCount;
    return model_.CurrentItem;
}

void TDrawLines::SetCurrentItem(int item) {
    if (item < 1 || item > kes::LineItemCount) return;
    model_.CurrentItem = item;
    if (table_->currentRow() != item - 1) {
        const bool was = refreshing_;
        refreshing_ = true;
        table_->selectRow(item - 1);
        refreshing_ = was;
    }
    UpdateStatus();
}

void TDrawLines::RefreshFromModel() {
    refreshing_ = true;
    for (int item = 1; item <= kes::LineItemCount; ++item)
        RefreshRow(item);
    table_->selectRow(CurrentItemIndex() - 1);
    refreshing_ = false;
    UpdateStatus();
}

void TDrawLines::RefreshRow(int item) {
    const bool was = refreshing_;
    refreshing_ = true;
    const kes::LineItem& it = Item(item);
    const RowWidgets& w = rows_[size_t(item)];
    ShowComboValue(w.Type, it.ItemType);
    ShowComboValue(w.Color, it.ItemColor);
    ShowComboValue(w.RefMode, it.RefMode);
    ShowComboValue(w.Pivot1, it.Ref1Pivot);
    ShowComboValue(w.Pivot2, it.Ref2Pivot);
    const QBrush text = it.ItemType < 0 ? QBrush(UnsetItemText) : table_->palette().text();
    for (const NumberColumn& nc : NumberColumns) {
        QTableWidgetItem* cell = table_->item(item - 1, nc.Column);
        cell->setText(FormatNumber(it.*nc.Field));
        cell->setForeground(text);
    }
    refreshing_ = was;
}

void TDrawLines::ComboChanged(int item, int column) {
    if (refreshing_) return;
    const RowWidgets& w = rows_[size_t(item)];
    kes::LineItem& it = Item(item);
    const kes::LineItem before = it;
    switch (column) {
    case ColType:
        it.ItemType = w.Type->currentData().toInt();
        RefreshRow(item);
        break;
    case ColColor:
        it.ItemColor = w.Color->currentData().toInt();
        break;
    case ColRefMode:
        it.RefMode = w.RefMode->currentData().toInt();
        break;
    case ColPivot1:
        it.Ref1Pivot = w.Pivot1->currentData().toInt();
        break;
    case ColPivot2:
        it.Ref2Pivot = w.Pivot2->currentData().toInt();
        break;
    default:
        return;
    }
    NoteEdit(item, before);
    SetCurrentItem(item);
}

void TDrawLines::NumberEdited(int row, int column) {
    if (refreshing_ || row < 0 || row >= kes::LineItemCount) return;
    const int item = row + 1;
    for (const NumberColumn& nc : NumberColumns) {
        if (nc.Column != column) continue;
        QTableWidgetItem* cell = table_->item(row, column);
        bool ok = false;
        const double value = cell->text().trimmed().toDouble(&ok);
        // A text that is not a number ("", "-", ".") keeps the stored value.
        const kes::LineItem before = Item(item);
        if (ok && std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max())
            Item(item).*nc.Field = float(value);
        NoteEdit(item, before);
        refreshing_ = true;
        cell->setText(FormatNumber(Item(item).*nc.Field));
        refreshing_ = false;
        SetCurrentItem(item);
        return;
    }
}

void TDrawLines::UpdateStatus() {
    const int n = CurrentItemIndex();
    const kes::LineItem& it = Item(n);
    const QString head = QStringLiteral("Item %1: ").arg(n);
    const bool chosen = it.ItemType >= 0 && it.ItemColor >= 0 && it.RefMode >= 0;
    bool pickable = false;
    QString text;
    if (!chosen) {
        text = QStringLiteral("choose its type, colour and reference.");
    } else if (it.ItemType == 0 && it.RefMode >= 0 && it.RefMode <= 3) {
        const char* const lines[] = {
            "line from point 1 to point 2, fixed in the frame.",
            "line from pivot 1 + point 1 to pivot 1 + point 2; it moves with pivot 1.",
            "line from pivot 1 + point 1 to the fixed point 2.",
            "line from pivot 1 + point 1 to pivot 2 + point 2.",
        };
        text = QString::fromLatin1(lines[it.RefMode]);
        pickable = it.RefMode >= 1;
    } else if (it.ItemType == 1 && (it.RefMode == 0 || it.RefMode == 1)) {
        text =
            it.RefMode == 0
                ? QStringLiteral("circle about point 1 with radius Point 2 X, fixed in the frame.")
                : QStringLiteral("circle about pivot 1 + point 1 with radius Point 2 X.");
        pickable = it.RefMode == 1;
    } else {
        text = QStringLiteral("this combination draws nothing (a circle takes reference 0 or 1).");
    }
    if (pickable) {
        const bool needs2 = it.ItemType == 0 && it.RefMode == 3;
        if (it.Ref1Pivot < 0 || (needs2 && it.Ref2Pivot < 0))
            text += QStringLiteral(" Choose its pivots, or press \"Pick Pivots\".");
    }
    if (model_.LinesPickWaiting) {
        text += model_.LinesPickRefChoice == 3
                    ? QStringLiteral(" Waiting: click pivot 1 in the main window with the left "
                                     "button, then pivot 2 with the right button.")
                    : QStringLiteral(" Waiting: click pivot 1 in the main window with the left "
                                     "button.");
    }
    status_->setText(head + text);
    pickButton_->setEnabled(pickable);
}

bool TDrawLines::ChoicesComplete(int* refChoice) const {
    if (!model_.LinesPickWaiting) return false;
    const kes::LineItem& it = model_.LineTable[size_t(CurrentItemIndex())];
    if (it.ItemType < 0 || it.ItemColor < 0 || it.RefMode < 0) return false;
    if (refChoice) *refChoice = model_.LinesPickRefChoice;
    return true;
}

void TDrawLines::StartPick() {
    const kes::LineItem& it = Item(CurrentItemIndex());
    if (it.ItemType < 0 || it.ItemColor < 0 || it.RefMode < 1 || it.RefMode > 3) return;
    if (it.ItemType == 1 && it.RefMode != 1) return;
    model_.LinesPickWaiting = true;
    model_.LinesPickRefChoice = it.RefMode;
    // The main window reads picks only while the reference points are on.
    model_.ReferencePointsOn = true;
    firstPivotPicked_ = false;
    UpdateStatus();
    hide();
}

void TDrawLines::CancelPick() {
    model_.LinesPickWaiting = false;
    firstPivotPicked_ = false;
    UpdateStatus();
}

bool TDrawLines::PivotPicked(int pointIndex, bool rightButton) {
    if (!ChoicesComplete()) return false;
    pointIndex = AbsolutePivotSlot(pointIndex);
    if (!IsPickable(pointIndex)) return false;
    kes::LineItem& it = Item(CurrentItemIndex());
    const kes::LineItem before = it;
    const QPointF pivot = PivotPosition(model_, pointIndex);
    if (!rightButton) {
        const kes::PointSlot& ref = model_.Points[kes::RefPoint1];
        it.Ref1Pivot = pointIndex;
        it.Ref1X = float(ref.X - pivot.x());
        it.Ref1Y = float(ref.Y - pivot.y());
        NoteEdit(CurrentItemIndex(), before);
        if (model_.LinesPickRefChoice < 3) return CompletePick();
        firstPivotPicked_ = true;
        RefreshRow(CurrentItemIndex());
        UpdateStatus();
        return false;
    }
    if (model_.LinesPickRefChoice != 3 || !firstPivotPicked_) return false;
    const kes::PointSlot& ref = model_.Points[kes::RefPoint2];
    it.Ref2Pivot = pointIndex;
    it.Ref2X = float(ref.X - pivot.x());
    it.Ref2Y = float(ref.Y - pivot.y());
    NoteEdit(CurrentItemIndex(), before);
    return CompletePick();
}

bool TDrawLines::PickAtReferencePoint(bool rightButton) {
    const kes::PointSlot& ref = model_.Points[rightButton ? kes::RefPoint2 : kes::RefPoint1];
    const int nearest = NearestPivot(model_, ref.X, ref.Y);
    if (nearest < 0) return false;
    return PivotPicked(nearest, rightButton);
}

bool TDrawLines::CompletePick() {
    model_.LinesPickWaiting = false;
    firstPivotPicked_ = false;
    RefreshRow(CurrentItemIndex());
    UpdateStatus();
    return true;
}

void TDrawLines::ClearCurrentItem() {
    const int n = CurrentItemIndex();
    const kes::LineItem before = Item(n);
    Item(n) = kes::LineItem{};
    NoteEdit(n, before);
    RefreshRow(n);
    UpdateStatus();
}

void TDrawLines::showEvent(QShowEvent* event) {
    // Shown again without a finished pick (from the menu, say): the wait ends.
    if (model_.LinesPickWaiting) CancelPick();
    RefreshFromModel();
    QDialog::showEvent(event);
}

QPointF TDrawLines::PivotPosition(const kes::Model& m, int pointIndex) {
    return aux_points::AbsolutePosition(m, pointIndex);
}

int TDrawLines::NearestPivot(const kes::Model& m, float x, float y) {
    struct At {
        double X, Y;
    };
    return kes::NearestCandidate(x, y, PickablePivots, [&](int p) {
        const QPointF at = PivotPosition(m, p);
        return At{at.x(), at.y()};
    });
}

QString TDrawLines::PivotName(int pointIndex) {
    return aux_points::Name(pointIndex);
}
