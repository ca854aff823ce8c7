#pragma once

#include "exchange/VersionCompare.h"
#include "platform/gui/Form.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTextBrowser;

namespace platform {
class Dialogs;
}

namespace exchange {

// Compares two version files, such as a version and its backup copy: the user chooses the two
// files, the window lists the verses that differ with their counts and shows the words changed
// in the verse selected.
class frmCompare : public platform::Form<QDialog>
{
    Q_OBJECT

public:
    frmCompare(platform::Dialogs& dialogs, QString programFolder, QWidget* parent = nullptr);

public slots:
    // Choose version A and version B in a file dialog.
    void Command1_Click();
    void Command2_Click();
    // Compares, with the busy pointer, and lists the verses that differ.
    void Command3_Click();
    void Command4_Click();
    // Shows the word difference of the verse selected.
    void List1_Click();

private:
    void Form_Load() override;
    void createControls();
    void applyTexts();
    void placeControls();

    platform::Dialogs& m_dialogs;
    QString m_programFolder;
    CompareOutcome m_outcome;

    QLabel* Label1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* Command1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Text2 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QLabel* Label3 = nullptr;
    QListWidget* List1 = nullptr;
    QTextBrowser* Text3 = nullptr;
    QPushButton* Command4 = nullptr;
};

} // namespace exchange
