#include "versiondb/SideFiles.h"

#include <QFile>

namespace versiondb {

QString journalPath(const QString& path)
{
    return path + QStringLiteral("-journal");
}

QStringList logPaths(const QString& path)
{
    return {path + QStringLiteral("-wal"), path + QStringLiteral("-shm")};
}

QStringList sideFilePaths(const QString& path)
{
    return QStringList{journalPath(path)} + logPaths(path);
}

void removeSideFiles(const QString& path)
{
    for (const QString& side : sideFilePaths(path)) {
        QFile::remove(side);
    }
}

void removeWithSideFiles(const QString& path)
{
    QFile::remove(path);
    removeSideFiles(path);
}

} // namespace versiondb
