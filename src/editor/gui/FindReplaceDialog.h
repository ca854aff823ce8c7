#pragma once

#include "editor/VersionSearch.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTextBrowser;
class QTreeWidget;

namespace platform {
class Dialogs;
}

namespace editor {

// Find and replace over the texts of the version the verse editor holds (not opened a second time): the verses that
// match with their matches marked, or a preview of a replacement with each verse before and after, ticked; Apply
// stores the ticked verses as one change of the history. Choosing a verse in the list shows it in the editor. Find,
// preview and apply run on a worker with a cancel button; the window stays open until the run ends.
class FindReplaceDialog : public QDialog
{
    Q_OBJECT

public:
    using ShowVerse = std::function<void(const QString& reference)>;
    // displayName names the version in messages, as the editor's title does.
    FindReplaceDialog(platform::Dialogs& dialogs, VerseEditor& version, QString displayName, ShowVerse showVerse,
                      QWidget* parent = nullptr);

    // Whether an apply stored anything since the window opened.
    [[nodiscard]] bool applied() const { return m_applied; }

    // Closes only while no run goes.
    void reject() override;

private:
    // Find; Enter in the pattern box does the same.
    void onFindClicked();
    void onPreviewClicked();
    // Stores the ticked verses of the preview after asking.
    void onApplyClicked();
    // The selection changed: the verse with its matches, or before and after, below; and in the editor.
    void onVerseSelected();

    // True, after the message, when the pattern was refused or the engine failed.
    [[nodiscard]] bool refused(const CompiledSearch& pattern, const std::optional<versiondb::ErrorItem>& failure);
    // True, after saying why, when a find or a preview did not run, was refused or was cancelled.
    template <typename Outcome> [[nodiscard]] bool stopped(const std::optional<Outcome>& outcome);
    [[nodiscard]] SearchRequest request() const;
    // Runs work(search, control) over the version on a worker, the window's run going meanwhile; its outcome, or
    // nothing without a version.
    template <typename Work> auto runWithCancel(Work work);
    void clearList(const QStringList& columns);

    platform::Dialogs& m_dialogs;
    VerseEditor& m_version;
    QString m_displayName;
    ShowVerse m_showVerse;
    std::vector<FoundVerse> m_found;
    ReplaceOutcome m_preview;
    SearchRequest m_previewed;
    QString m_replacement;
    bool m_applied = false;

    QLineEdit* m_patternEdit = nullptr;
    QLineEdit* m_replacementEdit = nullptr;
    QCheckBox* m_regularExpressionCheck = nullptr;
    QCheckBox* m_ignoreCaseCheck = nullptr;
    QLabel* m_summaryLabel = nullptr;
    QTreeWidget* m_verseList = nullptr;
    QTextBrowser* m_verseView = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QPushButton* m_applyButton = nullptr;
};

} // namespace editor
