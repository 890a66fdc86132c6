// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_commands/file_commands.h"

#include "file_commands/recent_files.h"
#include "files/dimension_file.h"
#include "model/design_changes.h"
#include "model/design_edit.h"
#include "model/model.h"
#include "overlay/compared_design.h"
#include "ui_shell/main_form_link.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace filecommands {

FileDialogRequest SaveRequest() {
    FileDialogRequest r;
    r.Save = true;
    r.Title = SaveTitle;
    r.DefaultSuffix = KvdSuffix;
    r.NameFilters = {KvdFilter, AllFilesFilter};
    r.ConfirmOverwrite = true;
    return r;
}

FileDialogRequest OpenRequest() {
    FileDialogRequest r;
    r.DefaultSuffix = KvdSuffix;
    r.NameFilters = {KvdFilter, AllFilesFilter};
    r.MustExist = true;
    return r;
}

FileDialogRequest OpenOlderRequest() {
    FileDialogRequest r;
    r.DefaultSuffix = KvxSuffix;
    r.NameFilters = {KvxFilter, AllFilesFilter};
    return r;
}

void ConfigureFileDialog(QFileDialog& dialog, const FileDialogRequest& request) {
    if (!request.Title.isEmpty()) dialog.setWindowTitle(request.Title);
    dialog.setAcceptMode(request.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.MustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.DefaultSuffix);
    dialog.setNameFilters(request.NameFilters);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.ConfirmOverwrite);
    dialog.setSizeGripEnabled(true);
    if (!request.Directory.isEmpty() && QDir(request.Directory).exists())
        dialog.setDirectory(request.Directory);
}

QMessageBox* MakeErrorBox(QWidget* parent, const QString& text) {
    auto* box =
        new QMessageBox(QMessageBox::Critical, ErrorBoxTitle, text, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    return box;
}

QString SaveChangesQuestion(const QString& dataSetName) {
    return QStringLiteral("Save changes to %1?").arg(dataSetName);
}

QString SaveFailedText(const QString& path, const QString& reason) {
    return QStringLiteral("%1 could not be saved: %2.\nThe file is as it was before.")
        .arg(QDir::toNativeSeparators(path), reason);
}

QStringList RecentMenuTexts(const QStringList& paths) {
    QStringList texts;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        int same = 0;
        for (const QString& other : paths)
            same += QFileInfo(other).fileName() == info.fileName();
        texts.append(same > 1 ? QStringLiteral("%1 (%2)").arg(
                                    info.fileName(), QDir::toNativeSeparators(info.absolutePath()))
                              : info.fileName());
    }
    return texts;
}

QString SavePathFor(const FileChoice& choice) {
    if (choice.Path.isEmpty() || choice.Filter != KvdFilter) return choice.Path;
    if (QFileInfo(choice.Path).suffix().compare(KvdSuffix, Qt::CaseInsensitive) == 0)
        return choice.Path;
    return choice.Path + QLatin1Char('.') + KvdSuffix;
}

} // namespace filecommands

