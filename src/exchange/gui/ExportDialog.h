#pragma once

#include <QDialog>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace platform {
class Dialogs;
}

namespace exchange {

// Exports a version file as text files, as an IMP, OSIS or VPL file for SWORD's tools or as a
// Zefania XML file: the user chooses the version, the format, the encoding and the destination folder.
// A file of the other formats is named after the version, in the folder chosen. The export runs on a worker with a
// progress bar and a cancel button; it asks before replacing files.
class ExportDialog : public QDialog
{
    Q_OBJECT

public:
    ExportDialog(platform::Dialogs& dialogs, QString programFolder, QWidget* parent = nullptr);

    // At least a width of some characters, so that the texts and fields read well at the first opening.
    [[nodiscard]] QSize sizeHint() const override;

    // Puts path into the version field, as a choice in the file dialog does.
    void setVersion(const QString& path);

public slots:
    // Closes, unless an export is running.
    void reject() override;

private slots:
    void onVersionBrowseClicked();
    void onFolderBrowseClicked();
    // Asks before replacing files, exports on a worker while the window waits with its cancel button, and says how
    // many verses went where (or that the export was cancelled, nothing written).
    void onExportClicked();
    // Only text files can be in code page 949, so the encoding is set to UTF-8 and locked while another
    // format is chosen and given back when the text files are chosen again.
    void onTextFilesToggled(bool textFiles);

private:
    void createWidgets();
    void createLayout();
    void applyTexts();

    platform::Dialogs& m_dialogs;
    QString m_programFolder;
    int m_textEncoding = 0; // the encoding chosen for text files while another format is chosen

    QLabel* m_versionLabel = nullptr;
    QLineEdit* m_versionEdit = nullptr;
    QPushButton* m_versionBrowseButton = nullptr;
    QLabel* m_formatLabel = nullptr;
    QRadioButton* m_textFilesRadio = nullptr;
    QRadioButton* m_impRadio = nullptr;
    QRadioButton* m_osisRadio = nullptr;
    QRadioButton* m_zefaniaRadio = nullptr;
    QRadioButton* m_vplRadio = nullptr;
    QLabel* m_encodingLabel = nullptr;
    QComboBox* m_encodingCombo = nullptr;
    QLabel* m_folderLabel = nullptr;
    QLineEdit* m_folderEdit = nullptr;
    QPushButton* m_folderBrowseButton = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    QPushButton* m_exportButton = nullptr;
    QPushButton* m_closeButton = nullptr;
};

} // namespace exchange
