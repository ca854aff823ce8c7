#include "versiondb/SideFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

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

namespace {

QString markOf(WorkKind kind)
{
    return kind == WorkKind::Compaction ? QStringLiteral(".compact-") : QStringLiteral(".repair-");
}

// The work files that compactions and repairs of path killed before their end left beside it.
QStringList workFileLeftovers(const QString& path)
{
    const QFileInfo info(path);
    static const QRegularExpression kSuffix(
        QStringLiteral("^(\\.(compact|repair)-[0-9a-f]{1,8})(-journal|-wal|-shm)?$"));
    QStringList leftovers;
    const QStringList names =
        info.dir().entryList({info.fileName() + QStringLiteral(".*")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        const QRegularExpressionMatch match = kSuffix.match(name.mid(info.fileName().size()));
        if (match.hasMatch() && name.startsWith(info.fileName())) {
            const QString work = info.dir().filePath(info.fileName() + match.captured(1));
            if (!leftovers.contains(work)) {
                leftovers << work;
            }
        }
    }
    return leftovers;
}

} // namespace

bool isSideOrWorkFileName(const QString& name)
{
    // The side files' suffixes and the work files' marks, as workFileLeftovers finds them (any case, as on Windows).
    static const QRegularExpression kSuffix(QStringLiteral("(-journal|-wal|-shm|\\.(compact|repair)-[0-9a-f]{1,8})$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return kSuffix.match(name).hasMatch();
}

QString newWorkFilePath(const QString& path, WorkKind kind)
{
    for (;;) {
        const QString candidate =
            path + markOf(kind) + QString::number(QRandomGenerator::global()->bounded(0x100000, 0x1000000), 16);
        const QFileInfo info(candidate);
        if (!info.exists() && !info.isSymLink()) {
            return candidate;
        }
    }
}

void removeWorkFileLeftovers(const QString& path)
{
    for (const QString& leftover : workFileLeftovers(path)) {
        removeWithSideFiles(leftover);
    }
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
