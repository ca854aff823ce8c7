#include "platform/gui/Skin.h"

#include "platform/ProgramFolders.h"

#include <QFile>
#include <QWidget>

namespace platform {

void applySkin(QWidget* window, const QString& programFolder)
{
    QFile file(programFolder + separator() + QStringLiteral("skin.qss"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return;
    }
    window->setStyleSheet(QString::fromUtf8(file.readAll()));
}

} // namespace platform
