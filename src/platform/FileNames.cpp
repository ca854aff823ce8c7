#include "platform/FileNames.h"

#include "platform/ProgramFolders.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

QString GetFileName(const QString& path)
{
    const qsizetype last = path.lastIndexOf(separator());
    if (last < 0) {
        return {};
    }
    return path.mid(last + 1);
}

namespace {

bool isNormalFile(const QFileInfo& info)
{
    return info.isFile() && !info.isHidden();
}

bool hasWildcards(const QString& name)
{
    return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

} // namespace

bool FileExists(const QString& path)
{
    if (path.isEmpty()) {
        return false;
    }
    const qsizetype last = path.lastIndexOf(separator());
    const QString name = path.mid(last + 1);
    if (!hasWildcards(name)) {
        return isNormalFile(QFileInfo(path));
    }
    const QString folder = path.left(path.size() - name.size());
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    if (!dir.exists()) {
        return false;
    }
    // QDir::Files without QDir::Hidden lists neither folders nor hidden files.
    return !dir.entryList({name}, QDir::Files | QDir::NoDotAndDotDot).isEmpty();
}

} // namespace platform
