#include "platform/FileErrorDescriptions.h"

#include <QFileInfo>

namespace platform {

namespace {

const QString kFileNotFound = QStringLiteral("파일을 찾을 수 없습니다.");
const QString kPathNotFound = QStringLiteral("경로를 찾을 수 없습니다.");
const QString kPermissionDenied = QStringLiteral("사용 권한이 없습니다.");
const QString kAccessError = QStringLiteral("경로/파일 액세스 오류입니다.");
const QString kReadError = QStringLiteral("파일을 읽는 중에 장치 입/출력 오류가 발생했습니다.");
const QString kWriteError =
    QStringLiteral("파일을 쓰는 중에 오류가 발생했습니다. 디스크 공간과 쓰기 권한을 확인하십시오.");
const QString kRemoveError = QStringLiteral("파일을 삭제할 수 없습니다. 다른 프로그램이 사용 중인지 확인하십시오.");

} // namespace

QString FileErrorDescriptions::fileNotFound()
{
    return kFileNotFound;
}

QString FileErrorDescriptions::pathNotFound()
{
    return kPathNotFound;
}

QString FileErrorDescriptions::permissionDenied()
{
    return kPermissionDenied;
}

QString FileErrorDescriptions::accessError()
{
    return kAccessError;
}

QString FileErrorDescriptions::openForReadingFailure(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        return QFileInfo(info.absolutePath()).isDir() ? kFileNotFound : kPathNotFound;
    }
    if (info.isFile() && !info.isReadable()) {
        return kPermissionDenied;
    }
    return kAccessError;
}

QString FileErrorDescriptions::openForWritingFailure(const QString& path)
{
    const QFileInfo info(path);
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir()) {
        return kPathNotFound;
    }
    if (info.isFile() ? !info.isWritable() : (!info.exists() && !folder.isWritable())) {
        return kPermissionDenied;
    }
    return kAccessError;
}

QString FileErrorDescriptions::readFailure()
{
    return kReadError;
}

QString FileErrorDescriptions::writeFailure()
{
    return kWriteError;
}

QString FileErrorDescriptions::removeFailure()
{
    return kRemoveError;
}

QString FileErrorDescriptions::copyFailure(const QString& source, const QString& destination)
{
    if (!QFileInfo(source).isFile()) {
        return openForReadingFailure(source);
    }
    if (QFileInfo::exists(destination)) {
        return QStringLiteral("같은 이름의 파일이나 폴더가 이미 있습니다.");
    }
    return openForWritingFailure(destination);
}

} // namespace platform
