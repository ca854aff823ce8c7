#include "maintenance/FileOperations.h"

#include "platform/FileErrorDescriptions.h"
#include "platform/FileMove.h"
#include "versiondb/VersionStore.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <filesystem>
#include <system_error>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <unistd.h>
#endif

namespace maintenance {

namespace {

std::filesystem::path nativePath(const QString& path)
{
    const QByteArray utf8 = path.toUtf8();
    return std::filesystem::path(
        std::u8string(reinterpret_cast<const char8_t*>(utf8.constData()), static_cast<std::size_t>(utf8.size())));
}

QString removeFailure(const QString& path, const std::error_code& error)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        return QFileInfo(info.absolutePath()).isDir() ? platform::FileErrorDescriptions::fileNotFound()
                                                      : platform::FileErrorDescriptions::pathNotFound();
    }
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted ||
        error == std::errc::read_only_file_system) {
        return platform::FileErrorDescriptions::permissionDenied();
    }
    return platform::FileErrorDescriptions::accessError();
}

} // namespace

std::optional<QString> FileOperations::removeFile(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        return platform::FileErrorDescriptions::accessError();
    }
    std::error_code error;
    if (!std::filesystem::remove(nativePath(path), error) || error) {
        return removeFailure(path, error);
    }
    return std::nullopt;
}

bool FileOperations::moveFile(const QString& from, const QString& to)
{
    const QFileInfo target(to);
    if (target.exists() || target.isSymLink()) {
        return false;
    }
    std::error_code error;
    std::filesystem::rename(nativePath(from), nativePath(to), error);
    if (!error) {
        return true;
    }
    if (error != std::errc::cross_device_link) {
        return false;
    }
    if (!QFile::copy(from, to)) {
        QFile::remove(to);
        return false;
    }
    if (!flushFile(to)) {
        QFile::remove(to);
        return false;
    }
    QFile::remove(from);
    return true;
}

bool FileOperations::replaceFile(const QString& from, const QString& to)
{
    // The copy takes the access of the file it replaces (a private version stays private, a user's stays theirs); then
    // POSIX rename, and MoveFileEx with REPLACE_EXISTING on Windows: one step.
    if (QFileInfo::exists(to) && !platform::takeAccessOf(from, to)) {
        return false;
    }
    std::error_code error;
    std::filesystem::rename(nativePath(from), nativePath(to), error);
    return !error;
}

bool FileOperations::flushFile(const QString& path)
{
#ifdef Q_OS_WIN
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.flush();
#else
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
#endif
}

void FileOperations::compactDatabase(versiondb::VersionStore& source, const QString& destination,
                                     platform::RunControl* control)
{
    source.compactDatabase(destination, control);
}

qint64 FileOperations::recordCount(versiondb::VersionStore& version)
{
    return version.recordCount();
}

std::optional<QString> FileOperations::versionFault(versiondb::VersionStore& version)
{
    return version.soundnessFault();
}

} // namespace maintenance
