#include "platform/ProgramFolders.h"

#include <QCoreApplication>
#include <QDir>

namespace platform {

QString separator()
{
#ifdef Q_OS_WIN
    return QStringLiteral("\\");
#else
    return QStringLiteral("/");
#endif
}

QString programFolder()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

QString installFolder(const QString& programFolder)
{
    return programFolder + separator() + QStringLiteral("..");
}

} // namespace platform
