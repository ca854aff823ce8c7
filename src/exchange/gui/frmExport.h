#pragma once

#include "platform/gui/Form.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace platform {
class Dialogs;
}

namespace exchange {

// Exports a version file as text files, as an IMP, OSIS or VPL file for SWORD's tools or as a
// Zefania XML file: the user chooses the version, the format, the encoding and the destination folder.
// A file of the other formats is named after the version, in the folder chosen.
class frmExport : public platform::Form<QDialog>
{
    Q_OBJECT

public:
    frmExport(platform::Dialogs& dialogs, QString programFolder, QWidget* parent = nullptr);

public slots:
    // Chooses the version file in the maintenance commands' file dialog.
    void Command1_Click();
    // Chooses the destination folder.
    void Command2_Click();
    // Exports, with the busy pointer, and says how many verses went where.
    void Command3_Click();
    void Command4_Click();
    // The format changed: only text files can be in code page 949, so the encoding is set to UTF-8
    // and locked while another format is chosen and given back when the text files are chosen again.
    void Option1_Click();

private:
    void Form_Load() override;
    void createControls();
    void applyTexts();
    void placeControls();

    platform::Dialogs& m_dialogs;
    QString m_programFolder;
    int m_textEncoding = 0; // the encoding chosen for text files while another format is chosen

    QLabel* Label1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* Command1 = nullptr;
    QLabel* Label2 = nullptr;
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QRadioButton* Option3 = nullptr;
    QRadioButton* Option4 = nullptr;
    QRadioButton* Option5 = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* Combo1 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Text2 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
};

} // namespace exchange
