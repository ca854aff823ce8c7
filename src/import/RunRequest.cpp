#include "import/RunRequest.h"

#include "books/TrimSpaces.h"
#include "import/VersionName.h"
#include "platform/FileErrorDescriptions.h"
#include "platform/ProgramFolders.h"
#include "platform/RegularFile.h"
#include "versiondb/Names.h"
#include "versiondb/VersionFile.h"

namespace importer {

std::optional<QString> inputFileRefusal(const QStringList& files, Asker asker)
{
    const QString remove = asker == Asker::Window ? QStringLiteral(" 목록에서 삭제하여 주십시오 !")
                                                  : QStringLiteral(" 명령줄에서 빼 주십시오 !");
    for (const QString& file : files) {
        if (platform::isOtherThanRegularFile(file)) {
            return file + QStringLiteral("\r\n\r\n") + platform::FileErrorDescriptions::notRegularFile() + remove;
        }
        // A database is no text; and reading the version the run holds by a descriptor of the reader's
        // own would end the run's hold on it when the reader closes it.
        if (versiondb::VersionFile::hasSqliteHeader(file)) {
            return file +
                   QStringLiteral("\r\n\r\n역본파일과 같은 데이터베이스 파일은 텍스트 파일로 읽을 수 없습니다.") +
                   remove;
        }
    }
    return std::nullopt;
}

std::optional<QString> swordModuleRefusal(const QString& module, const QList<SwordModule>& installed, bool libraryFound)
{
    if (!libraryFound) {
        return QStringLiteral("이 프로그램은 SWORD 라이브러리 없이 만들어져 SWORD 모듈을 읽지 못합니다. "
                              "모듈을 IMP, OSIS 또는 VPL 파일로 내보내어 읽으십시오.");
    }
    if (installed.isEmpty()) {
        return QStringLiteral("이 컴퓨터에는 SWORD 성경 모듈이 설치되어 있지 않습니다.");
    }
    QStringList names;
    for (const SwordModule& bible : installed) {
        names << bible.name;
    }
    if (module.isEmpty() || names.contains(module)) {
        return std::nullopt;
    }
    return QStringLiteral("('") + module +
           QStringLiteral("') 이 컴퓨터에 설치된 SWORD 성경 모듈이 아닙니다.\r\n\r\n설치된 성경 모듈: ") +
           names.join(QStringLiteral(", "));
}

std::optional<QString> checkRunRefusal(const RunInput& input, Asker asker)
{
    if (!input.swordModule.isEmpty()) {
        return std::nullopt; // the run refuses a module it cannot open
    }
    const QStringList& files = input.files;
    if (files.isEmpty()) {
        return asker == Asker::Window ? QStringLiteral("성경원문이 들어있는 텍스트 파일을 목록에 추가하십시오 !")
                                      : QStringLiteral("검사할 텍스트 파일을 명령줄에 적어 주십시오 !");
    }
    return inputFileRefusal(files, asker);
}

std::optional<QString> buildRunRefusal(const RunInput& input, QString& versionName, Asker asker)
{
    if (input.files.isEmpty() && input.swordModule.isEmpty()) {
        return asker == Asker::Window
                   ? QStringLiteral("1번[탭]의 파일목록이 비어 있습니다. 역본원문이 있는 텍스트 파일을 추가하십시오 !")
                   : QStringLiteral("역본을 만들 텍스트 파일을 명령줄에 적어 주십시오 !");
    }
    versionName = books::trimSpaces(versionName).toString();
    if (auto refusal = inputFileRefusal(input.files, asker)) {
        return refusal;
    }
    if (versionName.isEmpty()) {
        return asker == Asker::Window ? QStringLiteral("역본명을 2번[탭]에서 설정하여 주십시오 !")
                                      : QStringLiteral("만들 역본의 이름을 적어 주십시오 !");
    }
    // The shipped-name test looks at the part after the last separator; a bare
    // name is given one so that it is tested as the file name it becomes.
    if (versiondb::isShippedName(platform::separator() + completeVersionName(versionName))) {
        return versionName + QStringLiteral("\r\n\r\n선택하신 파일은 기본 제공파일로 '성경본문 편집'만을 지원합니다.");
    }
    return std::nullopt;
}

QString checkRunQuestion()
{
    return QStringLiteral("작업을 시작하시겠습니까?\r\n(일단 작업이 시작되면 중지할 수 없습니다)");
}

QString buildRunQuestion()
{
    return QStringLiteral("☞ 역본 만들기를 시작하시겠습니까?\r\n(작업이 시작되면 중지할 수 없습니다)");
}

} // namespace importer
