#pragma once

#include "platform/gui/ShellOpen.h"

#include <QDialog>
#include <QStringList>

class QDialogButtonBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace platform {
class Dialogs;
}

namespace maintenance {

// The backup guide: explains which files to keep, lists the version files of
// the install folder and opens that folder in the desktop's file browser.
// It reads no file contents and changes nothing.
class BackupGuideDialog : public QDialog
{
    Q_OBJECT

public:
    // The desktop's "Open"; when it refuses, the window names what to open by hand.
    using ShellOpen = platform::ShellOpen;

    BackupGuideDialog(platform::Dialogs& dialogs, const QString& programFolder, QWidget* parent = nullptr);

    // At least a width of some characters, so that the texts and fields read well at the first opening.
    [[nodiscard]] QSize sizeHint() const override;

    // Replaces the desktop's "Open" (tests record what would be opened).
    void setShellOpen(ShellOpen open) { m_shellOpen = std::move(open); }

    // The install folder as the file list reports it: its parent-folder step resolved.
    [[nodiscard]] static QString listFolder(const QString& programFolder);
    // The names of the normal files matching *.dat in any letter case, in name order.
    [[nodiscard]] static QStringList versionFileNames(const QString& folder);
    // The text of the list of version files, as the list button shows it.
    [[nodiscard]] static QString backupListText(const QString& folder, const QStringList& names);

private slots:
    void onBackupListClicked();
    void onOpenFolderClicked();

private:
    void createWidgets();
    void createLayout();
    void applyTexts();

    platform::Dialogs& m_dialogs;
    ShellOpen m_shellOpen;
    QString m_listFolder;
    // Read once as the window is made; files that come or go later show at the next opening.
    QStringList m_versionFiles;

    QLabel* m_headingLabel = nullptr;
    QPlainTextEdit* m_guideText = nullptr;
    QLabel* m_folderLabel = nullptr;
    QPushButton* m_backupListButton = nullptr;
    QPushButton* m_openFolderButton = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    QPushButton* m_okButton = nullptr;
};

} // namespace maintenance
