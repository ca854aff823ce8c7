#include "platform/gui/ShellOpen.h"

#include "platform/gui/Dialogs.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace platform {

namespace {

bool isWebAddress(const QString& pathOrAddress)
{
    return pathOrAddress.contains(QStringLiteral("://"));
}

} // namespace

bool openWithShell(const QString& pathOrAddress)
{
    const QUrl url = isWebAddress(pathOrAddress) ? QUrl(pathOrAddress)
                                                 : QUrl::fromLocalFile(QDir::fromNativeSeparators(pathOrAddress));
    return QDesktopServices::openUrl(url);
}

void openForUser(Dialogs& dialogs, QWidget* parent, const ShellOpen& open, const QString& pathOrAddress)
{
    if (!open || !open(pathOrAddress)) {
        dialogs.warn(parent, notOpenedMessage(pathOrAddress));
    }
}

QString notOpenedMessage(const QString& pathOrAddress)
{
    const QString advice =
        isWebAddress(pathOrAddress)
            ? QStringLiteral(
                  "이 주소를 웹 브라우저로 열지 못했습니다.\r\n위의 주소를 웹 브라우저에 직접 입력하여 주십시오.")
        : QFileInfo(pathOrAddress).isDir()
            ? QStringLiteral("이 폴더를 자동으로 열지 못했습니다.\r\n위의 폴더를 직접 찾아 열어 주십시오.")
            : QStringLiteral("이 파일을 자동으로 열지 못했습니다.\r\n위의 파일을 직접 찾아 열어 주십시오.");
    return pathOrAddress + QStringLiteral("\r\n\r\n") + advice;
}

} // namespace platform
