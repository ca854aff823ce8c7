#pragma once

#include "editor/VersionSearch.h"
#include "platform/gui/Form.h"

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
// stores the ticked verses as one change of the history. Choosing a verse in the list shows it in the editor.
class frmFindReplace : public platform::Form<QDialog>
{
    Q_OBJECT

public:
    using ShowVerse = std::function<void(const QString& reference)>;
    // displayName names the version in messages, as the editor's title does.
    frmFindReplace(platform::Dialogs& dialogs, VerseEditor& version, QString displayName, ShowVerse showVerse,
                   QWidget* parent = nullptr);

    // Whether an apply stored anything since the window opened.
    [[nodiscard]] bool applied() const { return m_applied; }

public slots:
    // Find; Enter in the pattern box does the same.
    void Command1_Click();
    // The replacement's preview.
    void Command2_Click();
    // Stores the ticked verses of the preview after asking.
    void Command3_Click();
    void Command4_Click();
    // The selection changed: the verse with its matches, or before and after, below; and in the editor.
    void List1_Click();

private:
    void Form_Load() override;
    void createControls();
    void applyTexts();
    void placeControls();

    // True, after the message, when the pattern was refused or the engine failed.
    [[nodiscard]] bool refused(const CompiledSearch& pattern, const std::optional<EngineFailure>& failure);
    [[nodiscard]] SearchRequest request() const;
    // The progress bar's callback; the bar shows while work runs.
    [[nodiscard]] SearchProgress progress();
    void endProgress();
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

    QLabel* Label1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Text2 = nullptr;
    QCheckBox* Check1 = nullptr;
    QCheckBox* Check2 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QLabel* Label3 = nullptr;
    QTreeWidget* List1 = nullptr;
    QTextBrowser* Text3 = nullptr;
    QProgressBar* Progress1 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
};

} // namespace editor
