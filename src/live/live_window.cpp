// SPDX-License-Identifier: GPL-3.0-or-later
#include "live/live_window.h"

#include "live/compare_commands.h"
#include "live/live_picture.h"
#include "model/model.h"
#include "overlay/compared_design.h"
#include "overlay/live_positions.h"
#include "ui_shell/first_size.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <cmath>

namespace live {

namespace {

constexpr int InitialWidth = 900;
constexpr int InitialHeight = 640;
constexpr size_t MaxOffsets = 9;
constexpr int OffsetDecimals = 4;

struct ChoiceItem {
    const char* Text;
    LiveChoice Choice;
};
constexpr ChoiceItem Choices[] = {{"Sine diagram", LiveChoice::Sine},
                                  {"Oval diagram", LiveChoice::Oval},
                                  {"Steam diagram", LiveChoice::Steam},
                                  {"Port events diagram", LiveChoice::Ports},
                                  {"All four", LiveChoice::AllFour}};
struct PortModeItem {
    const char* Text;
    char Mode;
};
constexpr PortModeItem PortModes[] = {{"Forward", 'F'}, {"Reverse", 'R'}, {"Both", 'B'}};

const QString PositionsLabel = QStringLiteral("&Positions from mid gear:");
const QString PositionsHint =
    QStringLiteral("Reverse-arm positions drawn, as offsets from mid gear (forward positive), "
                   "separated by commas; Enter to draw");
const QString DefaultCaption = QStringLiteral("&Default");
const QString DefaultHint = QStringLiteral("Mid gear and normal full gear both ways");
const QString NoReadout = QStringLiteral("Move the mouse over a diagram to read its values; "
                                         "click to pin them.");
const QString CopyPinsCaption = QStringLiteral("C&opy Pins");
const QString CopyPinsHint = QStringLiteral("Copy the pinned read-outs as text");
const QString ClearPinsCaption = QStringLiteral("Clear P&ins");

QString ViewName(DiagramView v) {
    static const char* const names[] = {"Sine", "Oval", "Steam", "Port events"};
    return QString::fromLatin1(names[static_cast<int>(v)]);
}

QToolButton* ActionButton(QAction* action, QWidget* parent) {
    auto* b = new QToolButton(parent);
    b->setDefaultAction(action);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
}

} // namespace

std::optional<std::vector<float>> ParseOffsets(const QString& text) {
    std::vector<float> offsets;
    for (const QString& part :
         text.split(QRegularExpression(QStringLiteral("[,;\\s]+")), Qt::SkipEmptyParts)) {
        bool ok = false;
        const double v = part.toDouble(&ok);
        if (!ok || !std::isfinite(v) || offsets.size() == MaxOffsets) return std::nullopt;
        offsets.push_back(static_cast<float>(v));
    }
    return offsets;
}

QString OffsetsText(const std::vector<float>& offsets) {
    QStringList parts;
    for (float v : offsets)
        parts << QString::number(v, 'f', OffsetDecimals);
    return parts.join(QStringLiteral(", "));
}

TLiveDiagrams::TLiveDiagrams(kes::Model& model, overlay::ComparedDesign& compared, QWidget* parent)
    : QWidget(parent, Qt::Window), model_(model), compared_(compared), watch_(model),
      offsets_(overlay::DefaultLiveOffsets(model)), designChanges_(model) {
    setObjectName(QStringLiteral("LiveDiagrams"));
    setWindowTitle(LiveDiagramsCaption);
    setAttribute(Qt::WA_DeleteOnClose);
    ui_shell::ResizeToFirstSize(*this, QSize(InitialWidth, InitialHeight));
    BuildControls();
    connect(&watcher_, &QFutureWatcher<LiveResult>::finished, this, &TLiveDiagrams::Finished);
    connect(&designChanges_, &shell::DesignSignal::Changed, this, &TLiveDiagrams::Follow);
    connect(&compared_, &overlay::ComparedDesign::Changed, this, [this] {
        if (isVisible()) Redraw();
    });
}

TLiveDiagrams::~TLiveDiagrams() {
    // The worker draws only its own copies; wait so it has somewhere to end.
    watcher_.disconnect(this);
    watcher_.waitForFinished();
}

void TLiveDiagrams::BuildControls() {
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    choiceBox_ = new QComboBox(this);
    choiceBox_->setObjectName(QStringLiteral("LiveChoice"));
    choiceBox_->setToolTip(QStringLiteral("The diagram shown"));
    for (const ChoiceItem& c : Choices)
        choiceBox_->addItem(QString::fromLatin1(c.Text), static_cast<int>(c.Choice));
    portModeBox_ = new QComboBox(this);
    portModeBox_->setObjectName(QStringLiteral("LivePortMode"));
    portModeBox_->setToolTip(QStringLiteral("The gear the port events diagram shows"));
    for (const PortModeItem& m : PortModes)
        portModeBox_->addItem(QString::fromLatin1(m.Text), QChar::fromLatin1(m.Mode));
    auto* positionsLabel = new QLabel(PositionsLabel, this);
    offsetsEdit_ = new QLineEdit(OffsetsText(offsets_), this);
    offsetsEdit_->setObjectName(QStringLiteral("LivePositions"));
    offsetsEdit_->setToolTip(PositionsHint);
    // Room for the positions as first shown, so the list reads whole.
    offsetsEdit_->setMinimumWidth(
        offsetsEdit_->fontMetrics().horizontalAdvance(offsetsEdit_->text() + QStringLiteral("  ")) +
        2 * offsetsEdit_->fontMetrics().averageCharWidth());
    offsetsEdit_->setCursorPosition(0);
    positionsLabel->setBuddy(offsetsEdit_);
    auto* defaults = new QPushButton(DefaultCaption, this);
    defaults->setObjectName(QStringLiteral("LivePositionsDefault"));
    defaults->setToolTip(DefaultHint);
    bar->addWidget(choiceBox_);
    bar->addWidget(portModeBox_);
    bar->addWidget(positionsLabel);
    bar->addWidget(offsetsEdit_, 1);
    bar->addWidget(defaults);
    const CompareActions compare =
        MakeCompareActions(this, compared_, [this] { return chooser_ ? chooser_() : QString(); });
    for (QAction* a : {compare.With, compare.Before, compare.Clear})
        bar->addWidget(ActionButton(a, this));
    layout->addLayout(bar);

    auto* split = new QSplitter(Qt::Vertical, this);
    picture_ = new LivePicture(split);
    picture_->setObjectName(QStringLiteral("LivePicture"));
    auto* lower = new QWidget(split);
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    readout_ = new QLabel(NoReadout, lower);
    readout_->setObjectName(QStringLiteral("LiveReadout"));
    readout_->setWordWrap(true);
    readout_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    pins_ = new QListWidget(lower);
    pins_->setObjectName(QStringLiteral("LivePins"));
    auto* pinBar = new QHBoxLayout;
    auto* copyPins = new QPushButton(CopyPinsCaption, lower);
    copyPins->setObjectName(QStringLiteral("LiveCopyPins"));
    copyPins->setToolTip(CopyPinsHint);
    auto* clearPins = new QPushButton(ClearPinsCaption, lower);
    clearPins->setObjectName(QStringLiteral("LiveClearPins"));
    clearPins->setToolTip(QStringLiteral("Remove every pinned read-out"));
    pinBar->addStretch(1);
    pinBar->addWidget(copyPins);
    pinBar->addWidget(clearPins);
    lowerLayout->addWidget(readout_);
    lowerLayout->addWidget(pins_, 1);
    lowerLayout->addLayout(pinBar);
    split->setStretchFactor(0, 4);
    split->setStretchFactor(1, 1);
    layout->addWidget(split, 1);

    connect(choiceBox_, &QComboBox::currentIndexChanged, this,
            [this](int i) { SetChoice(static_cast<LiveChoice>(choiceBox_->itemData(i).toInt())); });
    connect(portModeBox_, &QComboBox::currentIndexChanged, this,
            [this](int i) { SetPortMode(portModeBox_->itemData(i).toChar().toLatin1()); });
    connect(offsetsEdit_, &QLineEdit::editingFinished, this, &TLiveDiagrams::OffsetsTyped);
    connect(defaults, &QPushButton::clicked, this,
            [this] { SetOffsets(overlay::DefaultLiveOffsets(model_)); });
    connect(picture_, &LivePicture::Hovered, this, &TLiveDiagrams::Hovered);
    connect(picture_, &LivePicture::Clicked, this, &TLiveDiagrams::Pin);
    connect(copyPins, &QPushButton::clicked, this, &TLiveDiagrams::CopyPins);
    connect(clearPins, &QPushButton::clicked, pins_, &QListWidget::clear);
}

void TLiveDiagrams::SetChoice(LiveChoice choice) {
    choice_ = choice;
    const int index = choiceBox_->findData(static_cast<int>(choice));
    if (index != choiceBox_->currentIndex()) choiceBox_->setCurrentIndex(index);
    Redraw();
}

void TLiveDiagrams::SetOffsets(std::vector<float> offsets) {
    if (offsets.size() > MaxOffsets) offsets.resize(MaxOffsets);
    offsets_ = std::move(offsets);
    offsetsEdit_->setText(OffsetsText(offsets_));
    offsetsEdit_->setCursorPosition(0);
    Redraw();
}

void TLiveDiagrams::SetPortMode(char mode) {
    portMode_ = mode;
    Redraw();
}

void TLiveDiagrams::OffsetsTyped() {
    if (const auto offsets = ParseOffsets(offsetsEdit_->text()))
        SetOffsets(*offsets);
    else
        offsetsEdit_->setText(OffsetsText(offsets_)); // a bad entry goes back to the last good one
}

const QImage& TLiveDiagrams::Picture() const {
    return picture_->Picture();
}

bool TLiveDiagrams::Drawing() const {
    return running_ || pending_;
}

void TLiveDiagrams::NoteDesignChanged() {
    if (watch_.Changed()) Redraw();
}

void TLiveDiagrams::Follow() {
    // Hidden, it draws nothing; shown again, it looks.
    if (isVisible()) NoteDesignChanged();
}

void TLiveDiagrams::Redraw() {
    ++requested_;
    if (running_) {
        pending_ = true;
        return;
    }
    Start();
}

void TLiveDiagrams::Start() {
    pending_ = false;
    running_ = true;
    LiveRequest request;
    request.Generation = requested_;
    request.Choice = choice_;
    request.Current = DrawingCopy(model_, offsets_, portMode_);
    if (const kes::Model* second = compared_.Design())
        request.Second = DrawingCopy(*second, offsets_, portMode_);
    request.Names = {QString::fromStdString(model_.DataSetName), compared_.Name()};
    watcher_.setFuture(QtConcurrent::run([request] { return DrawLive(request); }));
}

void TLiveDiagrams::Finished() {
    running_ = false;
    LiveResult result = watcher_.result();
    if (pending_) {
        Start(); // a newer design waits: this picture is already old
        return;
    }
    if (result.Generation != requested_) return;
    shown_ = std::move(result);
    picture_->SetPicture(shown_->Picture);
    emit PictureShown();
}

std::optional<QString> TLiveDiagrams::ReadoutAt(QPoint picturePoint) {
    if (!shown_) return std::nullopt;
    const bool withSecond =
        compared_.Design() != nullptr &&
        shown_->Picture.height() > TilesOf(shown_->Choice, false).back().Area.bottom() + 1;
    const auto tile = TileAt(shown_->Choice, withSecond, picturePoint);
    if (!tile) return std::nullopt;
    const auto text = live::ReadoutAt(tile->first, *shown_->Current, tile->second);
    if (!text) return std::nullopt;
    return ViewName(tile->first) + QStringLiteral(": ") + *text;
}

void TLiveDiagrams::Hovered(QPoint at) {
    const auto text = ReadoutAt(at);
    readout_->setText(text ? *text : NoReadout);
}

void TLiveDiagrams::Pin(QPoint picturePoint) {
    if (const auto text = ReadoutAt(picturePoint)) pins_->addItem(*text);
}

QString TLiveDiagrams::PinsText() const {
    QStringList lines;
    for (int i = 0; i < pins_->count(); ++i)
        lines << pins_->item(i)->text();
    return lines.join(QLatin1Char('\n'));
}

void TLiveDiagrams::CopyPins() {
    QApplication::clipboard()->setText(PinsText());
}

void TLiveDiagrams::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Follow();
}

void TLiveDiagrams::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace live
