#pragma once

#include "exchange/VersionInspection.h"
#include "platform/gui/Form.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTextBrowser;
class QTreeWidget;

namespace platform {
class Dialogs;
}

namespace exchange {

// Inspects the texts of a version: the user chooses the version (and another to compare lengths with) and the kinds
// to look for; the window lists the verses that look wrong by kind with their counts, shows the excerpt of the one
// selected, opens it in the verse editor, and composes decomposed Hangul as one change.
class frmInspect : public platform::Form<QDialog>
{
    Q_OBJECT

public:
    // Shows one verse of a version in the verse editor (the main window's way to it).
    using ShowVerse = std::function<void(const QString& path, const QString& reference)>;

    frmInspect(platform::Dialogs& dialogs, QString programFolder, ShowVerse showVerse, QWidget* parent = nullptr);

public slots:
    // Choose the version and the other version in a file dialog.
    void Command1_Click();
    void Command2_Click();
    // Inspects, with the busy pointer and the progress bar, and lists the findings.
    void Command3_Click();
    // Composes every decomposed text, after a question, and inspects again.
    void Command4_Click();
    // Shows the verse of the finding selected in the verse editor.
    void Command5_Click();
    void Command6_Click();
    // Shows the excerpt of the finding selected.
    void List1_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load() override;
    void createControls();
    void applyTexts();
    void placeControls();
    // The finding selected, or nothing for a heading or no selection.
    [[nodiscard]] const Finding* selectedFinding() const;

    platform::Dialogs& m_dialogs;
    QString m_programFolder;
    ShowVerse m_showVerse;
    InspectOutcome m_outcome;
    QString m_inspected; // the version of m_outcome

    QLabel* Label1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* Command1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Text2 = nullptr;
    QPushButton* Command2 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QCheckBox* Check[kInspectionKinds] = {}; // "Check1" to "Check11", in the order of InspectionKind
    QPushButton* Command3 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* Label3 = nullptr;
    QTreeWidget* List1 = nullptr;
    QTextBrowser* Text3 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command6 = nullptr;
};

} // namespace exchange
