#pragma once

#include "import/RunObserver.h"
#include "platform/gui/Form.h"
#include "platform/gui/ShellOpen.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QStringList>
#include <memory>
#include <optional>

class QComboBox;
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
class frmAppend : public platform::Form<QDialog>, private RunObserver
{
    Q_OBJECT

public:
    // The desktop's "Open"; when it refuses, the window names what to open by hand.
    using ShellOpen = platform::ShellOpen;

    frmAppend(platform::Dialogs& dialogs, QString programFolder, QWidget* parent = nullptr);
    ~frmAppend() override;

    // Replaces the desktop's "Open" (tests record what would be opened).
    void setShellOpen(ShellOpen open) { m_shellOpen = std::move(open); }

    // The file list's entries, in list order.
    [[nodiscard]] QStringList fileList() const;
    [[nodiscard]] bool isRunning() const { return m_running; }

    // Appends every file or folder of dropped data to the list, in order.
    void List1_OLEDragDrop(const QMimeData* dropped);

public slots:
    void Command3_Click();
    void Command2_Click();
    void Command6_Click();
    void Command4_Click();
    void List1_DblClick();
    void Command8_Click();
    void Command11_Click();
    void Command7_Click();
    void Command5_Click();
    void Command1_Click();

    // Escape and the close box do nothing while a run is in progress.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load() override;
    void createControls();
    void applyTexts();
    void placeControls();
    void placeFormatButton();

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

    QTabWidget* VideoSoftIndexTab1 = nullptr;
    QWidget* VideoSoftElastic1 = nullptr;
    QWidget* VideoSoftElastic2 = nullptr;
    QWidget* VideoSoftElastic3 = nullptr;

    // Tab 1.
    QLabel* Label10 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* Command5 = nullptr;
    QListWidget* List1 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command6 = nullptr;
    QPushButton* Command11 = nullptr;

    // Tab 2.
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QComboBox* Combo1 = nullptr;
    QPushButton* Command8 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label11 = nullptr;

    // Tab 3.
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QPushButton* Command7 = nullptr;
    QLabel* Label15 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;

    // On the window itself.
    QLabel* Image1 = nullptr;
    QListWidget* List2 = nullptr;
    QPushButton* Command1 = nullptr;
};

} // namespace importer
