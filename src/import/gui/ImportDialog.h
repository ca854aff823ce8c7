#pragma once

#include "platform/gui/ShellOpen.h"

#include <QDialog>
#include <QList>
#include <QStringList>
#include <optional>

class QComboBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace platform {
class Dialogs;
class RunControl;
} // namespace platform

namespace importer {

struct RunInput;
struct RunOutcome;

// The import window: gathers the text files of one version and its name, and
// starts a check run or a build run of the pipeline on a worker, whose progress
// it shows and which its cancel button stops. While a run is in progress every
// other command is disabled and the window stays open; the window itself never
// reads or writes a version file. The findings of the last run are listed.
class ImportDialog : public QDialog
{
    Q_OBJECT

public:
    ImportDialog(platform::Dialogs& dialogs, QString programFolder, QWidget* parent = nullptr);

    // Replaces the desktop's "Open" (tests record what would be opened); when it refuses, the window names what to
    // open by hand.
    void setShellOpen(platform::ShellOpen open) { m_shellOpen = std::move(open); }

    // The file list's entries, in list order.
    [[nodiscard]] QStringList fileList() const;
    // What a run reads: the SWORD module chosen, else the file list.
    [[nodiscard]] RunInput runInput() const;
    [[nodiscard]] bool isRunning() const { return m_running; }

    // Appends each file or folder to the list in order, as its native path, as a
    // drop on the list does; nothing while a run is in progress.
    void addFiles(const QStringList& paths);

    // Escape, the close button and the close box: refused while a run is in progress, asked about while
    // files are listed.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onAddFilesClicked();
    void onRemoveClicked();
    void onEditFileClicked();
    void onOpenVersionClicked();
    void onCheckClicked();
    void onBuildClicked();
    void onFindingDoubleClicked(QTreeWidgetItem* item);
    // A module chosen puts the file list and its commands out of use; none chosen brings them back.
    void onSwordModuleChanged();

    // Runs the check (no name) or the build (a name) on a worker with every other command disabled.
    void run(std::optional<QString> versionName);
    // Shows a run's status (a build's only), busy progress and cancel button, or puts them away.
    void showWorkControls(bool shown, bool building = false);
    void showFindings(const RunOutcome& outcome);

    platform::Dialogs& m_dialogs;
    QString m_programFolder;
    platform::ShellOpen m_shellOpen;
    bool m_running = false;
    // The run going on, while one is.
    platform::RunControl* m_control = nullptr;

    // What a run disables: every command, the file list, the name box and the findings.
    QList<QWidget*> m_commands;
    QListWidget* m_fileList = nullptr;
    // The file list and the commands that work on it; the installed SWORD Bible modules, when any can be read.
    QList<QWidget*> m_fileCommands;
    QComboBox* m_swordModuleBox = nullptr;
    QComboBox* m_nameBox = nullptr;
    QLabel* m_statusLabel = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QTreeWidget* m_findingList = nullptr;
};

} // namespace importer
