// SPDX-License-Identifier: GPL-3.0-or-later
#include "motion_dialogs/reverse_arm_positions_dialog.h"

#include "controls/controls.h"
#include "model/format.h"
#include "model/model.h"
#include "model/rounding.h"
#include "motion_dialogs/numeric_entry.h"
#include "picture/fonts.h"

#include <QPainter>
#include <QPushButton>

#include <algorithm>
#include <cmath>

namespace {

const QString FontFamily = shell::FontFamily();
constexpr int FontPoints = 8;
constexpr int DialogWidth = 600;
constexpr int DialogHeight = 344;

// Texts and fields: a row per position, the vertical scale below them.
constexpr int TextLeft = 12;
constexpr int HeadingTop = 8;
constexpr int FirstRowTop = 30;
constexpr int RowPitch = 26;
constexpr int FieldX = 140;
constexpr int FieldWidth = 72;
constexpr int FieldHeight = 20;
constexpr int ScaleRowTop = FirstRowTop + 9 * RowPitch + 10;
constexpr int CloseTop = ScaleRowTop + 34;
constexpr int CloseWidth = 72;
constexpr int CloseHeight = 24;

// The graph: one track per position between the markers.
constexpr int GraphLeft = 280;
constexpr int GraphRight = 540;
constexpr int GraphTop = FirstRowTop - 4;
constexpr int GraphBottom = FirstRowTop + 8 * RowPitch + FieldHeight + 4;
constexpr int MarkerTextTop = HeadingTop;
constexpr int MarkerValueTop = GraphBottom + 4;
constexpr int DotRadius = 4;

const QColor TrackColor(0xC0, 0xC0, 0xC0);
const QColor MarkerColor(0x80, 0x80, 0x80);
const QColor CentreColor(0x00, 0x00, 0x00);
const QColor DotColor(0xFF, 0x00, 0x00);
const QColor TextColor(0x00, 0x00, 0x00);

const QString Heading = QStringLiteral("Max of 9 Positions");
const QString PositionText = QStringLiteral("Rev Arm Position  %1");
const QString ScaleText = QStringLiteral("Vertical Scale");

int RowTop(int n) {
    return FirstRowTop + (n - 1) * RowPitch;
}

void DrawTextAt(QPainter& p, int x, int y, const QString& text) {
    p.drawText(QRect(x, y, 400, FieldHeight), Qt::AlignLeft | Qt::AlignVCenter, text);
}

// Marker texts stand beside their line, away from the neighbouring marker:
// side -1 ends at the line, 0 is centred on it, +1 starts at it.
constexpr int MarkerTextWidth = 60;
constexpr int MarkerTextGap = 2;
void DrawMarkerText(QPainter& p, int x, int y, int side, const QString& text) {
    const int h = FieldHeight - 4;
    if (side < 0)
        p.drawText(QRect(x - MarkerTextGap - MarkerTextWidth, y, MarkerTextWidth, h),
                   Qt::AlignRight | Qt::AlignVCenter, text);
    else if (side > 0)
        p.drawText(QRect(x + MarkerTextGap, y, MarkerTextWidth, h),
                   Qt::AlignLeft | Qt::AlignVCenter, text);
    else
        p.drawText(QRect(x - MarkerTextWidth / 2, y, MarkerTextWidth, h),
                   Qt::AlignHCenter | Qt::AlignVCenter, text);
}

} // namespace

ReverseArmPositionsDialog::ReverseArmPositionsDialog(kes::Model& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    setObjectName(QStringLiteral("TSetRevArm"));
    setWindowTitle(QStringLiteral("Set Reverse Arm Positions"));
    setFont(QFont(FontFamily, FontPoints));
    setModal(true);
    setFixedSize(DialogWidth, DialogHeight);

    for (int n = 1; n <= 10; ++n) {
        auto* field = new NumericEntry(n <= 9, this);
        field->setObjectName(QStringLiteral("Edit%1").arg(n));
        const int top = n <= 9 ? RowTop(n) : ScaleRowTop;
        field->setGeometry(FieldX, top, FieldWidth, FieldHeight);
        connect(field, &QLineEdit::editingFinished, this, [this, n] { FieldLeft(n); });
        fields_[static_cast<size_t>(n - 1)] = field;
    }
    close_ = new QPushButton(QStringLiteral("Close"), this);
    close_->setObjectName(QStringLiteral("CloseBtn"));
    close_->setGeometry(FieldX, CloseTop, CloseWidth, CloseHeight);
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
}

