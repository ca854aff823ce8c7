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

namespace {

enum class RegularFileOpen
{
    Opened,     // file is open for reading
    NotRegular, // the path names a folder, device, pipe or socket; nothing was read from it
    Failed,     // the file could not be opened
};

// Opens a regular file (or a link to one) for reading into file, whose name is set to path.
// Anything else is refused without ever blocking: a pipe with no writer is never waited for.
RegularFileOpen openRegularFileForReading(QFile& file, const QString& path)
{
    file.setFileName(path);
#ifdef Q_OS_WIN
    if (isOtherThanRegularFile(path)) {
        return RegularFileOpen::NotRegular;
    }
    return file.open(QIODevice::ReadOnly) ? RegularFileOpen::Opened : RegularFileOpen::Failed;
#else
    // Opened without waiting, so that a pipe cannot hold the open; what it is is then asked of the
    // open descriptor itself, so nothing put in the file's place meanwhile can slip through.
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        // A socket cannot be opened at all, yet it is no file to read either.
        return isOtherThanRegularFile(path) ? RegularFileOpen::NotRegular : RegularFileOpen::Failed;
    }
    struct stat status
    {};
    if (::fstat(descriptor, &status) != 0) {
        ::close(descriptor);
        return RegularFileOpen::Failed;
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return RegularFileOpen::NotRegular;
    }
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags < 0 || ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0 ||
        !file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return RegularFileOpen::Failed;
    }
    return RegularFileOpen::Opened;
#endif
}

} // namespace

std::optional<QString> openRegularFileOrSayWhy(QFile& file, const QString& path)
{
    switch (openRegularFileForReading(file, path)) {
    case RegularFileOpen::Opened:
        break;
    case RegularFileOpen::NotRegular:
        return FileErrorDescriptions::notRegularFile();
    case RegularFileOpen::Failed:
        return FileErrorDescriptions::openForReadingFailure(path);
    }
    return std::nullopt;
}

} // namespace platform
