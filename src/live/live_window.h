// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Live Diagrams": a modeless, resizable window beside the gear showing one
// of the four diagrams or all four tiled, with a second design under them
// when one is compared. It follows the design: each change (a dialog, a
// dynamic-variable bar, Balance Apply, UnDo), which the design tells it of,
// starts a drawing from a copy of the design on a worker thread while the
// window is shown, so the main window keeps animating; only the newest
// drawing is shown. It keeps reverse-arm positions of its own,
// as offsets from mid gear, typed in the window. Under the mouse it reads
// out the diagram's values; a click pins a read-out to the list.

#include "live/design_watch.h"
#include "live/live_job.h"
#include "ui_shell/design_signal.h"

#include <QFutureWatcher>
#include <QImage>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace kes {
struct Model;
}

namespace overlay {
class ComparedDesign;
}

namespace live {

class LivePicture;

inline const QString LiveDiagramsCaption = QStringLiteral("Live Diagrams");

class TLiveDiagrams : public QWidget {
    Q_OBJECT
  public:
    TLiveDiagrams(kes::Model& model, overlay::ComparedDesign& compared, QWidget* parent = nullptr);
    ~TLiveDiagrams() override;

    void SetChoice(LiveChoice choice);
    LiveChoice Choice() const { return choice_; }
    // Offsets from mid gear of the positions drawn (at most nine).
    void SetOffsets(std::vector<float> offsets);
    const std::vector<float>& Offsets() const { return offsets_; }
    void SetPortMode(char mode);

    // The picture on show and whether a newer one is being drawn.
    const QImage& Picture() const;
    bool Drawing() const;

    // The read-out under a point of the picture, and the pins.
    std::optional<QString> ReadoutAt(QPoint picturePoint);
    void Pin(QPoint picturePoint);
    QString PinsText() const;
    void CopyPins();
    // Test seam: the file chooser of "Compare With...".
    void SetCompareFileChooser(std::function<QString()> chooser) { chooser_ = std::move(chooser); }

  public slots:
    // The design has changed: draw it again now (a cheap no-op when
    // nothing the diagrams draw from has changed).
    void NoteDesignChanged();

  signals:
    // A new picture is on show.
    void PictureShown();

  protected:
    void showEvent(QShowEvent* event) override;
    // Escape closes the window, as it closes a dialog.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void BuildControls();
    void Follow();
    void Redraw();
    void Start();
    void Finished();
    void OffsetsTyped();
    void Hovered(QPoint at);

    kes::Model& model_;
    overlay::ComparedDesign& compared_;
    DesignWatch watch_;
    LiveChoice choice_ = LiveChoice::Sine;
    char portMode_ = 'F';
    std::vector<float> offsets_;
    shell::DesignSignal designChanges_;
    QFutureWatcher<LiveResult> watcher_;
    uint64_t requested_ = 0;
    // A drawing runs until its result has been taken here, which is later
    // than the worker's end.
    bool running_ = false;
    bool pending_ = false;
    std::optional<LiveResult> shown_;
    std::function<QString()> chooser_;

    QComboBox* choiceBox_ = nullptr;
    QComboBox* portModeBox_ = nullptr;
    QLineEdit* offsetsEdit_ = nullptr;
    LivePicture* picture_ = nullptr;
    QLabel* readout_ = nullptr;
    QListWidget* pins_ = nullptr;
};

// "1.5, 0, -1.5": numbers separated by commas or blanks; absent when one
// is not a number or there are more than nine.
std::optional<std::vector<float>> ParseOffsets(const QString& text);
QString OffsetsText(const std::vector<float>& offsets);

} // namespace live
