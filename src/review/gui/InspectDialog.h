#pragma once

#include "platform/gui/RunDialog.h"
#include "review/VersionInspection.h"

#include <array>
#include <functional>

class QCheckBox;
class QTextBrowser;
class QTreeWidget;

namespace review {

// Inspects the texts of a version: the user chooses the version (and another to compare lengths with) and the kinds
// to look for; the window lists the verses that look wrong by kind with their counts, shows the excerpt of the one
// selected, opens it in the verse editor, and composes decomposed Hangul as one change. The inspection and the
// composition run on a worker with a progress bar and a cancel button.
class InspectDialog : public platform::RunDialog
{
    Q_OBJECT

public:
    // Opens one verse of a version in the verse editor (the main window's way to it).
    using OpenVerse = std::function<void(const QString& path, const QString& reference)>;

    InspectDialog(platform::Dialogs& dialogs, QString programFolder, OpenVerse openVerse, QWidget* parent = nullptr);

protected:
    // Enter on a finding opens its verse instead of pressing the default button.
    void keyPressEvent(QKeyEvent* event) override;

private slots:
    // Inspects on a worker while the window waits with its cancel button, and lists the findings.
    void onInspectClicked();
    // Composes every decomposed text on a worker, after a question, and inspects again.
    void onComposeClicked();
    // Opens the verse of the finding selected in the verse editor.
    void onEditVerseClicked();
    // Shows the excerpt of the finding selected.
    void onFindingTreeCurrentItemChanged();

private:
    // The finding selected, or nothing for a heading or no selection.
    [[nodiscard]] const Finding* selectedFinding() const;

    OpenVerse m_openVerse;
    InspectOutcome m_outcome;
    QString m_inspected; // the version of m_outcome

    QLineEdit* m_otherVersionEdit = nullptr;
    std::array<QCheckBox*, kInspectionKinds> m_kindChecks = {}; // in the order of InspectionKind
    QLabel* m_summaryLabel = nullptr;
    QTreeWidget* m_findingTree = nullptr;
    QTextBrowser* m_findingView = nullptr;
    QPushButton* m_editVerseButton = nullptr;
    QPushButton* m_composeButton = nullptr;
};

} // namespace review
