#include "platform/gui/ShellOpen.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace platform {

bool openWithShell(const QString& pathOrAddress)
{
    const QUrl url = pathOrAddress.contains(QStringLiteral("://"))
                         ? QUrl(pathOrAddress)
                         : QUrl::fromLocalFile(QDir::fromNativeSeparators(pathOrAddress));
    return QDesktopServices::openUrl(url);
}

} // namespace platform
