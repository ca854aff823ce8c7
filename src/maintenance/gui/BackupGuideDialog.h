#pragma once

#include "maintenance/gui/NoticeDialog.h"

namespace maintenance {

// The backup guide: explains which files to keep, lists the version files of
// the install folder and opens that folder in the desktop's file browser.
// It reads no file contents and changes nothing.
class BackupGuideDialog : public NoticeDialog
{
    Q_OBJECT

public:
    BackupGuideDialog(platform::Dialogs& dialogs, const QString& programFolder, QWidget* parent = nullptr);
};

} // namespace maintenance
