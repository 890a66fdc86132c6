// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two instruction windows, "&Instructions" (instruct.doc) and
// "Instructions&Special" (KesSpIns.doc): read-only text read from the
// working folder first, then from beside the program, then from the
// installed data folder. A missing file shows a clear line in the window
// instead.

#include <QDialog>
#include <QStringList>

class QPlainTextEdit;
class MainFormLink;

namespace kes {
struct Model;
}

inline const QString InstructFileName = QStringLiteral("instruct.doc");
inline const QString SpecialFileName = QStringLiteral("KesSpIns.doc");

class TInstructionText : public QDialog {
    Q_OBJECT
  public:
    TInstructionText(const QString& fileName, const QString& title, QWidget* parent = nullptr);

    // Looks for the file in DefaultFolders(). Returns true when it was read.
    bool LoadText();
    // The same with the folders given, in order (tests use it).
    bool LoadFrom(const QStringList& folders);

    QString FileName() const { return fileName_; }
    QString LoadedPath() const { return loadedPath_; } // empty when not found
    QString Text() const;
    // The working folder, the program's folder, the installed data folder.
    static QStringList DefaultFolders();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QString fileName_;
    QString loadedPath_;
    QPlainTextEdit* text_ = nullptr;
};

class TInst : public TInstructionText {
    Q_OBJECT
  public:
    TInst(kes::Model& model, MainFormLink& link, QWidget* parent = nullptr);
};

class TKesSpInst : public TInstructionText {
    Q_OBJECT
  public:
    TKesSpInst(kes::Model& model, MainFormLink& link, QWidget* parent = nullptr);
};
