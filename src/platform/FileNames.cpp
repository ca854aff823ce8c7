#include "platform/FileNames.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

namespace {

// Where the path's last separator is. Windows takes a slash as one too, and its file dialogs give paths with
// slashes; elsewhere a backslash is a letter of a name.
qsizetype lastSeparator(const QString& path)
{
    return QDir::fromNativeSeparators(path).lastIndexOf(u'/');
}

bool isNormalFile(const QFileInfo& info)
{
    return info.isFile() && !info.isHidden();
}

bool hasWildcards(const QString& name)
{
    return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

} // namespace

QString getFileName(const QString& path)
{
    const qsizetype last = lastSeparator(path);
    if (last < 0) {
        return {};
    }
    return path.mid(last + 1);
}

bool fileExists(const QString& path)
{
    if (path.isEmpty()) {
        return false;
    }
    const QString name = path.mid(lastSeparator(path) + 1);
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

QString fullPath(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

} // namespace platform
