#pragma once

#include "exchange/VersionCompare.h"

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTextBrowser;

namespace platform {
class Dialogs;
}

namespace exchange {

// Compares two version files, such as a version and its backup copy: the user chooses the two
// files, the window lists the verses that differ with their counts and shows the words changed
// in the verse selected. The comparison runs on a worker with a progress bar and a cancel button.
class CompareDialog : public QDialog
{
    Q_OBJECT

public:
    CompareDialog(platform::Dialogs& dialogs, QString programFolder, QWidget* parent = nullptr);

    // Puts path into the field of version A, as a choice in the file dialog does.
    void setVersion(const QString& path);

public slots:
    // Closes, unless a comparison is running.
    void reject() override;

private slots:
    void onVersionABrowseClicked();
    void onVersionBBrowseClicked();
    // Compares on a worker while the window waits with its cancel button, and lists the verses that differ.
    void onCompareClicked();
    // Shows the word difference of the verse selected.
    void onVerseListCurrentRowChanged();

private:
    void createWidgets();
    void createLayout();
    void applyTexts();

    platform::Dialogs& m_dialogs;
    QString m_programFolder;
    CompareOutcome m_outcome;

    QLabel* m_versionALabel = nullptr;
    QLineEdit* m_versionAEdit = nullptr;
    QPushButton* m_versionABrowseButton = nullptr;
    QLabel* m_versionBLabel = nullptr;
    QLineEdit* m_versionBEdit = nullptr;
    QPushButton* m_versionBBrowseButton = nullptr;
    QPushButton* m_compareButton = nullptr;
    QLabel* m_summaryLabel = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QSplitter* m_splitter = nullptr;
    QListWidget* m_verseList = nullptr;
    QTextBrowser* m_differenceView = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    QPushButton* m_closeButton = nullptr;
};

} // namespace exchange
