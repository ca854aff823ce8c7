#pragma once

#include "shell/gui/StatusDialogs.h"

#include <QMainWindow>
#include <QStringList>

class QAction;
class QProgressBar;
class QPushButton;
class QMenu;
class QTableView;

namespace platform {
class RunControl;
}

namespace shell {

class VersionListModel;

// The main window: the version files of the install folder in a list, and every function of the program in its
// menus, its toolbar and the list's context menu. The functions that work on one version act on the one selected.
// Every other window opens modally over it.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    MainWindow(platform::Dialogs& dialogs, QString programFolder, QWidget* parent = nullptr);

    [[nodiscard]] VersionListModel& versions() const { return *m_versions; }
    // The path of the version selected in the list; empty when none is.
    [[nodiscard]] QString selectedVersion() const;
    // Selects the version of that file name in the list; false when none is listed.
    bool selectVersion(const QString& fileName);
    // Opens the import window with these files listed.
    void importFiles(const QStringList& paths);

public slots:
    void onEditTriggered();
    void onOpenTriggered();
    void onImportTriggered();
    void onExportTriggered();
    void onCompareTriggered();
    void onInspectTriggered();
    void onRepairTriggered();
    void onCompactTriggered();
    void onDeleteTriggered();
    void onBackupGuideTriggered();
    void onAboutTriggered();
    void onExitTriggered();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void updateActions();
    // Opens the verse editor over parent on path at reference, or empty with no path.
    void editVersion(QWidget* parent, const QString& path, const QString& reference);
    // Runs work that may hold a version: the list stops reading first and reads again after; the status bar then
    // says what the last message of the work said.
    template <typename Work> void runHoldingVersions(Work work);
    // Asks the confirmation of the selected version, then runs the operation on it on a worker, the window waiting
    // with the run's progress and its cancel button in the status bar, and shows its outcome.
    template <typename Operation> void maintainSelected(QString (*confirmation)(const QString&), Operation operation);
    void showMessages(const QList<platform::Message>& messages);

    StatusDialogs m_dialogs;
    QString m_programFolder;
    VersionListModel* m_versions = nullptr;
    QTableView* m_versionTable = nullptr;
    QMenu* m_contextMenu = nullptr;
    QProgressBar* m_runProgress = nullptr;
    QPushButton* m_cancelButton = nullptr;
    platform::RunControl* m_running = nullptr; // the run in progress
    QAction* m_repairAction = nullptr;
    QAction* m_compactAction = nullptr;
    QAction* m_deleteAction = nullptr;
};

} // namespace shell
