#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QFrame;

namespace platform {
class Dialogs;
}

namespace shell {

// The main window: a column of function buttons, the program's only modeless window.
class frmMain : public QWidget
{
    Q_OBJECT

public:
    frmMain(platform::Dialogs& dialogs, QString programFolder, QWidget* parent = nullptr);

    [[nodiscard]] bool dialogCancelled() const { return DialogCancelled; }

public slots:
    void Command1_Click();
    void Command4_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void createControls();
    void applyTexts();
    void placeControls();

    platform::Dialogs& m_dialogs;
    QString m_programFolder;
    bool m_loaded = false;

    // Set when the user cancels the maintenance commands' file dialog.
    bool DialogCancelled = false;

    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command7 = nullptr;
    QPushButton* Command6 = nullptr;
    QPushButton* Command8 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command1 = nullptr;
    QLabel* Picture1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QFrame* Shape1 = nullptr;
};

} // namespace shell
