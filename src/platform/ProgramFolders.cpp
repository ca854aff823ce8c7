#include "platform/ProgramFolders.h"

#include "platform/FileErrorDescriptions.h"
#include "platform/FileMove.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace platform {

namespace {

QString native(const QString& path)
{
    return QDir::toNativeSeparators(QDir::cleanPath(path));
}

// Whether folder holds an entry of this name in any letter case, as the viewer finds its files.
bool holdsName(const QString& folder, const QString& name)
{
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
    return std::any_of(entries.cbegin(), entries.cend(),
                       [&name](const QString& entry) { return entry.compare(name, Qt::CaseInsensitive) == 0; });
}

bool flushToDisk(QFileDevice& file)
{
#ifdef Q_OS_WIN
    return file.flush();
#else
    return file.flush() && ::fsync(file.handle()) == 0;
#endif
}

// Copies source to the new file target through a temporary file beside it; a file that takes the name meanwhile wins.
std::optional<FileFailure> copyToNewFile(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        return FileFailure{native(source), FileErrorDescriptions::openForReadingFailure(source)};
    }
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError) {
        return FileFailure{native(source), FileErrorDescriptions::readFailure()};
    }
    QString partName;
    {
        QTemporaryFile part(target + QStringLiteral(".part-XXXXXX"));
        if (!part.open()) {
            return FileFailure{native(target), FileErrorDescriptions::openForWritingFailure(target)};
        }
        if (part.write(bytes) != bytes.size() || !flushToDisk(part)) {
            return FileFailure{native(target), FileErrorDescriptions::writeFailure(target)};
        }
        // The user's copy is the user's to change, whatever the package's file allows.
        (void)part.setPermissions(in.permissions() | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        part.setAutoRemove(false);
        partName = part.fileName();
    } // closed first: Windows renames no file that is still open
    switch (renameToNewName(partName, target)) {
    case RenameOutcome::Renamed:
        flushFolder(QFileInfo(target).absolutePath());
        return std::nullopt;
    case RenameOutcome::TargetExists: // another start of the program provided it first
        QFile::remove(partName);
        return std::nullopt;
    case RenameOutcome::Failed:
        QFile::remove(partName);
        break;
    }
    return FileFailure{native(target), FileErrorDescriptions::openForWritingFailure(target)};
}

} // namespace

QString separator()
{
#ifdef Q_OS_WIN
    return QStringLiteral("\\");
#else
    return QStringLiteral("/");
#endif
}

FolderMode folderMode(const QString& executableFolder, const std::function<bool(const QString&)>& exists)
{
    const QString folder = QDir::cleanPath(QDir::fromNativeSeparators(executableFolder));
    if (exists(QDir::cleanPath(folder + QStringLiteral("/../개역.DAT")))) {
        return FolderMode::Portable;
    }
    return QFileInfo(folder).fileName() == QStringLiteral("bin") ? FolderMode::Installed : FolderMode::Portable;
}

QString dataFolder(const QString& executableFolder)
{
    return native(QDir::fromNativeSeparators(executableFolder) + QStringLiteral("/../share/byeorisol"));
}

QString userInstallFolder(const QString& dataHome, const QString& home)
{
    const QString data = QDir::isAbsolutePath(dataHome) ? dataHome : home + QStringLiteral("/.local/share");
    return native(QDir::fromNativeSeparators(data) + QStringLiteral("/byeorisol"));
}

QStringList shippedFiles()
{
    return {QStringLiteral("개역.DAT"), QStringLiteral("user.dat"), QStringLiteral("manager/null.mdb")};
}

std::optional<FileFailure> provideShippedFiles(const QString& dataFolder, const QString& installFolder)
{
    for (const QString& name : shippedFiles()) {
        const QFileInfo target(QDir(installFolder).filePath(name));
        const QString folder = target.absolutePath();
        if (QFileInfo(folder).isDir() && holdsName(folder, target.fileName())) {
            continue;
        }
        if (!QFileInfo(dataFolder).isDir()) {
            return FileFailure{native(dataFolder), FileErrorDescriptions::pathNotFound()};
        }
        if (!QDir().mkpath(folder)) {
            return FileFailure{native(folder), FileErrorDescriptions::openForWritingFailure(folder)};
        }
        if (auto failure = copyToNewFile(QDir(dataFolder).filePath(name), target.filePath())) {
            return failure;
        }
    }
    return std::nullopt;
}

ProgramFolder programFolder()
{
    const QString executable = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    if (folderMode(executable, [](const QString& path) { return QFileInfo::exists(path); }) == FolderMode::Portable) {
        return {executable, std::nullopt};
    }
#ifdef Q_OS_WIN
    // Where Windows keeps a user's own data of a program.
    const QString dataHome = qEnvironmentVariable("LOCALAPPDATA");
#else
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
#endif
    const QString install = userInstallFolder(dataHome, QDir::homePath());
    return {install + separator() + QStringLiteral("manager"), provideShippedFiles(dataFolder(executable), install)};
}

QString installFolder(const QString& programFolder)
{
    return programFolder + separator() + QStringLiteral("..");
}

} // namespace platform
