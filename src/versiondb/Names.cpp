#include "versiondb/Names.h"

#include "platform/FileNames.h"
#include "platform/ProgramFolders.h"

#include <QDir>
#include <QFileInfo>

namespace versiondb {

namespace {

QString lowerAsciiLetters(const QString& text)
{
    QString lower = text;
    for (QChar& c : lower) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) {
            c = QChar(c.unicode() + ('a' - 'A'));
        }
    }
    return lower;
}

} // namespace

QString versionPath(const QString& programFolder, const QString& fileName)
{
    return programFolder + platform::separator() + QStringLiteral("..") + platform::separator() + fileName;
}

QString referenceVersionPath(const QString& programFolder)
{
    return resolveFileNameCase(versionPath(programFolder, QStringLiteral("개역.DAT")));
}

QString templatePath(const QString& programFolder)
{
    return programFolder + platform::separator() + QStringLiteral("null.mdb");
}

QString scratchPath(const QString& programFolder)
{
    return programFolder + platform::separator() + QStringLiteral("temp.mdb");
}

QString resolveFileNameCase(const QString& path)
{
    const qsizetype last = path.lastIndexOf(platform::separator());
    const QString name = path.mid(last + 1);
    if (name.isEmpty() || QFileInfo::exists(path)) {
        return path;
    }
    const QString folder = last < 0 ? QStringLiteral(".") : path.left(last + 1);
    const QDir dir(folder);
    const QString wanted = lowerAsciiLetters(name);
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries) {
        if (lowerAsciiLetters(entry) == wanted || entry.compare(name, Qt::CaseInsensitive) == 0) {
            return path.left(last + 1) + entry;
        }
    }
    return path;
}

QString displayName(const QString& path)
{
    return platform::getFileName(path);
}

bool isShippedName(const QString& path)
{
    // Windows drops the dots and spaces that end a name: "개역.DAT." is 개역.DAT there.
    QString name = lowerAsciiLetters(displayName(path));
    while (name.endsWith(u'.') || name.endsWith(u' ')) {
        name.chop(1);
    }
    return name == QStringLiteral("kjv.dat") || name == QStringLiteral("user.dat") ||
           name == QStringLiteral("개역.dat");
}

} // namespace versiondb
