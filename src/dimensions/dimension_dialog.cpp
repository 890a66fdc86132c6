// SPDX-License-Identifier: GPL-3.0-or-later
#include "dimensions/dimension_dialog.h"

#include "model/design_edit.h"
#include "model/model.h"
#include "model/rounding.h"
#include "picture/fonts.h"
#include "ui_shell/main_form_link.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QHideEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

const QString FontFamily = shell::FontFamily();
constexpr double FontPointSize = 8.0;
const QColor FieldColor(0xC0, 0xC0, 0xC0); // silver, the "gray area" of the help line
constexpr int TextGap = 2;                 // pixels kept between a text and the next control
// The widest value a field shows whole ("-100.250"), and the field's own
// margins around its text.
const QString WidestFieldValue = QStringLiteral("-000.000");
constexpr int FieldTextMargins = 6;

int Scaled(int v, double scale) {
    return kes::RoundHalfEven(v * scale);
}

// Scales a rectangle by its edges, so neighbours stay neighbours.
QRect ScaledRect(const QRect& r, double sx, double sy) {
    const int left = Scaled(r.x(), sx);
    const int top = Scaled(r.y(), sy);
    const int right = Scaled(r.x() + r.width(), sx);
    const int bottom = Scaled(r.y() + r.height(), sy);
    return QRect(left, top, right - left, bottom - top);
}

double SaneScale(float s) {
    return std::isfinite(s) && s >= 0.25f && s <= 8.0f ? s : 1.0;
}

} // namespace

DimensionDialog::DimensionDialog(kes::Model& model, MainFormLink& link,
                                 std::shared_ptr<DimensionFieldState> state, QWidget* parent)
    : QDialog(parent), model_(model), link_(link), state_(std::move(state)) {
    if (!state_) state_ = std::make_shared<DimensionFieldState>();
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    QFont f(FontFamily);
    f.setPointSizeF(FontPointSize);
    setFont(f);
}

double DimensionDialog::ScaleX() const {
    return SaneScale(model_.TextScaleX);
}
double DimensionDialog::ScaleY() const {
    return SaneScale(model_.TextScaleY);
}

DimensionField* DimensionDialog::Field(int n) const {
    return n >= 1 && n < fields_.size() ? fields_[n] : nullptr;
}

QPushButton* DimensionDialog::SmallButton(int n) const {
    return n >= 1 && n < smallButtons_.size() ? smallButtons_[n] : nullptr;
}

QRect DimensionDialog::BaseGeometry(const QWidget* w) const {
    for (const Placed& p : placed_)
        if (p.Widget == w) return p.Rect;
    return {};
}

QVector<DimensionDialog::DrawnText> DimensionDialog::DrawnTexts() const {
    QVector<DrawnText> out;
    out.reserve(texts_.size());
    for (const Text& t : texts_)
        out.push_back(
            {t.Text, QPoint(Scaled(t.X, ScaleX()) + GrowthShift(t.X), Scaled(t.Y, ScaleY()))});
    return out;
}

int DimensionDialog::GrowthShift(int baseX) const {
    using namespace dimension_columns;
    int shift = 0;
    for (const int fieldX : FieldX)
        if (baseX >= fieldX + FieldWidth) shift += fieldGrowth_;
    return shift;
}

void DimensionDialog::SetClientSize(int width, int height) {
    clientWidth_ = width;
    clientHeight_ = height;
    setFixedSize(width, height);
}

DimensionField* DimensionDialog::AddField(int n, int dimensionId, QRect rect) {
    auto* field = new DimensionField(dimensionId, state_, this);
    field->setObjectName(QStringLiteral("Edit%1").arg(n));
    field->setFrame(false);
    QPalette pal = field->palette();
    pal.setColor(QPalette::Base, FieldColor);
    field->setPalette(pal);
    field->setGeometry(rect);
    if (fields_.size() <= n) fields_.resize(n + 1);
    fields_[n] = field;
    placed_.push_back({field, rect});
    connect(field, &DimensionField::Left, this, [this, n] { EditExit(n); });
    return field;
}

QPushButton* DimensionDialog::AddSmallButton(int n, QRect rect) {
    auto* button = new QPushButton(this);
    button->setObjectName(QStringLiteral("Button%1").arg(n));
    button->setGeometry(rect);
    if (smallButtons_.size() <= n) smallButtons_.resize(n + 1);
    smallButtons_[n] = button;
    placed_.push_back({button, rect});
    connect(button, &QPushButton::clicked, this, [this, n] { ButtonClick(n); });
    return button;
}

QPushButton* DimensionDialog::AddButton(const QString& objectName, const QString& caption,
                                        QRect rect) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(objectName);
    button->setGeometry(rect);
    placed_.push_back({button, rect});
    return button;
}

void DimensionDialog::AddText(const QString& text, int x, int y) {
    texts_.push_back({text, x, y});
}

DimensionField* DimensionDialog::AddColumnField(int n, int dimensionId, int column, int y) {
    using namespace dimension_columns;
    return AddField(n, dimensionId,
                    QRect(FieldX[static_cast<size_t>(column)], y, FieldWidth, FieldHeight));
}

