#include "exchange/gui/VersionChooser.h"

#include "platform/gui/Dialogs.h"
#include "platform/gui/VersionFileDialog.h"

#include <QLineEdit>

namespace exchange {

namespace {

const QString kVersionFilter = QStringLiteral("역본파일 (*.dat)");
const QString kChoose = QStringLiteral("선택");

} // namespace

void chooseVersionInto(QLineEdit* box, platform::Dialogs& dialogs, const QString& programFolder, const QString& title)
{
    platform::FileDialogRequest request;
    request.title = title;
    request.filter = kVersionFilter;
    request.acceptLabel = kChoose;
    if (const QString path = platform::chooseVersionFile(dialogs, box->window(), programFolder, request);
        !path.isEmpty()) {
        box->setText(path);
    }
}

} // namespace exchange
