#include "import/VersionName.h"

#include "versiondb/SideFiles.h"

#include <algorithm>

namespace importer {

namespace {

bool isForbidden(QChar c)
{
    static const QString kForbidden = QStringLiteral("\\/:*?\"<>|");
    return c.unicode() < 0x20 || kForbidden.contains(c);
}

} // namespace

QString completeVersionName(const QString& name)
{
    return name.contains(QLatin1Char('.')) ? name : name + QStringLiteral(".DAT");
}

std::optional<QString> versionNameProblem(const QString& name)
{
    if (name.contains(QStringLiteral("..")) || std::ranges::any_of(name, isForbidden)) {
        return QStringLiteral(
            "역본명에는 폴더 구분 기호(\\ /), '..', 그리고 파일 이름에 쓸 수 없는 문자(: * ? \" < > |)를 "
            "넣을 수 없습니다 !");
    }
    if (const QString file = completeVersionName(name);
        versiondb::isSideOrWorkFileName(file) || file.endsWith(kStagingSuffix, Qt::CaseInsensitive)) {
        return QStringLiteral("역본명이 '-journal', '-wal', '-shm', '.building', '.compact-…', '.repair-…'로 끝나면 "
                              "다른 역본파일의 작업파일로 여겨져 지워질 수 있으므로 쓸 수 없습니다 !");
    }
    return std::nullopt;
}

} // namespace importer
