#include "platform/RegularFile.h"

#include "platform/FileErrorDescriptions.h"

#include <QFileInfo>

#ifndef Q_OS_WIN
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

bool isOtherThanRegularFile(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isFile();
}

std::optional<QString> openRegularFileOrSayWhy(QFile& file, const QString& path)
{
    file.setFileName(path);
#ifdef Q_OS_WIN
    if (isOtherThanRegularFile(path)) {
        return FileErrorDescriptions::notRegularFile();
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return FileErrorDescriptions::openForReadingFailure(path);
    }
#else
    // Opened without waiting, so that a pipe cannot hold the open; what it is is then asked of the
    // open descriptor itself, so nothing put in the file's place meanwhile can slip through.
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        // A socket cannot be opened at all, yet it is no file to read either.
        return isOtherThanRegularFile(path) ? FileErrorDescriptions::notRegularFile()
                                            : FileErrorDescriptions::openForReadingFailure(path);
    }
    struct stat status
    {};
    if (::fstat(descriptor, &status) != 0) {
        ::close(descriptor);
        return FileErrorDescriptions::openForReadingFailure(path);
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return FileErrorDescriptions::notRegularFile();
    }
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags < 0 || ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0 ||
        !file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return FileErrorDescriptions::openForReadingFailure(path);
    }
#endif
    return std::nullopt;
}

} // namespace platform
