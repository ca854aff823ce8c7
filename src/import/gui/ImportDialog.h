#pragma once

#include "import/RunObserver.h"
#include "platform/gui/ShellOpen.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QStringList>
#include <memory>
#include <optional>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QListWidget;
class QMimeData;
class QProgressBar;
class QPushButton;
class QTabWidget;

namespace platform {
class BusyPointer;
class Dialogs;
} // namespace platform

namespace importer {

// The import window: gathers the text files of one version and its name, and
// starts a check run or a build run of the pipeline, whose work it shows.
// While a run is in progress every command is disabled and the window stays
// open; the window itself never reads or writes a version file.
class ImportDialog : public QDialog, private RunObserver
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

    // Escape, the close button and the close box do nothing while a run is in progress.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createWidgets();
    void createLayout();
    void applyTexts();

    void warn(const QString& text);
    // Runs the check (no name) or the build (a name) with every command disabled.
    void run(std::optional<QString> versionName);
    void setCommandsEnabled(bool enabled);
    void resetWorkControls();
    void repaintSoon();

    // What the pipeline shows of a run.
    void showStatus(const QString& text) override;
    void hideStatus() override;
    void showProgress(int minimum, int maximum) override;
    void setProgressValue(int value) override;
    void hideProgress() override;
    void setBusy(bool busy) override;
    void processEvents() override;
    void versionNameCompleted(const QString& name) override;
    void showMessage(platform::MessageIcon icon, const QString& text) override;
    void openErrorLog(const QString& path) override;

    platform::Dialogs& m_dialogs;
    QString m_programFolder;
    ShellOpen m_shellOpen;
    bool m_running = false;
    QElapsedTimer m_sinceEvents;
    std::unique_ptr<platform::BusyPointer> m_busy;

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
    QLabel* m_statusLabel = nullptr;
    QProgressBar* m_progressBar = nullptr;

    QDialogButtonBox* m_buttonBox = nullptr;
    QPushButton* m_closeButton = nullptr;
};

} // namespace importer
