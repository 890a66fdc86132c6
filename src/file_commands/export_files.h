// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every export of the "&File" menu does around its writer: it asks for
// a file in the design's own folder under a name made from the design's
// name ("big-engine.pdf"), gives a name typed without an extension the
// command's own, and reports a failed write with the file's name and the
// reason. The file dialog and the error box go through replaceable
// functions, so tests run the commands without modal windows.

#include <QByteArray>
#include <QString>

#include <functional>
#include <string>

class QWidget;

namespace kes {
struct Model;
}

class ExportFiles {
  public:
    // Shows a save dialog (caption, name filters); the chosen path or empty.
    using FileChooser = std::function<QString(const QString& caption, const QString& filters)>;
    using MessageShower = std::function<void(const QString&)>;

    ExportFiles(const kes::Model& model, QWidget* window);

    void SetFileChooser(FileChooser f) { chooser_ = std::move(f); }
    void SetMessageShower(MessageShower f) { shower_ = std::move(f); }
    // The dimension file the design came from ("" when none).
    void SetSourceFile(std::function<QString()> f) { sourceFile_ = std::move(f); }
    QString SourceFile() const { return sourceFile_ ? sourceFile_() : QString(); }

    // Where the dialog starts: the design's folder and its name with suffix.
    QString SuggestedPath(const QString& suffix) const;
    // Asks for the file; "" when cancelled. A name without an extension gets
    // suffix.
    QString Choose(const QString& caption, const QString& filters, const QString& suffix) const;
    // "Could not write NAME: REASON", in the error box.
    void ReportFailure(const QString& fileName, const QString& reason) const;
    // Any other failure of a command, in the error box.
    void Show(const QString& text) const;
    // Writes bytes whole (the old file stays when it fails) and reports a
    // failure. True when written.
    bool Write(const QString& fileName, const std::string& bytes) const;

  private:
    const kes::Model& model_;
    QWidget* window_;
    FileChooser chooser_;
    MessageShower shower_;
    std::function<QString()> sourceFile_;
};
