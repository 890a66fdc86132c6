#include "main/file_commands.h"

#include "files/dimension_file.h"
#include "ui_shell/main_form_link.h"
#include "model/model.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
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
}

QMessageBox* MakeErrorBox(QWidget* parent, const QString& text) {
    auto* box =
        new QMessageBox(QMessageBox::Critical, ErrorBoxTitle, text, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    return box;
}

} // namespace filecommands

namespace {

QString ShowFileDialog(QWidget* parent, const FileDialogRequest& request) {
    QFileDialog dialog(parent);
    filecommands::ConfigureFileDialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace

FileCommands::FileCommands(kes::Model& model, MainFormLink& link, QObject* parent)
    : QObject(parent), model_(model), link_(link) {
    using namespace filecommands;
    QStyle* style = QApplication::style();
    auto make = [&](const QString& text, const QString& hint, const char* name,
                    QStyle::StandardPixmap icon) {
        auto* action = new QAction(style->standardIcon(icon), text, this);
        action->setObjectName(QString::fromLatin1(name));
        action->setToolTip(hint);
        action->setStatusTip(hint);
        return action;
    };
    save_ = make(SaveText, SaveHint, "SaveAsDimensions", QStyle::SP_DialogSaveButton);
    open_ = make(OpenText, OpenHint, "OpenDimensions", QStyle::SP_DialogOpenButton);
    openOlder_ = make(OpenOlderText, OpenOlderHint, "OpenDosVersionDim", QStyle::SP_DirOpenIcon);
    connect(save_, &QAction::triggered, this, &FileCommands::SaveAsDimensionsClick);
    connect(open_, &QAction::triggered, this, &FileCommands::OpenDimensionsClick);
    connect(openOlder_, &QAction::triggered, this, &FileCommands::OpenDosVersionDimClick);
}

void FileCommands::AddTo(QMenu* fileMenu, QToolBar* toolBar) {
    for (QAction* action : {open_, save_, openOlder_}) {
        if (fileMenu != nullptr) fileMenu->addAction(action);
        if (toolBar != nullptr) {
            toolBar->addAction(action);
            if (QWidget* button = toolBar->widgetForAction(action))
                button->setObjectName(action->objectName() + QStringLiteral("Button"));
        }
    }
}

void FileCommands::SetFileChooser(FileChooser chooser) {
    chooser_ = std::move(chooser);
}
void FileCommands::SetMessageShower(MessageShower shower) {
    shower_ = std::move(shower);
}

QString FileCommands::Choose(const FileDialogRequest& request) {
    if (chooser_) return chooser_(request);
    return ShowFileDialog(link_.MainWidget(), request);
}

void FileCommands::ShowError(const std::string& message) {
    const QString text = QString::fromStdString(message);
    if (shower_) {
        shower_(text);
        return;
    }
    filecommands::MakeErrorBox(link_.MainWidget(), text)->exec();
}

void FileCommands::SaveAsDimensionsClick() {
    const QString path = Choose(filecommands::SaveRequest());
    if (path.isEmpty()) return;
    const kes::FileResult result = kes::SaveDimensionsAs(model_, LocalPath(path));
    if (!result.Ok) {
        ShowError(result.Message);
        return;
    }
    emit DimensionsSaved();
}

void FileCommands::OpenDimensionsClick() {
    const QString path = Choose(filecommands::OpenRequest());
    if (path.isEmpty()) return;
    const kes::FileResult result = kes::OpenDimensionFile(model_, LocalPath(path));
    if (!result.Ok) {
        ShowError(result.Message);
        return;
    }
    AfterLoad();
    emit LinesRefreshNeeded();
}

void FileCommands::OpenDosVersionDimClick() {
    const QString path = Choose(filecommands::OpenOlderRequest());
    if (!path.isEmpty()) {
        const kes::FileResult result = kes::ImportOlderDimensionFile(model_, LocalPath(path));
        if (!result.Ok) {
            ShowError(result.Message);
            return;
        }
        AfterLoad();
    }
    // Cancelled or not, the lines-and-circles fields are refreshed.
    emit LinesRefreshNeeded();
}

void FileCommands::AfterLoad() {
    // Mid gear, then the reverse-arm bar's range and position.
    const int position = kes::FinishDimensionLoad(model_);
    link_.SetRevArmBarRange();
    link_.SetRevArmBarPosition(position);
    emit DimensionsLoaded();
}
