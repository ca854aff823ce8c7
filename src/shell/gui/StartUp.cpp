#include "shell/gui/StartUp.h"

#include "platform/InstanceLock.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/WindowSearch.h"
#include "shell/gui/MainWindow.h"

#include <QApplication>
#include <cstdio>

namespace shell {

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

int refuse(platform::Dialogs& dialogs, const QString& text)
{
    // Also said on the terminal, for a start from a script or a shell.
    std::fprintf(stderr, "%s\n", QString(text).replace(kLineBreak, QStringLiteral("\n")).toUtf8().constData());
    dialogs.inform(nullptr, platform::MessageIcon::Critical, text);
    return 1;
}

} // namespace

QString previousInstanceMessage()
{
    return QStringLiteral("성경자료 관리기 프로그램이 이미 실행되고 있습니다 !\r\n"
                          "열려 있는 관리기 창을 쓰시거나 그 창을 닫은 다음 다시 실행하여 주십시오. "
                          "실행 중인 관리기가 없다면 지금 다시 실행하면 됩니다.");
}

QString viewerRunningMessage()
{
    return QStringLiteral("벼리솔이 실행되고 있습니다 !\r\n벼리솔을 종료한 다음 성경자료 관리기를 실행시켜 주십시오 !");
}

QString shippedFilesMessage(const platform::FileFailure& failure)
{
    return failure.description + kLineBreak + failure.path + kLineBreak + kLineBreak +
           QStringLiteral("기본 제공파일을 사용자 폴더에 준비하지 못하여 성경자료 관리기를 시작할 수 없습니다 !");
}

int StartUp(QApplication& app, platform::Dialogs& dialogs, const platform::ProgramFolder& programFolder)
{
    if (programFolder.failure) {
        return refuse(dialogs, shippedFilesMessage(*programFolder.failure));
    }
    const auto lock = platform::InstanceLock::acquire(platform::instanceLockKey(programFolder.path));
    if (!lock) {
        return refuse(dialogs, previousInstanceMessage());
    }
    // The viewer's verse-input window.
    if (platform::topLevelWindowExists(QStringLiteral("ThunderRT5Form"), QStringLiteral("성경입력전용창"))) {
        return refuse(dialogs, viewerRunningMessage());
    }
    MainWindow window(dialogs, programFolder.path);
    window.show();
    return app.exec();
}

} // namespace shell
