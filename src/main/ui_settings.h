// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the program remembers between runs beside the recent files: the
// interface scale (applied through Qt's high-DPI scaling at the next start,
// so every fixed layout scales whole), the large-font choice, the sizes and
// places of the windows and the last view of the gear. QSettings keeps them.

#include "model/model.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <memory>
#include <optional>

class QSettings;
class TMainForm;
class QWidget;

inline constexpr std::array<int, 4> InterfaceScalePercents = {100, 125, 150, 200};

class UiSettings {
  public:
    // An empty path: the user's settings of the application; otherwise an
    // INI file of its own (the tests use one in a folder of their own).
    explicit UiSettings(const QString& settingsFile = {});
    ~UiSettings();

    // 100 until chosen; always one of InterfaceScalePercents.
    int InterfaceScalePercent() const;
    void SetInterfaceScalePercent(int percent);

    std::optional<bool> LargeFont() const;
    void SetLargeFont(bool large);
    std::optional<kes::View> LastView() const;
    void SetLastView(const kes::View& view);
    // QWidget::saveGeometry of a window, by its object name.
    QByteArray Geometry(const QString& window) const;
    void SetGeometry(const QString& window, const QByteArray& geometry);

    // The main window and every window it made: font, view and geometry.
    void RestoreInto(TMainForm& form, kes::Model& m) const;
    void SaveFrom(TMainForm& form, const kes::Model& m);

  private:
    std::unique_ptr<QSettings> settings_;
};

// Before the QApplication exists: sets QT_SCALE_FACTOR from the remembered
// interface scale, unless the user's environment sets a scale already.
void ApplyInterfaceScaleAtStart(const QString& settingsFile = {});

// "Interface &Scale...": asks for one of the scales (the chooser answers in
// tests) and remembers it for the next start. True when one was chosen.
bool AskInterfaceScale(QWidget* parent, UiSettings& settings);
