#include "platform/FileMove.h"

#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

RenameOutcome renameToNewName(const QString& from, const QString& to)
{
#ifndef Q_OS_WIN
    if (::renameat2(AT_FDCWD, QFile::encodeName(from).constData(), AT_FDCWD, QFile::encodeName(to).constData(),
                    RENAME_NOREPLACE) == 0) {
        return RenameOutcome::Renamed;
    }
    return errno == EEXIST ? RenameOutcome::TargetExists : RenameOutcome::Failed;
#else
    // MoveFileEx without REPLACE_EXISTING never replaces a file.
    if (QFile::rename(from, to)) {
        return RenameOutcome::Renamed;
    }
    return QFileInfo::exists(to) ? RenameOutcome::TargetExists : RenameOutcome::Failed;
#endif
}

bool takeAccessOf(const QString& path, const QString& model)
{
#ifndef Q_OS_WIN
    // Before the permissions, which a change of owner may clear. Only root may give a file away; anyone else keeps
    // the copy as their own, as cp -p does.
    struct stat of = {};
    if (::stat(QFile::encodeName(model).constData(), &of) == 0) {
        (void)::chown(QFile::encodeName(path).constData(), of.st_uid, of.st_gid);
    }
#endif
    return QFile::setPermissions(path, QFile::permissions(model));
}

void flushFolder(const QString& folder)
{
#ifndef Q_OS_WIN
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        (void)::fsync(fd);
        ::close(fd);
    }
#else
    (void)folder; // NTFS journals its folder entries itself
#endif
}

} // namespace platform
