// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's dimension-file commands: "&Save", "Save&AsDimensions",
// "&OpenDimensions" and "Open&DosVersionDim", with their tool buttons, the
// recent files and the question about unsaved changes. The file dialog, the
// error box and the question go through replaceable functions so tests can
// choose the file and answer without a modal window.

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QAction;
class QFileDialog;
class QMenu;
class QToolBar;
class RecentFiles;
class QWidget;
class MainFormLink;

namespace kes {
struct Model;
}

// What a file dialog is asked to show.
struct FileDialogRequest {
    bool Save = false;
    QString Title;           // empty: the toolkit's own title
    QString DefaultSuffix;   // without the dot
    QStringList NameFilters; // "Data File (*.kvd)", "All Files (*.*)"
    bool MustExist = false;  // open: only an existing file is accepted
    bool ConfirmOverwrite = false;
    QString Directory; // where the dialog starts; empty: the toolkit's choice
};

// What the user chose: the path ("" when cancelled) and the name filter
// that was selected.
struct FileChoice {
    QString Path;
    QString Filter;
};

namespace filecommands {
inline const QString SaveTitle = QStringLiteral("Save As.....");
inline const QString KvdSuffix = QStringLiteral("kvd");
inline const QString KvxSuffix = QStringLiteral("kvx");
inline const QString KvdFilter = QStringLiteral("Data File (*.kvd)");
inline const QString KvxFilter = QStringLiteral("Data Files (*.kvx)");
inline const QString AllFilesFilter = QStringLiteral("All Files (*.*)");
inline const QString ErrorBoxTitle = QStringLiteral("KESTROVE");

inline const QString SaveOnlyText = QStringLiteral("&Save");
inline const QString RecentText = QStringLiteral("&Recent Files");
inline const QString SaveText = QStringLiteral("Save&AsDimensions");
inline const QString OpenText = QStringLiteral("&OpenDimensions");
inline const QString OpenOlderText = QStringLiteral("Open&DosVersionDim");
inline const QString SaveOnlyHint = QStringLiteral("Save: Dimensional Data");
inline const QString SaveHint = QStringLiteral("Save As: Dimensional Data");
inline const QString OpenHint = QStringLiteral("Open File: Dimensional Data");
inline const QString OpenOlderHint = QStringLiteral("Open File: DOS Version Dimensional Data");

FileDialogRequest SaveRequest();
FileDialogRequest OpenRequest();
FileDialogRequest OpenOlderRequest();
// Sets up a dialog for a request (does not show it).
void ConfigureFileDialog(QFileDialog& dialog, const FileDialogRequest& request);
// The error box for a failed command (not shown).
QMessageBox* MakeErrorBox(QWidget* parent, const QString& text);
// "Save changes to NAME?"
QString SaveChangesQuestion(const QString& dataSetName);
// The box of a failed save: the file, the reason, and a way out.
inline const QString SaveAsButtonText = QStringLiteral("Save As\u2026");
QString SaveFailedText(const QString& path, const QString& reason);
// The recent files' menu texts: the file names, with the folder added where
// two files share a name.
QStringList RecentMenuTexts(const QStringList& paths);
// The path a save writes: with the "Data File (*.kvd)" filter chosen, a name
// whose extension is not ".kvd" gets ".kvd" appended.
QString SavePathFor(const FileChoice& choice);
} // namespace filecommands

class FileCommands : public QObject {
    Q_OBJECT
  public:
    // Shows the dialog; the chosen path, or an empty string when cancelled.
    // (The filter is taken to be the first of the request's.)
    using FileChooser = std::function<QString(const FileDialogRequest&)>;
    using FilteredFileChooser = std::function<FileChoice(const FileDialogRequest&)>;
    // Shows a failed command's message ("File not found", "Disk full", ...).
    using MessageShower = std::function<void(const QString&)>;
    // Asks a question with these buttons; the button pressed.
    using Asker = std::function<QMessageBox::StandardButton(const QString& text,
                                                            QMessageBox::StandardButtons buttons)>;
    // Shows a failed save's box; true when "Save As..." was chosen.
    using SaveFailureBox = std::function<bool(const QString& text)>;

    // Recent files and the last folder go to settingsFile (an INI file), or
    // to the user's settings of the application when it is empty.
    FileCommands(kes::Model& model, MainFormLink& link, QObject* parent = nullptr,
                 const QString& settingsFile = {});
    ~FileCommands() override;

    // Adds the commands to the "&File" menu and the tool bar (either may be
    // null): open, the recent files, save, save as, import.
    void AddTo(QMenu* fileMenu, QToolBar* toolBar);
    QAction* SaveDimensionsAction() const { return saveOnly_; }
    QAction* SaveAsDimensionsAction() const { return save_; }
    QAction* OpenDimensionsAction() const { return open_; }
    QAction* OpenDosVersionDimAction() const { return openOlder_; }
    QMenu* RecentFilesMenu() const { return recentMenu_.get(); }

    void SetFileChooser(FileChooser chooser);
    void SetFilteredFileChooser(FilteredFileChooser chooser);
    void SetMessageShower(MessageShower shower);
    void SetAsker(Asker asker);
    // Without one, a message shower set for the tests gets the text alone.
    void SetSaveFailureBox(SaveFailureBox box);

    // The file "&Save" writes ("" until the design is saved or opened).
    QString CurrentPath() const { return currentPath_; }
    RecentFiles& Recent() { return *recent_; }

    // When the design is modified: "Save changes to NAME?" with Save,
    // Discard and Cancel. True when the caller may go on (saved, discarded
    // or nothing to save); false for Cancel or a save that did not happen.
    bool ConfirmUnsavedChanges();
    // Opens a file without asking (".kvx" imports): the command line's file
    // at start, a recent file. False, after the usual message, when it
    // cannot be read; the design is then as it was.
    bool OpenPath(const QString& path);
    // The design was reset to the factory one: no file, nothing to save.
    void DesignReset();

  public slots:
    // Saves to the current file; "Save As" when there is none yet.
    bool SaveDimensionsClick();
    bool SaveAsDimensionsClick();
    void OpenDimensionsClick();
    void OpenDosVersionDimClick();
    void OpenRecentFile(const QString& path);

  signals:
    // The lines-and-circles window should refresh its fields from the
    // LineTable and mark the row of CurrentItem: after an open or import,
    // and after a cancelled import.
    void LinesRefreshNeeded();
    // A design was opened or imported (DataSetName and every dimension may
    // have changed).
    void DimensionsLoaded();
    // A design was saved (DataSetName changed).
    void DimensionsSaved();

  private:
    FileChoice Choose(FileDialogRequest request);
    QMessageBox::StandardButton Ask(const QString& text, QMessageBox::StandardButtons buttons);
    void ShowError(const std::string& message);
    bool SaveTo(const QString& path);
    bool Load(const QString& path, bool older);
    void AfterLoad();
    void RebuildRecentMenu();

    kes::Model& model_;
    MainFormLink& link_;
    FilteredFileChooser chooser_;
    MessageShower shower_;
    Asker asker_;
    SaveFailureBox saveFailureBox_;
    std::unique_ptr<RecentFiles> recent_;
    std::unique_ptr<QMenu> recentMenu_;
    QString currentPath_;
    QAction* saveOnly_ = nullptr;
    QAction* save_ = nullptr;
    QAction* open_ = nullptr;
    QAction* openOlder_ = nullptr;
};
