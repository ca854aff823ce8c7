#pragma once

#include "platform/gui/Form.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QFrame;

namespace maintenance {
struct Message;
}

namespace platform {
class Dialogs;
}

namespace shell {

// The main window: a column of function buttons, the program's only modeless window.
class frmMain : public platform::Form<QWidget>
{
    Q_OBJECT

public:
    frmMain(platform::Dialogs& dialogs, QString programFolder, QWidget* parent = nullptr);

    [[nodiscard]] bool dialogCancelled() const { return DialogCancelled; }

public slots:
    void Command1_Click();
    // Shows the import window modally.
    void Command4_Click();

    // Shows the verse editor modally.
    void Command3_Click();

    // The maintenance commands, the backup guide and the About window.
    void Command5_Click();
    void Command7_Click();
    void Command8_Click();
    void Command6_Click();
    void Command2_Click();
    // Shows the export window modally.
    void Command9_Click();
    // Shows the comparison window modally.
    void Command10_Click();
    // Shows the inspection window modally; a verse chosen there opens in the verse editor.
    void Command11_Click();
    void ccrpFileDialogs1_CancelDialog();

private:
    void Form_Load() override;
    void createControls();
    void applyTexts();
    void placeControls();

    // The shared dialog step of the maintenance commands: the chosen path, or
    // nothing with DialogCancelled set when the user cancelled.
    QString chooseMaintenanceFile(const QString& title, const QString& actionWord);
    void RepairVersion(const QString& path);
    void CompactVersion(const QString& path);
    void DeleteVersion(const QString& path);
    void showMessages(const QList<maintenance::Message>& messages);

    platform::Dialogs& m_dialogs;
    QString m_programFolder;

    // Set when the user cancels the maintenance commands' file dialog.
    bool DialogCancelled = false;

    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command7 = nullptr;
    QPushButton* Command6 = nullptr;
    QPushButton* Command8 = nullptr;
    QPushButton* Command9 = nullptr;
    QPushButton* Command10 = nullptr;
    QPushButton* Command11 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command1 = nullptr;
    QLabel* Picture1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QFrame* Shape1 = nullptr;
};

} // namespace shell
