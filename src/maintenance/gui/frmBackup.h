#pragma once

#include "platform/gui/Form.h"
#include "platform/gui/ShellOpen.h"

#include <QDialog>
#include <QStringList>

class QFrame;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace platform {
class Dialogs;
}

namespace maintenance {

// The backup guide: explains which files to keep, lists the version files of
// the install folder and opens that folder in the desktop's file browser.
// It reads no file contents and changes nothing.
class frmBackup : public platform::Form<QDialog>
{
    Q_OBJECT

public:
    // The desktop's "Open"; when it refuses, the window names what to open by hand.
    using ShellOpen = platform::ShellOpen;

    frmBackup(platform::Dialogs& dialogs, QString programFolder, QWidget* parent = nullptr);

    // Replaces the desktop's "Open" (tests record what would be opened).
    void setShellOpen(ShellOpen open) { m_shellOpen = std::move(open); }

    // The install folder as the file list reports it: its parent-folder step resolved.
    [[nodiscard]] static QString listFolder(const QString& programFolder);
    // The names of the normal files matching *.dat in any letter case, in name order.
    [[nodiscard]] static QStringList versionFileNames(const QString& folder);
    // The text of the list of version files, as Command3 shows it.
    [[nodiscard]] static QString backupListText(const QString& folder, const QStringList& names);

public slots:
    void Command3_Click();
    void Command2_Click();
    void Command1_Click();

private:
    void Form_Load() override;
    void createControls();
    void applyTexts();
    void placeControls();

    platform::Dialogs& m_dialogs;
    QString m_programFolder;
    ShellOpen m_shellOpen;
    QString m_listFolder;

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QFrame* Line1 = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    QFrame* Shape1 = nullptr;
    QLabel* Label2 = nullptr;
    QListWidget* File1 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command2 = nullptr;
    QFrame* Line2 = nullptr;
    QPushButton* Command1 = nullptr;
};

} // namespace maintenance
