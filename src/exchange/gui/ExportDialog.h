#pragma once

#include "platform/gui/RunDialog.h"

#include <array>

class QComboBox;
class QRadioButton;

namespace exchange {

// Exports a version file as text files, as an IMP, OSIS or VPL file for SWORD's tools or as a
// Zefania XML file: the user chooses the version, the format, the encoding and the destination folder.
// A file of the other formats is named after the version, in the folder chosen. The export runs on a worker with a
// progress bar and a cancel button; it asks before replacing files.
class ExportDialog : public platform::RunDialog
{
    Q_OBJECT

public:
    ExportDialog(platform::Dialogs& dialogs, QString programFolder, QWidget* parent = nullptr);

private slots:
    void onFolderBrowseClicked();
    // Asks before replacing files, exports on a worker while the window waits with its cancel button, and says how
    // many verses went where (or that the export was cancelled, nothing written).
    void onExportClicked();
    // Only text files can be in code page 949, so the encoding is set to UTF-8 and locked while another
    // format is chosen and given back when the text files are chosen again.
    void onTextFilesToggled(bool textFiles);

private:
    int m_textEncoding = 0; // the encoding chosen for text files while another format is chosen

    std::array<QRadioButton*, 4> m_fileRadios = {}; // the formats that write one file
    QComboBox* m_encodingCombo = nullptr;
    QLineEdit* m_folderEdit = nullptr;
};

} // namespace exchange
