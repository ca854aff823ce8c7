#pragma once

#include "exchange/VersionInspection.h"

#include <QDialog>
#include <array>
#include <functional>

class QCheckBox;
class QDialogButtonBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTextBrowser;
class QTreeWidget;

namespace platform {
class Dialogs;
}

namespace exchange {

// Inspects the texts of a version: the user chooses the version (and another to compare lengths with) and the kinds
// to look for; the window lists the verses that look wrong by kind with their counts, shows the excerpt of the one
// selected, opens it in the verse editor, and composes decomposed Hangul as one change. The inspection and the
// composition run on a worker with a progress bar and a cancel button.
class InspectDialog : public QDialog
{
    Q_OBJECT

public:
    // Opens one verse of a version in the verse editor (the main window's way to it).
    using OpenVerse = std::function<void(const QString& path, const QString& reference)>;

    InspectDialog(platform::Dialogs& dialogs, QString programFolder, OpenVerse openVerse, QWidget* parent = nullptr);

    // Puts path into the version field, as a choice in the file dialog does; nothing is inspected yet.
    void setVersion(const QString& path);

public slots:
    // Closes, unless an inspection or a composition is running.
    void reject() override;

protected:
    // Enter on a finding opens its verse instead of pressing the default button.
    void keyPressEvent(QKeyEvent* event) override;

private slots:
    void onVersionBrowseClicked();
    void onOtherVersionBrowseClicked();
    // Inspects on a worker while the window waits with its cancel button, and lists the findings.
    void onInspectClicked();
    // Composes every decomposed text on a worker, after a question, and inspects again.
    void onComposeClicked();
    // Opens the verse of the finding selected in the verse editor.
    void onEditVerseClicked();
    // Shows the excerpt of the finding selected.
    void onFindingTreeCurrentItemChanged();

private:
    void createWidgets();
    void createLayout();
    void applyTexts();
    // The finding selected, or nothing for a heading or no selection.
    [[nodiscard]] const Finding* selectedFinding() const;

    platform::Dialogs& m_dialogs;
    QString m_programFolder;
    OpenVerse m_openVerse;
    InspectOutcome m_outcome;
    QString m_inspected; // the version of m_outcome

    QLabel* m_versionLabel = nullptr;
    QLineEdit* m_versionEdit = nullptr;
    QPushButton* m_versionBrowseButton = nullptr;
    QLabel* m_otherVersionLabel = nullptr;
    QLineEdit* m_otherVersionEdit = nullptr;
    QPushButton* m_otherVersionBrowseButton = nullptr;
    QGroupBox* m_kindsBox = nullptr;
    std::array<QCheckBox*, kInspectionKinds> m_kindChecks = {}; // in the order of InspectionKind
    QPushButton* m_inspectButton = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QLabel* m_summaryLabel = nullptr;
    QSplitter* m_splitter = nullptr;
    QTreeWidget* m_findingTree = nullptr;
    QTextBrowser* m_findingView = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    QPushButton* m_editVerseButton = nullptr;
    QPushButton* m_composeButton = nullptr;
    QPushButton* m_closeButton = nullptr;
};

} // namespace exchange