namespace {

FileChoice ShowFileDialog(QWidget* parent, const FileDialogRequest& request) {
    QFileDialog dialog(parent);
    filecommands::ConfigureFileDialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return {};
    return {chosen.first(), dialog.selectedNameFilter()};
}

QMessageBox::StandardButton ShowQuestion(QWidget* parent, const QString& text,
                                         QMessageBox::StandardButtons buttons) {
    QMessageBox box(QMessageBox::Question, filecommands::ErrorBoxTitle, text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

bool ShowSaveFailure(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Critical, filecommands::ErrorBoxTitle, text, QMessageBox::Cancel,
                    parent);
    QPushButton* saveAs = box.addButton(filecommands::SaveAsButtonText, QMessageBox::AcceptRole);
    box.setDefaultButton(saveAs);
    box.exec();
    return box.clickedButton() == saveAs;
}

bool IsOlderFormat(const QString& path) {
    return QFileInfo(path).suffix().compare(filecommands::KvxSuffix, Qt::CaseInsensitive) == 0;
}

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace

FileCommands::FileCommands(kes::Model& model, MainFormLink& link, QObject* parent,
                           const QString& settingsFile)
    : QObject(parent), model_(model), link_(link),
      recent_(std::make_unique<RecentFiles>(settingsFile)),
      recentMenu_(std::make_unique<QMenu>(filecommands::RecentText)) {
    using namespace filecommands;
    QStyle* style = QApplication::style();
    auto make = [&](const QString& text, const QString& hint, const char* name,
                    QStyle::StandardPixmap icon, const QKeySequence& keys) {
        auto* action = new QAction(style->standardIcon(icon), text, this);
        action->setObjectName(QString::fromLatin1(name));
        action->setToolTip(hint);
        action->setStatusTip(hint);
        action->setShortcut(keys);
        return action;
    };
    saveOnly_ = make(SaveOnlyText, SaveOnlyHint, "SaveDimensions", QStyle::SP_DialogSaveButton,
                     QKeySequence::Save);
    save_ = make(SaveText, SaveHint, "SaveAsDimensions", QStyle::SP_DialogSaveButton,
                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    open_ =
        make(OpenText, OpenHint, "OpenDimensions", QStyle::SP_DialogOpenButton, QKeySequence::Open);
    openOlder_ =
        make(OpenOlderText, OpenOlderHint, "OpenDosVersionDim", QStyle::SP_DirOpenIcon, {});
    connect(saveOnly_, &QAction::triggered, this, &FileCommands::SaveDimensionsClick);
    connect(save_, &QAction::triggered, this, &FileCommands::SaveAsDimensionsClick);
    connect(open_, &QAction::triggered, this, &FileCommands::OpenDimensionsClick);
    connect(openOlder_, &QAction::triggered, this, &FileCommands::OpenDosVersionDimClick);
    recentMenu_->setObjectName(QStringLiteral("RecentFiles1"));
    RebuildRecentMenu();
}

FileCommands::~FileCommands() = default;

void FileCommands::AddTo(QMenu* fileMenu, QToolBar* toolBar) {
    if (fileMenu != nullptr) {
        fileMenu->addAction(open_);
        fileMenu->addMenu(recentMenu_.get());
        fileMenu->addAction(saveOnly_);
        fileMenu->addAction(save_);
        fileMenu->addAction(openOlder_);
    }
    if (toolBar == nullptr) return;
    for (QAction* action : {open_, saveOnly_, save_, openOlder_}) {
        toolBar->addAction(action);
        if (QWidget* button = toolBar->widgetForAction(action))
            button->setObjectName(action->objectName() + QStringLiteral("Button"));
    }
}

void FileCommands::SetFileChooser(FileChooser chooser) {
    if (!chooser) {
        chooser_ = nullptr;
        return;
    }
    chooser_ = [chooser = std::move(chooser)](const FileDialogRequest& r) {
        return FileChoice{chooser(r), r.NameFilters.value(0)};
    };
}
void FileCommands::SetFilteredFileChooser(FilteredFileChooser chooser) {
    chooser_ = std::move(chooser);
}
void FileCommands::SetMessageShower(MessageShower shower) {
    shower_ = std::move(shower);
}
void FileCommands::SetAsker(Asker asker) {
    asker_ = std::move(asker);
}
void FileCommands::SetSaveFailureBox(SaveFailureBox box) {
    saveFailureBox_ = std::move(box);
}

FileChoice FileCommands::Choose(FileDialogRequest request) {
    request.Directory = recent_->LastFolder();
    FileChoice choice = chooser_ ? chooser_(request) : ShowFileDialog(link_.MainWidget(), request);
    if (!choice.Path.isEmpty()) recent_->SetLastFolder(QFileInfo(choice.Path).absolutePath());
    return choice;
}

QMessageBox::StandardButton FileCommands::Ask(const QString& text,
                                              QMessageBox::StandardButtons buttons) {
    if (asker_) return asker_(text, buttons);
    return ShowQuestion(link_.MainWidget(), text, buttons);
}

void FileCommands::ShowError(const std::string& message) {
    const QString text = QString::fromStdString(message);
    if (shower_) {
        shower_(text);
        return;
    }
    filecommands::MakeErrorBox(link_.MainWidget(), text)->exec();
}

bool FileCommands::ConfirmUnsavedChanges() {
    if (!kes::IsDesignModified(model_)) return true;
    const QString name = QString::fromStdString(model_.DataSetName);
    const auto answer = Ask(filecommands::SaveChangesQuestion(name),
                            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    if (answer == QMessageBox::Discard) return true;
    if (answer == QMessageBox::Save) return SaveDimensionsClick();
    return false;
}

bool FileCommands::SaveTo(const QString& path) {
    const kes::FileResult result = kes::SaveDimensionsAs(model_, LocalPath(path));
    if (!result.Ok) {
        const QString text =
            filecommands::SaveFailedText(path, QString::fromStdString(result.Message));
        bool saveAs = false;
        if (saveFailureBox_)
            saveAs = saveFailureBox_(text);
        else if (shower_)
            shower_(text);
        else
            saveAs = ShowSaveFailure(link_.MainWidget(), text);
        return saveAs && SaveAsDimensionsClick();
    }
    currentPath_ = QFileInfo(path).absoluteFilePath();
    kes::MarkDesignSaved(model_);
    recent_->Add(currentPath_);
    RebuildRecentMenu();
    emit DimensionsSaved();
    return true;
}

bool FileCommands::SaveDimensionsClick() {
    if (currentPath_.isEmpty()) return SaveAsDimensionsClick();
    return SaveTo(currentPath_);
}

bool FileCommands::SaveAsDimensionsClick() {
    const FileChoice choice = Choose(filecommands::SaveRequest());
    const QString path = filecommands::SavePathFor(choice);
    if (path.isEmpty()) return false;
    // The dialog asked about the name as typed; the appended one may exist.
    if (path != choice.Path && QFileInfo::exists(path) &&
        Ask(QStringLiteral("%1 already exists.\nDo you want to replace it?")
                .arg(QFileInfo(path).fileName()),
            QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return false;
    return SaveTo(path);
}

bool FileCommands::Load(const QString& path, bool older) {
    const kes::Model before = model_;
    const kes::FileResult result = older ? kes::ImportOlderDimensionFile(model_, LocalPath(path))
                                         : kes::OpenDimensionFile(model_, LocalPath(path));
    if (!result.Ok) {
        ShowError(result.Message);
        return false;
    }
    if (parent())
        overlay::ComparedDesignOf(*parent()).KeepBefore(before, QStringLiteral("file load"));
    // An imported older file is not what "&Save" writes.
    currentPath_ = older ? QString() : QFileInfo(path).absoluteFilePath();
    AfterLoad();
    recent_->Add(path);
    RebuildRecentMenu();
    return true;
}

void FileCommands::OpenDimensionsClick() {
    if (!ConfirmUnsavedChanges()) return;
    const QString path = Choose(filecommands::OpenRequest()).Path;
    if (path.isEmpty()) return;
    if (Load(path, false)) emit LinesRefreshNeeded();
}

void FileCommands::OpenDosVersionDimClick() {
    if (!ConfirmUnsavedChanges()) return;
    const QString path = Choose(filecommands::OpenOlderRequest()).Path;
    if (!path.isEmpty() && !Load(path, true)) return;
    // Cancelled or not, the lines-and-circles fields are refreshed.
    emit LinesRefreshNeeded();
}

bool FileCommands::OpenPath(const QString& path) {
    if (!Load(path, IsOlderFormat(path))) return false;
    emit LinesRefreshNeeded();
    return true;
}

void FileCommands::OpenRecentFile(const QString& path) {
    if (!ConfirmUnsavedChanges()) return;
    if (!OpenPath(path) && !QFileInfo::exists(path)) {
        recent_->Remove(path);
        RebuildRecentMenu();
    }
}

void FileCommands::DesignReset() {
    currentPath_.clear();
    kes::BumpDesignRevision(model_);
    kes::MarkDesignSaved(model_);
}

void FileCommands::AfterLoad() {
    // Mid gear, then the reverse-arm bar's range and position.
    const int position = kes::FinishDimensionLoad(model_);
    // A new design for every window, and nothing of it unsaved yet.
    kes::BumpDesignRevision(model_);
    kes::MarkDesignSaved(model_);
    link_.SetRevArmBarRange();
    link_.SetRevArmBarPosition(position);
    emit DimensionsLoaded();
}

void FileCommands::RebuildRecentMenu() {
    recentMenu_->clear();
    const QStringList files = recent_->Files();
    const QStringList texts = filecommands::RecentMenuTexts(files);
    // The full path shows as the item's tooltip.
    recentMenu_->setToolTipsVisible(true);
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString& path = files[i];
        QAction* a = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(texts[i]));
        a->setObjectName(QStringLiteral("RecentFile%1").arg(i + 1));
        a->setToolTip(path);
        a->setStatusTip(path);
        a->setData(path);
        connect(a, &QAction::triggered, this, [this, path] { OpenRecentFile(path); });
    }
    recentMenu_->setEnabled(!files.isEmpty());
}
