#include "platform/gui/VersionFileDialog.h"

#include "platform/ProgramFolders.h"
#include "platform/gui/WindowSettings.h"

namespace platform {

namespace {

// Every window that chooses a version file starts where a version was last chosen.
const QString kVersionFolderKey = QStringLiteral("version");

} // namespace

QString chooseVersionFile(Dialogs& dialogs, QWidget* parent, const QString& programFolder, FileDialogRequest request)
{
    request.folder = lastFolder(kVersionFolderKey, installFolder(programFolder));
    request.multiple = false;
    const QStringList chosen = dialogs.chooseFiles(parent, request);
    if (chosen.isEmpty()) {
        return {};
    }
    setLastFolder(kVersionFolderKey, chosen.first());
    return chosen.first();
}

} // namespace platform
