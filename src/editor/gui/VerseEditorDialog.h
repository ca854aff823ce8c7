#pragma once

#include "editor/VerseEditor.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <optional>
#include <vector>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace platform {
class Dialogs;
}

namespace editor {

// The verse editor: opens one version file, goes to a verse by its reference or
// steps by 번호, and saves the rewritten text of that verse into 본문.
// The version stays open exclusively until another is opened or the window closes. The title marks a text that differs
// from the stored one; anything that would drop it asks first: 저장, 저장 안 함 or 취소.
class VerseEditorDialog : public QDialog
{
    Q_OBJECT

public:
    VerseEditorDialog(platform::Dialogs& dialogs, QString programFolder, QWidget* parent = nullptr);

    // Opens the version at path, closing the one open, and shows the verse of reference, as a choice of the file and
    // then of the verse would (another window's way to a verse); the engine's failure when the version does not open.
    // Without a reference it shows the first verse, as opening a version here does. An edit not saved is asked about
    // first; kept, nothing else happens (and nothing is returned).
    std::optional<versiondb::ErrorItem> showVerse(const QString& path, const QString& reference);

    // However the window closes, the version is closed first.
    void done(int result) override;
    // Escape and the close box: closes unless the user keeps an edit not saved.
    void reject() override;

protected:
    // Enter clicks the button that has the focus and no other: the window has no default button.
    void keyPressEvent(QKeyEvent* event) override;
    // Enter in the verse text box, whatever the modifier keys, never breaks the line.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onOpenVersionClicked();
    void onReferenceChanged();
    void onSaveClicked();
    void onFontClicked();
    // Takes back the version's last change whole (a build run, a replacement).
    void onUndoVersionClicked();
    // The changes of the verse shown, in the history window; a restore there shows the verse again.
    void onHistoryClicked();
    // Find and replace over the open version (Ctrl+F too); a verse chosen there is shown here.
    void onFindReplaceClicked();

    // Closes the version open and opens path at reference; the engine's failure, with nothing open, when it does
    // not open.
    std::optional<versiondb::ErrorItem> openVersion(const QString& path, const QString& reference);
    // Whether the verse shown has a text in its box other than the stored one.
    [[nodiscard]] bool isModified() const;
    // The title's mark and Save, as the text box stands.
    void showModified();
    // The version's name for the title and messages (the window's caption without one), and the commands that need a
    // version enabled or not.
    void setVersion(const QString& name, bool open);
    // Asked before something drops an edit not saved: true when the user keeps it (취소, or a save that failed).
    // Otherwise the text box holds the stored text after it.
    [[nodiscard]] bool keepsEdit();
    // Shows what a save did; true when it stored. The reference box takes the trimmed reference when intoReference.
    bool showSaved(const SaveOutcome& outcome, bool intoReference);
    // The picker at a verse of the Korean numbering, its chapters and verses those of the book and chapter.
    void fillPicker(int book, int chapter, int verse);
    // The picker at the verse of a canonical reference; as it was for any other.
    void showPicked(const QString& reference);
    // Goes to a verse of the book the picker shows, after asking about an edit not saved.
    void pickVerse(int chapter, int verse);
    // Go, to a reference without asking.
    void goToReference();
    void goTo(const QString& reference);
    // Shows the verse of a reference again (nothing for none).
    void showAgain(const QString& reference);
    // Takes back the last change of the verse shown, each time one more, or brings back (redo) the last change taken
    // back, after asking about an edit not saved; shows it again and says what it did.
    void takeBackShown(bool redo);
    // What an undo or a redo did, or why it did nothing (nothing: its text).
    void showTakeBack(const std::optional<TakeBackOutcome>& outcome, const QString& reference, const QString& nothing);
    // The no-version refusal: true, after the message, when no version is open.
    bool refusedWithoutVersion();
    // The reference of the verse shown; nothing, after the refusal, without a version or a verse shown.
    [[nodiscard]] std::optional<QString> shownReference();
    // Shows again the verse whose text a change taken back (or a redo of redone) restored, and says which change it
    // took back (or brought back).
    void showTakenBack(const QString& reference, const std::vector<versiondb::VerseChange>& restored,
                       qint64 redone = 0);
    // Shows the verse a step to the previous, next or last verse arrived at, or why it did not.
    void showStep(const StepOutcome& outcome);
    // The verse text box's contents, with every line break it holds.
    [[nodiscard]] QString verseText() const;

    platform::Dialogs& m_dialogs;
    QString m_programFolder;
    VerseEditor m_version;
    // Whether the warning about Enter in the verse text box has been shown since the window was made.
    bool m_enterWarningShown = false;
    // The text of the verse shown as the version stores it (Null as two spaces), or the empty text without one.
    QString m_storedText;
    // The name of the version open (the file's), or the window's caption without one; messages name it.
    QString m_versionName;

    QLineEdit* m_referenceEdit = nullptr;
    // The picker beside the reference box: book, chapter and verse.
    QComboBox* m_bookCombo = nullptr;
    QComboBox* m_chapterCombo = nullptr;
    QComboBox* m_verseCombo = nullptr;
    QPushButton* m_saveButton = nullptr;
    QLineEdit* m_shownReferenceEdit = nullptr;
    QPlainTextEdit* m_verseTextEdit = nullptr;
    // The controls enabled only while a version is open.
    QList<QWidget*> m_versionControls;
};

} // namespace editor
