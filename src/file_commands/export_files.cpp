// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_commands/export_files.h"

#include "model/model.h"
#include "saving/buffered_save.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {
const QString FailureText = QStringLiteral("Could not write %1: %2");
const QString BoxTitle = QStringLiteral("KESTROVE");
} // namespace

ExportFiles::ExportFiles(const kes::Model& model, QWidget* window)
    : model_(model), window_(window) {}

QString ExportFiles::SuggestedPath(const QString& suffix) const {
    QString name = QString::fromStdString(model_.DataSetName).trimmed();
    if (name.isEmpty()) name = QStringLiteral("design");
    name += QLatin1Char('.') + suffix;
    const QString source = SourceFile();
    if (source.isEmpty()) return name;
    return QDir(QFileInfo(source).absolutePath()).filePath(name);
}

QString ExportFiles::Choose(const QString& caption, const QString& filters,
                            const QString& suffix) const {
    QString name =
        chooser_ ? chooser_(caption, filters)
                 : QFileDialog::getSaveFileName(window_, caption, SuggestedPath(suffix), filters);
    if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty()) name += QLatin1Char('.') + suffix;
    return name;
}

void ExportFiles::ReportFailure(const QString& fileName, const QString& reason) const {
    Show(FailureText.arg(QDir::toNativeSeparators(fileName), reason));
}

void ExportFiles::Show(const QString& text) const {
    if (shower_)
        shower_(text);
    else
        QMessageBox::warning(window_, BoxTitle, text);
}

bool ExportFiles::Write(const QString& fileName, const std::string& bytes) const {
    QString why;
    if (saving::SaveBytes(fileName, QByteArray::fromStdString(bytes), &why)) return true;
    ReportFailure(fileName, why);
    return false;
}
