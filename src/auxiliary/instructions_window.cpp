// SPDX-License-Identifier: GPL-3.0-or-later
#include "auxiliary/instructions_window.h"

#include "auxiliary/data_folders.h"
#include "auxiliary/text_window.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>

namespace {

const char* const InstructTitle = "Instructions";
const char* const SpecialTitle = "Special Instructions";
const QSize WindowSize(760, 640);
// A text larger than this is shown cut short rather than read whole.
const qint64 MaxTextBytes = 4 * 1024 * 1024;

QString MissingMessage(const QString& fileName, const QStringList& folders) {
    QString text = QStringLiteral("The instruction file \"%1\" was not found. It is looked for "
                                  "in these folders, in this order:\n")
                       .arg(fileName);
    for (const QString& folder : folders)
        text += QStringLiteral("    %1\n").arg(QDir::toNativeSeparators(folder));
    text += QStringLiteral("Put \"%1\" in one of them and open this window again.\n").arg(fileName);
    return text;
}

} // namespace

TInstructionText::TInstructionText(const QString& fileName, const QString& title, QWidget* parent)
    : QDialog(parent), fileName_(fileName) {
    setWindowTitle(title);
    resize(WindowSize);

    text_ = text_window::NewText(this);
    text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text_window::LayOut(this, text_);

    LoadText();
}

QStringList TInstructionText::DefaultFolders() {
    return data_folders::DefaultFolders();
}

bool TInstructionText::LoadText() {
    return LoadFrom(DefaultFolders());
}

bool TInstructionText::LoadFrom(const QStringList& folders) {
    loadedPath_.clear();
    for (const QString& folder : folders) {
        const QString path = QDir(folder).filePath(fileName_);
        if (!QFileInfo(path).isFile()) continue;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) continue;
        const QByteArray bytes = file.read(MaxTextBytes);
        QString text = QString::fromUtf8(bytes);
        if (!file.atEnd())
            text += QStringLiteral("\n[The rest of \"%1\" is too long to show here.]\n").arg(path);
        text_->setPlainText(text);
        loadedPath_ = path;
        return true;
    }
    text_->setPlainText(MissingMessage(fileName_, folders));
    return false;
}

QString TInstructionText::Text() const {
    return text_->toPlainText();
}

void TInstructionText::showEvent(QShowEvent* event) {
    // The file may have been put in place or edited since the last showing.
    LoadText();
    QDialog::showEvent(event);
}

TInst::TInst(kes::Model&, MainFormLink&, QWidget* parent)
    : TInstructionText(InstructFileName, QString::fromLatin1(InstructTitle), parent) {
    setObjectName(QStringLiteral("TInst"));
}

TKesSpInst::TKesSpInst(kes::Model&, MainFormLink&, QWidget* parent)
    : TInstructionText(SpecialFileName, QString::fromLatin1(SpecialTitle), parent) {
    setObjectName(QStringLiteral("TKesSpInst"));
}
