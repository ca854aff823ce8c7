#pragma once

#include "maintenance/gui/NoticeDialog.h"
#include "platform/FileVersion.h"

namespace maintenance {

// The About window: the program's name, its version, a short description and
// a link to the maker's web site.
class AboutDialog : public NoticeDialog
{
    Q_OBJECT

public:
    AboutDialog(platform::Dialogs& dialogs, const QString& programFolder, QWidget* parent = nullptr);

    // "버전 " and the major, minor and revision numbers; the revision is the
    // fourth field of a file version.
    [[nodiscard]] static QString versionLine(const platform::FileVersion& version);
};

} // namespace maintenance
