#pragma once

#include "import/TextFileChecker.h"

#include <QList>
#include <QString>
#include <algorithm>

namespace importer {

// The final and failure messages of check and build runs, shared by the import window and the
// command-line companion.
namespace RunMessages {
[[nodiscard]] inline QString partlyReadList(const QList<PartlyReadFile>& files)
{
    const bool cutOff = std::ranges::any_of(files, [](const PartlyReadFile& f) { return f.cutOffLine > 0; });
    const bool skipped = std::ranges::any_of(files, [](const PartlyReadFile& f) { return f.skippedFaults > 0; });
    QString text = !skipped  ? QStringLiteral("다음 파일은 끝까지 읽지 못했습니다!")
                   : !cutOff ? QStringLiteral("다음 파일에서 잘못된 곳을 건너뛰며 읽었습니다!")
                             : QStringLiteral("다음 파일의 일부를 읽지 못했습니다!");
    for (const PartlyReadFile& file : files) {
        text += QStringLiteral("\r\n\r\n") + file.file;
        if (file.skippedFaults > 0) {
            text += QStringLiteral("\r\n잘못된 곳 ") + QString::number(file.skippedFaults) +
                    QStringLiteral("군데를 건너뛰었습니다. 그 때문에 읽지 못한 절: ") +
                    QString::number(file.versesLost) + QStringLiteral("절");
        }
        if (file.cutOffLine > 0) {
            text += QStringLiteral("\r\n") + QString::number(file.cutOffLine) +
                    QStringLiteral("줄에서 읽기를 멈추었습니다. 그 앞에서 읽은 절: ") +
                    QString::number(file.versesRead) + QStringLiteral("절");
        }
    }
    return text + QStringLiteral("\r\n\r\n읽지 못한 까닭은 오류목록파일('err.txt')에 있습니다.");
}

[[nodiscard]] inline QString described(const QString& description, const QString& path)
{
    return path.isEmpty() ? description : description + QStringLiteral("\r\n") + path;
}

// The check run found errors; the error log is opened after this message.
[[nodiscard]] inline QString testFinishedWithErrors()
{
    return QStringLiteral("테스트 작업이 완료되었습니다.\r\n\r\n"
                          "그러나 일부 파일에서 편집오류가 발견되어 오류목록파일('err.txt')을 열겠습니다.\r\n"
                          "한번 살펴보시고 오류를 수정하여 주십시오.\r\n"
                          "('err.txt'파일의 참조가 완료되면 삭제하십시오)");
}

// The check run found no errors.
[[nodiscard]] inline QString testFinishedWithoutErrors()
{
    return QStringLiteral("테스트 작업이 완료되었습니다.\r\n\r\n"
                          "지금 목록에 있는 텍스트 파일은 편집오류가 발견되지 않았습니다.");
}

// The build run found no errors.
[[nodiscard]] inline QString buildFinished(const QString& versionName)
{
    return versionName + QStringLiteral("\r\n\r\n만들기 작업이 완료되었습니다.\r\n\r\n"
                                        "관리기 프로그램을 종료하시고 벼리솔을 실행하면 만든역본이 추가되어 있을 "
                                        "것입니다.");
}

// The build run found errors; the error log is opened after this message.
[[nodiscard]] inline QString buildFinishedWithErrors(const QString& versionName, int acceptedCount)
{
    return versionName + QStringLiteral("\r\n\r\n만들기 작업이 완료되었습니다.\r\n파일에서 추가된 절수는 총: ") +
           QString::number(acceptedCount) +
           QStringLiteral("절입니다\r\n\r\n그러나 파일에서 편집오류가 발견되어 일부 구절을 추가하지 "
                          "못했습니다. 오류목록파일('err.txt')을 열고 올바르게 편집후 다시 재작업하십시오.\r\n"
                          "('err.txt'파일의 참조가 완료되면 삭제하십시오)");
}

// A run that read some file only in part: which files, the faults passed over in each and the verses they cost,
// or where reading stopped and how many verses were taken before; the error log says why and is opened after
// this message.
[[nodiscard]] inline QString testPartlyRead(const QList<PartlyReadFile>& files)
{
    return QStringLiteral("테스트 작업을 마쳤지만, ") + partlyReadList(files);
}

[[nodiscard]] inline QString buildPartlyRead(const QString& versionName, int acceptedCount,
                                             const QList<PartlyReadFile>& files)
{
    return versionName + QStringLiteral("\r\n\r\n만들기 작업을 마쳤지만, ") + partlyReadList(files) +
           QStringLiteral("\r\n\r\n역본에 넣은 절수는 모두 ") + QString::number(acceptedCount) +
           QStringLiteral("절입니다. 파일을 고친 뒤 다시 만드십시오.");
}

// A run cancelled by the user: every file is as it was before the run.
[[nodiscard]] inline QString cancelled(bool building)
{
    return building ? QStringLiteral("작업을 취소했습니다.\r\n\r\n역본파일은 작업 전 그대로입니다.")
                    : QStringLiteral("작업을 취소했습니다.");
}

// What a run is doing at a stage of it: 1 makes the target, 2 reads the files.
[[nodiscard]] inline QString stageStatus(int stage)
{
    return stage == 1 ? QStringLiteral("1/2 작업중...") : QStringLiteral("2/2 작업중...");
}

// Phase 1 of a build stopped by an unexpected error; the file it concerns, when one does, on the
// line after the description.
[[nodiscard]] inline QString phase1Failure(const QString& description, const QString& path = QString())
{
    return described(description, path) +
           QStringLiteral("\r\n\r\n위와 같이 예상치 않은 오류가 발생하여 작업을 중지합니다! 전문가와 상의하십시오.");
}

// Phase 2 of a build, or a check run, stopped by an unexpected error; the file as in phase 1.
[[nodiscard]] inline QString phase2Failure(const QString& description, bool building, const QString& path = QString())
{
    QString text = described(description, path) +
                   QStringLiteral("\r\n\r\n위와 같은 예상치 않은 오류가 발생하여 작업을 중단합니다 !");
    if (building) {
        text += QStringLiteral("\r\n실패한 역본파일은 삭제하십시오 !");
    }
    return text;
}

} // namespace RunMessages

} // namespace importer
