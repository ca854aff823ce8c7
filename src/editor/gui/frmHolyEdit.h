#pragma once

#include "editor/VerseEditor.h"
#include "platform/gui/Form.h"

#include <QDialog>
#include <QString>
#include <optional>
#include <vector>

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace platform {
class Dialogs;
}

namespace editor {

// The verse editor: opens one version file, goes to a verse by its reference or
// steps by 번호, and saves the rewritten text of that verse into 본문.
// The version stays open exclusively until another is opened or the window closes.
class frmHolyEdit : public platform::Form<QDialog>
{
    Q_OBJECT

public:
    frmHolyEdit(platform::Dialogs& dialogs, QString programFolder, QWidget* parent = nullptr);
    ~frmHolyEdit() override;

    [[nodiscard]] bool enterWarningShown() const { return EnterWarningShown; }
    [[nodiscard]] bool versionOpen() const { return m_version.isOpen(); }

    // Opens the version at path, closing the one open, and shows the verse of reference, as a choice of the file and
    // then of the verse would (another window's way to a verse); the engine's failure when the version does not open.
    std::optional<EngineFailure> showVerse(const QString& path, const QString& reference);

    // A key typed into the reference box or the text box, as its character code; a
    // handler that swallows the key sets it to 0.
    void Text1_KeyPress(int& KeyAscii);
    void Text3_KeyPress(int& KeyAscii);

public slots:
    void Command9_Click();
    void Command2_Click();
    void Text1_Change();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command10_Click();
    void Command8_Click();
    void Text3_Change();
    void Command1_Click();
    // Takes back the last change of the verse shown and shows it again.
    void Command11_Click();
    // The changes of the verse shown, in the history window; a restore there shows the verse again.
    void Command12_Click();
    // Find and replace over the open version (Ctrl+F too); a verse chosen there is shown here.
    void Command13_Click();

    // However the window closes, the version is closed first.
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load() override;
    void CloseVersion();
    void createControls();
    void applyTexts();
    void placeControls();

    // The no-version refusal: true, after the message, when no version is open.
    bool refusedWithoutVersion();
    // Back to the window as it loads: no version, its title, the commands disabled.
    void showNoVersion();
    void setVersionControlsEnabled(bool enabled);
    void showEngineFailure(const EngineFailure& failure);
    // The reference of the verse shown; nothing, after the refusal, without a version or a verse shown.
    [[nodiscard]] std::optional<QString> shownReference();
    // Shows again the verse whose text a change taken back restored, and says which change it took back.
    void showTakenBack(const QString& reference, const std::vector<versiondb::VerseChange>& restored);
    // A message about the open version: its name, two line breaks, the text.
    [[nodiscard]] QString aboutVersion(const QString& text) const;
    // Shows the verse a step to the previous or next verse arrived at, or why it did not.
    void showStep(const StepOutcome& outcome);
    void warn(const QString& text);
    // The text box's contents, with every line break it holds.
    [[nodiscard]] QString text3() const;

    platform::Dialogs& m_dialogs;
    QString m_programFolder;
    VerseEditor m_version;
    // Whether the warning about Enter in the text box has been shown since the window loaded.
    bool EnterWarningShown = false;
    // The text box's contents at its last change, so that only a change of the text counts.
    QString m_lastText3;

    QLabel* Image1 = nullptr;
    QFrame* Shape1 = nullptr;
    QFrame* Shape2 = nullptr;
    QFrame* Shape3 = nullptr;
    QFrame* Line1 = nullptr;
    QFrame* Line2 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Command9 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command6 = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* Command7 = nullptr;
    QLabel* Label10 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLabel* Label5 = nullptr;
    QPlainTextEdit* Text3 = nullptr;
    QPushButton* Command10 = nullptr;
    QPushButton* Command8 = nullptr;
    QPushButton* Command11 = nullptr;
    QPushButton* Command12 = nullptr;
    QPushButton* Command13 = nullptr;
    QPushButton* Command1 = nullptr;
};

} // namespace editor
