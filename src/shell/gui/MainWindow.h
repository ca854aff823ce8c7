#pragma once

#include "platform/gui/Dialogs.h"

#include <QMainWindow>
#include <QStringList>
#include <utility>

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

// The program's dialogs, remembering the last message shown, so that the main window's status bar can say what the
// last run did after its window has closed.
class StatusDialogs final : public platform::Dialogs
{
public:
    explicit StatusDialogs(platform::Dialogs& dialogs) : m_dialogs(dialogs) {}

    // The last message since the last take, on one line; empty when there was none.
    [[nodiscard]] QString takeLastMessage()
    {
        QString text = std::exchange(m_lastMessage, {});
        return text.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(QLatin1Char('\n'), QLatin1Char(' '));
    }

    platform::MessageAnswer message(QWidget* parent, platform::MessageIcon icon, platform::MessageButtons buttons,
                                    const QString& text) override
    {
        if (buttons == platform::MessageButtons::Ok) {
            m_lastMessage = text;
        }
        return m_dialogs.message(parent, icon, buttons, text);
    }
    QStringList chooseFiles(QWidget* parent, const platform::FileDialogRequest& request) override
    {
        return m_dialogs.chooseFiles(parent, request);
    }
    QString chooseFolder(QWidget* parent, const platform::FileDialogRequest& request) override
    {
        return m_dialogs.chooseFolder(parent, request);
    }
    std::optional<platform::FontChoice> chooseFont(QWidget* parent, const platform::FontChoice& current) override
    {
        return m_dialogs.chooseFont(parent, current);
    }

private:
    platform::Dialogs& m_dialogs;
    QString m_lastMessage;
};

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
