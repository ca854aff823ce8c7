#include "shell/gui/StartUp.h"

#include "platform/InstanceLock.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/WindowSearch.h"
#include "shell/gui/MainWindow.h"

#include <QApplication>
#include <cstdio>

namespace shell {

namespace {

const QString kPreviousInstance = QStringLiteral("성경자료 관리기 프로그램이 이미 실행되고 있습니다 !");
const QString kHowToGoOn = QStringLiteral("열려 있는 관리기 창을 쓰시거나 그 창을 닫은 다음 다시 실행하여 주십시오. "
                                          "실행 중인 관리기가 없다면 지금 다시 실행하면 됩니다.");
const QString kViewerRunning = QStringLiteral("벼리솔이 실행되고 있습니다 !");
const QString kCloseViewerFirst = QStringLiteral("벼리솔을 종료한 다음 성경자료 관리기를 실행시켜 주십시오 !");
const QString kShippedFilesMissing =
    QStringLiteral("기본 제공파일을 사용자 폴더에 준비하지 못하여 성경자료 관리기를 시작할 수 없습니다 !");
const QString kLineBreak = QStringLiteral("\r\n");

const QString kViewerInputClass = QStringLiteral("ThunderRT5Form");
const QString kViewerInputTitle = QStringLiteral("성경입력전용창");

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
    return kPreviousInstance + kLineBreak + kHowToGoOn;
}

QString viewerRunningMessage()
{
    return kViewerRunning + kLineBreak + kCloseViewerFirst;
}

QString shippedFilesMessage(const platform::FileFailure& failure)
{
    return failure.description + kLineBreak + failure.path + kLineBreak + kLineBreak + kShippedFilesMissing;
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
    if (platform::topLevelWindowExists(kViewerInputClass, kViewerInputTitle)) {
        return refuse(dialogs, viewerRunningMessage());
    }
    MainWindow window(dialogs, programFolder.path);
    window.show();
    return app.exec();
}

} // namespace shell
