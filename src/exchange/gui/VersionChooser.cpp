#include "exchange/gui/VersionChooser.h"

#include "platform/ProgramFolders.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/WindowSettings.h"

#include <QLineEdit>

namespace exchange {

namespace {

const QString kVersionFilter = QStringLiteral("역본파일 (*.dat)");
const QString kChoose = QStringLiteral("선택");
const QString kFolderKey = QStringLiteral("version");

} // namespace

void chooseVersionInto(QLineEdit* box, platform::Dialogs& dialogs, const QString& programFolder, const QString& title)
{
    platform::FileDialogRequest request;
    request.folder = platform::lastFolder(kFolderKey, platform::installFolder(programFolder));
    request.title = title;
    request.filter = kVersionFilter;
    request.acceptLabel = kChoose;
    const QStringList chosen = dialogs.chooseFiles(box->window(), request);
    if (!chosen.isEmpty()) {
        box->setText(chosen.first());
        platform::setLastFolder(kFolderKey, chosen.first());
    }
}

} // namespace exchange
