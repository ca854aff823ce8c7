#pragma once

#include "platform/gui/ShellOpen.h"

#include <QDialog>
#include <QStringList>
#include <optional>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QListWidget;
class QMimeData;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace platform {
class Dialogs;
class RunControl;
} // namespace platform

namespace importer {

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
    // The desktop's "Open"; when it refuses, the window names what to open by hand.
    using ShellOpen = platform::ShellOpen;

    ImportDialog(platform::Dialogs& dialogs, QString programFolder, QWidget* parent = nullptr);
    ~ImportDialog() override;

    // Replaces the desktop's "Open" (tests record what would be opened).
    void setShellOpen(ShellOpen open) { m_shellOpen = std::move(open); }

    // The file list's entries, in list order.
    [[nodiscard]] QStringList fileList() const;
    [[nodiscard]] bool isRunning() const { return m_running; }

    // Appends each file or folder to the list in order, as its native path, as a
    // drop on the list does; nothing while a run is in progress.
    void addFiles(const QStringList& paths);

public slots:
    void onAddFilesClicked();
    void onRemoveClicked();
    void onRemoveAllClicked();
    void onEditFileClicked();
    void onFileListDoubleClicked();
    void onOpenVersionClicked();
    void onCheckClicked();
    void onBuildClicked();
    void onFormatHelpClicked();
    void onCancelClicked();
    void onFindingDoubleClicked(QTreeWidgetItem* item);

    // Escape, the close button and the close box: refused while a run is in progress, asked about while
    // files are listed.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createWidgets();
    void createLayout();
    void applyTexts();

    void warn(const QString& text);
    // Runs the check (no name) or the build (a name) on a worker with every other command disabled.
    void run(std::optional<QString> versionName);
    void setCommandsEnabled(bool enabled);
    void showWorkControls(bool building);
    void resetWorkControls();
    // Lists the findings of a run.
    void showFindings(const RunOutcome& outcome);
    // Whether the window may close now: never during a run (the user is told), and with files listed only
    // when the user says so.
    [[nodiscard]] bool mayClose();

    platform::Dialogs& m_dialogs;
    QString m_programFolder;
    ShellOpen m_shellOpen;
    bool m_running = false;
    // The run going on, while one is.
    platform::RunControl* m_control = nullptr;

    QTabWidget* m_stepTabs = nullptr;

    // Tab 1: the text files.
    QLabel* m_dropMarkLabel = nullptr;
    QLabel* m_dropInstructionLabel = nullptr;
    QLabel* m_addHintLabel = nullptr;
    QLabel* m_formatLeadLabel = nullptr;
    QPushButton* m_formatHelpButton = nullptr;
    QLabel* m_formatTailLabel = nullptr;
    QListWidget* m_fileList = nullptr;
    QPushButton* m_addFilesButton = nullptr;
    QPushButton* m_editFileButton = nullptr;
    QPushButton* m_removeButton = nullptr;
    QPushButton* m_removeAllButton = nullptr;
    QPushButton* m_checkButton = nullptr;

    // Tab 2: the version name.
    QLabel* m_nameQuestionLabel = nullptr;
    QLabel* m_nameLabel = nullptr;
    QComboBox* m_nameBox = nullptr;
    QPushButton* m_openVersionButton = nullptr;
    QLabel* m_overwriteNoteLabel = nullptr;
    QLabel* m_shippedWarningLabel = nullptr;

    // Tab 3: the build and its progress.
    QLabel* m_startHintLabel = nullptr;
    QLabel* m_durationNoteLabel = nullptr;
    QLabel* m_recommendationLabel = nullptr;
    QPushButton* m_buildButton = nullptr;

    // Below the steps: a run's status, progress and cancel button, and the findings of the last run.
    QLabel* m_statusLabel = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QTreeWidget* m_findingList = nullptr;

    QDialogButtonBox* m_buttonBox = nullptr;
    QPushButton* m_closeButton = nullptr;
};

} // namespace importer