QPushButton* DimensionDialog::AddColumnSmallButton(int n, int column, int y, int height) {
    using namespace dimension_columns;
    return AddSmallButton(
        n, QRect(SmallButtonX[static_cast<size_t>(column)], y, SmallButtonWidth, height));
}

void DimensionDialog::AddHelpLines(const QString& first, const QString& second, int y) {
    using namespace dimension_columns;
    AddText(first, HelpX, y);
    AddText(second, HelpX, y + RowHeight);
}

void DimensionDialog::SetCloseButton(QPushButton* button) {
    close1_ = button;
    for (DimensionField* f : fields_)
        if (f) f->SetEnterTarget(button);
    connect(button, &QPushButton::clicked, this, &DimensionDialog::Close1Click);
}

void DimensionDialog::OnMouseDown(QPushButton* button, std::function<void()> mouseDown) {
    mouseDown_.push_back({button, std::move(mouseDown)});
    button->installEventFilter(this);
}

bool DimensionDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        for (const auto& [button, action] : mouseDown_)
            if (button == watched && button->isEnabled()) action();
    }
    return QDialog::eventFilter(watched, event);
}

void DimensionDialog::ApplyScale() {
    const double sx = ScaleX(), sy = ScaleY();
    QFont f(FontFamily);
    f.setPointSizeF(FontPointSize * sy);
    setFont(f);
    // The fields take a whole value at this font; the columns right of them
    // make room.
    const int fieldWidth =
        ScaledRect(QRect(dimension_columns::FieldX[0], 0, dimension_columns::FieldWidth, 1), sx, sy)
            .width();
    const int needed = QFontMetrics(f).horizontalAdvance(WidestFieldValue) + FieldTextMargins;
    fieldGrowth_ = std::max(0, needed - fieldWidth);
    const int columns = static_cast<int>(dimension_columns::FieldX.size());
    setFixedSize(Scaled(clientWidth_, sx) + columns * fieldGrowth_, Scaled(clientHeight_, sy));
    for (const Placed& p : placed_) {
        QRect r = ScaledRect(p.Rect, sx, sy).translated(GrowthShift(p.Rect.x()), 0);
        if (qobject_cast<DimensionField*>(p.Widget)) r.setWidth(r.width() + fieldGrowth_);
        p.Widget->setGeometry(r);
    }
    update();
}

void DimensionDialog::FormActivate() {
    for (int n = 1; n < fields_.size(); ++n)
        if (fields_[n]) fields_[n]->ShowValue(ShownValue(n));
    update();
}

void DimensionDialog::Close1Click() {
    kes::FindMidGearAgain(model_);
    link_.SetRevArmBarPosition(0);
    model_.CutOffFrontText.clear();
    model_.CutOffRearText.clear();
    accept();
}

void DimensionDialog::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        ApplyScale();
        if (close1_) close1_->setFocus();
        FormActivate();
    }
    QDialog::showEvent(event);
}

void DimensionDialog::hideEvent(QHideEvent* event) {
    // Closing the dialog with the focus in a field takes the field's value,
    // and the dialog opens again with the focus on "Close".
    if (!event->spontaneous()) {
        if (auto* field = qobject_cast<DimensionField*>(focusWidget())) field->LeaveNow();
        if (close1_) close1_->setFocus();
    }
    QDialog::hideEvent(event);
}

void DimensionDialog::closeEvent(QCloseEvent* event) {
    // The window's own close button works like "Close".
    if (isVisible()) {
        if (auto* field = qobject_cast<DimensionField*>(focusWidget())) field->LeaveNow();
        Close1Click();
    }
    event->accept();
}

void DimensionDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept(); // the dialog closes only through "Close"
        return;
    }
    QDialog::keyPressEvent(event);
}

double DimensionDialog::TextStretch() const {
    const QFontMetrics fm(font());
    double stretch = 1.0;
    const QList<QWidget*> controls = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (const DrawnText& t : DrawnTexts()) {
        const int natural = fm.horizontalAdvance(t.Text);
        if (natural <= 0) continue;
        const QRect line(t.Origin, QSize(natural, fm.ascent()));
        int limit = width() - 1;
        for (const QWidget* w : controls) {
            const QRect g = w->geometry();
            if (g.x() > line.x() && g.top() <= line.bottom() && g.bottom() >= line.top())
                limit = std::min(limit, g.x() - TextGap);
        }
        const double room = limit - line.x();
        if (room > 0 && room < natural) stretch = std::min(stretch, room / natural);
    }
    return stretch;
}

void DimensionDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter p(this);
    p.setFont(font());
    p.setPen(palette().color(QPalette::WindowText));
    const int ascent = QFontMetrics(font()).ascent();
    const double stretch = TextStretch();
    for (const DrawnText& t : DrawnTexts()) {
        p.save();
        p.translate(t.Origin.x(), t.Origin.y() + ascent);
        p.scale(stretch, 1.0);
        p.drawText(QPointF(0, 0), t.Text);
        p.restore();
    }
}
