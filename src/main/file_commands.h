#pragma once
// The main window's dimension-file commands: "Save&AsDimensions",
// "&OpenDimensions" and "Open&DosVersionDim", with their tool buttons.
// The file dialog and the error box go through replaceable functions so
// tests can choose the file and read the message without a modal window.

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QAction;
class QFileDialog;
class QMenu;
class QMessageBox;
class QToolBar;
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
};

namespace filecommands {
inline const QString SaveTitle = QStringLiteral("Save As.....");
inline const QString KvdSuffix = QStringLiteral("kvd");
inline const QString KvxSuffix = QStringLiteral("kvx");
inline const QString KvdFilter = QStringLiteral("Data File (*.kvd)");
inline const QString KvxFilter = QStringLiteral("Data Files (*.kvx)");
inline const QString AllFilesFilter = QStringLiteral("All Files (*.*)");
inline const QString ErrorBoxTitle = QStringLiteral("KESTROVE");

inline const QString SaveText = QStringLiteral("Save&AsDimensions");
inline const QString OpenText = QStringLiteral("&OpenDimensions");
inline const QString OpenOlderText = QStringLiteral("Open&DosVersionDim");
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
} // namespace filecommands

class FileCommands : public QObject {
    Q_OBJECT
  public:
    // Shows the dialog; the chosen path, or an empty string when cancelled.
    using FileChooser = std::function<QString(const FileDialogRequest&)>;
    // Shows a failed command's message ("File not found", "Disk full", ...).
    using MessageShower = std::function<void(const QString&)>;

    FileCommands(kes::Model& model, MainFormLink& link, QObject* parent = nullptr);

    // Adds the three commands to the "&File" menu and to the tool bar (either
    // may be null).
    void AddTo(QMenu* fileMenu, QToolBar* toolBar);
    QAction* SaveAsDimensionsAction() const { return save_; }
    QAction* OpenDimensionsAction() const { return open_; }
    QAction* OpenDosVersionDimAction() const { return openOlder_; }

    void SetFileChooser(FileChooser chooser);
    void SetMessageShower(MessageShower shower);

  public slots:
    void SaveAsDimensionsClick();
    void OpenDimensionsClick();
    void OpenDosVersionDimClick();

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
    QString Choose(const FileDialogRequest& request);
    void ShowError(const std::string& message);
    void AfterLoad();

    kes::Model& model_;
    MainFormLink& link_;
    FileChooser chooser_;
    MessageShower shower_;
    QAction* save_ = nullptr;
    QAction* open_ = nullptr;
    QAction* openOlder_ = nullptr;
};
