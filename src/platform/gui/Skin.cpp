#include "platform/gui/Skin.h"

#include <QFile>
#include <QWidget>

#include "platform/ProgramFolders.h"

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
