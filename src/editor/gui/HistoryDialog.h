#pragma once

#include "editor/VerseEditor.h"

#include <QDialog>
#include <QString>
#include <vector>

class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace platform {
class Dialogs;
}

namespace editor {

// The changes of one verse of the version the verse editor holds, newest first, with the
// texts before and after each; the text before a chosen change can be given back to the
// verse, which is a change of its own. Works on the editor's open version: the version is
// held exclusively and is not opened a second time.
class HistoryDialog : public QDialog
{
    Q_OBJECT

public:
    // displayName names the version in messages, as the editor's title does.
    HistoryDialog(platform::Dialogs& dialogs, VerseEditor& version, QString reference, QString displayName,
                  QWidget* parent = nullptr);

    // Reads the verse's changes into the list, with the busy pointer; false, after its
    // message, when they cannot be read.
    [[nodiscard]] bool load();
    // What the restore stored, the window having closed after it; empty otherwise.
    [[nodiscard]] const std::vector<versiondb::VerseChange>& restored() const { return m_restored; }

private:
    // Restores the selected change's earlier text after asking; Enter does the same.
    void onRestoreClicked();

    platform::Dialogs& m_dialogs;
    VerseEditor& m_version;
    QString m_reference;
    QString m_displayName;
    std::vector<versiondb::VerseChange> m_changes;
    std::vector<versiondb::VerseChange> m_restored;

    QTreeWidget* m_changeList = nullptr;
    QPlainTextEdit* m_detailText = nullptr;
    QPushButton* m_restoreButton = nullptr;
};

} // namespace editor
