#pragma once

#include "platform/gui/BackgroundRun.h"
#include "platform/gui/WindowRun.h"

#include <QDialog>

class QDialogButtonBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace platform {

class Dialogs;

// What the export, comparison and inspection windows share: version files chosen in a file dialog that starts in the
// folder a version was last chosen from (else the install folder), and runs on a worker with a progress bar and a
// cancel button, during which the window refuses to close.
class RunDialog : public QDialog
{
    Q_OBJECT

public:
    // Puts path into the (first) version field, as a choice in the file dialog does.
    void setVersion(const QString& path);
    // Closes, unless a run is going on.
    void reject() override;

protected:
    RunDialog(Dialogs& dialogs, QString programFolder, QWidget* parent);

    struct PathField
    {
        QLabel* label;
        QLineEdit* edit;
        QPushButton* browseButton;
    };
    // A path field and its 찾아보기... button, named name + "Label", "Edit" and "BrowseButton".
    PathField pathField(const char* name, const QString& label);
    // The same as a row of grid whose button chooses a version file in a dialog titled title; returns the field.
    QLineEdit* addVersionRow(QGridLayout* grid, int row, const char* name, const QString& label, const QString& title);
    // Asks for a version file in a dialog titled title and puts its path into edit; a cancelled dialog leaves it.
    void chooseVersion(QLineEdit* edit, const QString& title);
    // Makes the progress bar and the cancel button, idle.
    void makeRunControls();
    // The button box with its 닫기 button.
    QDialogButtonBox* makeCloseButtons();

    // Runs work(control) on a worker while every control of the window but its cancel button waits, and returns its
    // outcome.
    template <typename Work> auto run(Work work)
    {
        RunControl control;
        const WindowRun running(this, m_progressBar, m_cancelButton, control);
        return runInBackground(control, m_progressBar, [&work, &control] { return work(&control); });
    }

    Dialogs& m_dialogs;
    QString m_programFolder;
    QLineEdit* m_versionEdit = nullptr; // the field setVersion fills: version A's in the comparison
    QProgressBar* m_progressBar = nullptr;
    QPushButton* m_cancelButton = nullptr;
};

} // namespace platform
