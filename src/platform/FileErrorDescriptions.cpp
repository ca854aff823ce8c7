#include "platform/FileErrorDescriptions.h"

#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>

namespace platform {

namespace {

const QString kFileNotFound = QStringLiteral("파일을 찾을 수 없습니다.");
const QString kPathNotFound = QStringLiteral("경로를 찾을 수 없습니다.");
const QString kPermissionDenied = QStringLiteral("사용 권한이 없습니다.");
const QString kAccessError = QStringLiteral("경로/파일 액세스 오류입니다.");
const QString kDiskFull = QStringLiteral("디스크 공간이 부족합니다.");
const QString kNotRegularFile = QStringLiteral("텍스트 파일이 아닌 폴더나 장치, 파이프는 읽을 수 없습니다.");
const QString kWriteError =
    QStringLiteral("파일을 쓰는 중에 오류가 발생했습니다. 디스크 공간과 쓰기 권한을 확인하십시오.");

// Below this much free space a failed write is taken for a full disk: every write that fails
// for want of space leaves less than one write buffer free.
constexpr qint64 kNearlyFullBytes = 64 * 1024;

QString folderOf(const QString& path)
{
    return QFileInfo(path).absolutePath();
}

// A folder on a read-only medium, or one that this user may not change.
bool isReadOnlyFolder(const QString& folder)
{
    const QFileInfo info(folder);
    if (!info.isDir()) {
        return false;
    }
    const QStorageInfo storage(folder);
    return (storage.isValid() && storage.isReadOnly()) || !info.isWritable();
}

// Whether the medium of folder has less room than needed (and never less than a write buffer).
bool isFull(const QString& folder, qint64 needed)
{
    const QStorageInfo storage(folder);
    if (!storage.isValid()) {
        return false;
    }
    const qint64 available = storage.bytesAvailable();
    return available >= 0 && available < std::max(needed, kNearlyFullBytes);
}

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

QString FileErrorDescriptions::diskFull()
{
    return kDiskFull;
}

QString FileErrorDescriptions::notRegularFile()
{
    return kNotRegularFile;
}

QString FileErrorDescriptions::openForReadingFailure(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        return QFileInfo(info.absolutePath()).isDir() ? kFileNotFound : kPathNotFound;
    }
    if (!info.isFile()) {
        return kNotRegularFile;
    }
    if (!info.isReadable()) {
        return kPermissionDenied;
    }
    return kAccessError;
}

QString FileErrorDescriptions::openForWritingFailure(const QString& path)
{
    const QFileInfo info(path);
    const QString folder = folderOf(path);
    if (!QFileInfo(folder).isDir()) {
        return kPathNotFound;
    }
    if (info.exists() && !info.isFile()) {
        return kAccessError;
    }
    if (isReadOnlyFolder(folder) && !(info.isFile() && info.isWritable())) {
        return QStringLiteral("읽기 전용 폴더여서 파일을 만들 수 없습니다.");
    }
    if (info.isFile() && !info.isWritable()) {
        return kPermissionDenied;
    }
    if (isFull(folder, 0)) {
        return kDiskFull;
    }
    return kAccessError;
}

QString FileErrorDescriptions::readFailure()
{
    return QStringLiteral("파일을 읽는 중에 장치 입/출력 오류가 발생했습니다.");
}

QString FileErrorDescriptions::writeFailure(const QString& path)
{
    return isFull(folderOf(path), 0) ? kDiskFull : kWriteError;
}

QString FileErrorDescriptions::removeFailure(const QString& path)
{
    return isReadOnlyFolder(folderOf(path))
               ? QStringLiteral("읽기 전용 폴더여서 파일을 지울 수 없습니다.")
               : QStringLiteral("파일을 삭제할 수 없습니다. 다른 프로그램이 사용 중인지 확인하십시오.");
}

QString FileErrorDescriptions::copyFailure(const QString& source, const QString& destination)
{
    const QFileInfo from(source);
    if (!from.isFile()) {
        return openForReadingFailure(source);
    }
    if (QFileInfo::exists(destination)) {
        return QStringLiteral("같은 이름의 파일이나 폴더가 이미 있습니다.");
    }
    const QString folder = folderOf(destination);
    if (QFileInfo(folder).isDir() && !isReadOnlyFolder(folder) && isFull(folder, from.size())) {
        return kDiskFull;
    }
    return openForWritingFailure(destination);
}

} // namespace platform
