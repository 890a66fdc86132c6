// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Scale Design...": one factor for every length of the design, typed or
// taken from a preset (inches to millimetres and back).

#include <QDialog>

#include <optional>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;

class ScaleDesignDialog : public QDialog {
    Q_OBJECT
  public:
    static inline const QString Title = QStringLiteral("Scale Design");
    static inline const QString FactorChoice = QStringLiteral("factor");
    static inline const QString InchesToMm = QStringLiteral("inches to millimetres (× 25.4)");
    static inline const QString MmToInches = QStringLiteral("millimetres to inches (÷ 25.4)");

    explicit ScaleDesignDialog(QWidget* parent = nullptr);

    // The factor chosen: exactly 25.4 or 1 / 25.4 for the presets, else the
    // typed number; nothing while the field holds no positive number.
    std::optional<double> Factor() const;

    QComboBox* Presets() const { return presets_; }
    QLineEdit* FactorField() const { return field_; }
    QDialogButtonBox* Buttons() const { return buttons_; }

    // Shows the dialog modally; the factor when "OK" was pressed.
    static std::optional<double> Ask(QWidget* parent);

  private:
    void PresetChosen(int index);
    void FieldEdited();
    void FollowField();

    QComboBox* presets_ = nullptr;
    QLineEdit* field_ = nullptr;
    QLabel* note_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};
