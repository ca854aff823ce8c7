#pragma once

#include "platform/gui/RunDialog.h"
#include "review/VersionCompare.h"

class QListWidget;
class QTextBrowser;

namespace review {

// Compares two version files, such as a version and its backup copy: the user chooses the two
// files, the window lists the verses that differ with their counts and shows the words changed
// in the verse selected. The comparison runs on a worker with a progress bar and a cancel button.
class CompareDialog : public platform::RunDialog
{
    Q_OBJECT

public:
    CompareDialog(platform::Dialogs& dialogs, QString programFolder, QWidget* parent = nullptr);

private slots:
    // Compares on a worker while the window waits with its cancel button, and lists the verses that differ.
    void onCompareClicked();
    // Shows the word difference of the verse selected.
    void onVerseListCurrentRowChanged();

private:
    CompareOutcome m_outcome;

    QLineEdit* m_versionBEdit = nullptr;
    QLabel* m_summaryLabel = nullptr;
    QListWidget* m_verseList = nullptr;
    QTextBrowser* m_differenceView = nullptr;
};

} // namespace review