void ReverseArmPositionsDialog::FieldLeft(int n) {
    NumericEntry* field = Field(n);
    if (!field->isModified()) return;
    kes::TakeReverseArmPosition(model_, n, field->Value());
    field->Show(QString::fromStdString(kes::TextForReverseArmPosition(model_, n)));
    update();
}

void ReverseArmPositionsDialog::done(int result) {
    // A field still being typed in counts as left.
    for (int n = 1; n <= 10; ++n)
        FieldLeft(n);
    kes::CloseReverseArmPositions(model_);
    QDialog::done(result);
}

void ReverseArmPositionsDialog::showEvent(QShowEvent* event) {
    for (int n = 1; n <= 10; ++n)
        Field(n)->Show(QString::fromStdString(kes::TextForReverseArmPosition(model_, n)));
    QDialog::showEvent(event);
}

void ReverseArmPositionsDialog::paintEvent(QPaintEvent*) {
    QPainter p(this);
    PaintGraph(p, model_);
}

void ReverseArmPositionsDialog::PaintGraph(QPainter& p, const kes::Model& m) {
    p.setFont(QFont(FontFamily, FontPoints));
    p.setPen(TextColor);
    DrawTextAt(p, TextLeft, HeadingTop, Heading);
    for (int n = 1; n <= 9; ++n)
        DrawTextAt(p, TextLeft, RowTop(n), PositionText.arg(n));
    DrawTextAt(p, TextLeft, ScaleRowTop, ScaleText);

    // The graph spans the whole travel of the reverse arm.
    const double mid = m.MidGear();
    double half = std::fabs(static_cast<double>(m.Frame.RevArmMax));
    if (!(half > 0.0) || !std::isfinite(half)) half = 1.0;
    const double lo = mid - half;
    const double width = GraphRight - GraphLeft;
    auto gx = [&](double v) {
        const double x = GraphLeft + (v - lo) / (2.0 * half) * width;
        return kes::RoundHalfEven(std::clamp(x, double(GraphLeft), double(GraphRight)));
    };

    struct Marker {
        const char* Name;
        double Value;
        QColor Colour;
        Qt::PenStyle Style;
        int Side;
    };
    const double norm = m.Frame.RevArmNorm;
    const Marker markers[] = {
        {"Min", mid - half, MarkerColor, Qt::DashLine, -1},
        {"Rev", mid - norm, MarkerColor, Qt::DashLine, +1},
        {"Cent", mid, CentreColor, Qt::SolidLine, 0},
        {"Fwd", mid + norm, MarkerColor, Qt::DashLine, -1},
        {"Max", mid + half, MarkerColor, Qt::DashLine, +1},
    };
    for (const Marker& mk : markers) {
        const int x = gx(mk.Value);
        p.setPen(QPen(mk.Colour, 1, mk.Style));
        p.drawLine(x, GraphTop, x, GraphBottom);
        p.setPen(TextColor);
        DrawMarkerText(p, x, MarkerTextTop, mk.Side, QString::fromLatin1(mk.Name));
        DrawMarkerText(p, x, MarkerValueTop, mk.Side,
                       QString::fromStdString(kes::FormatFixed(mk.Value, 6, 3)).trimmed());
    }

    p.setRenderHint(QPainter::Antialiasing, true);
    for (int n = 1; n <= 9; ++n) {
        const int y = RowTop(n) + FieldHeight / 2;
        p.setPen(QPen(TrackColor, 1));
        p.drawLine(GraphLeft, y, GraphRight, y);
        const float v = m.RevArmPositions[static_cast<size_t>(n)];
        if (v == 0.0f || !std::isfinite(v)) continue; // an unused slot
        const int x = gx(v);
        p.setPen(QPen(DotColor, 1));
        p.setBrush(DotColor);
        p.drawEllipse(QPoint(x, y), DotRadius, DotRadius);
        p.setBrush(Qt::NoBrush);
    }
    p.setRenderHint(QPainter::Antialiasing, false);
}
