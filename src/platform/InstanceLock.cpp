#include "platform/InstanceLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <utility>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace platform {

QString instanceLockKey(const QString& programFolder)
{
    const QByteArray folder = QDir::cleanPath(QDir::fromNativeSeparators(programFolder)).toUtf8();
    const QByteArray hash = QCryptographicHash::hash(folder, QCryptographicHash::Sha256).toHex().left(16);
    return QStringLiteral("byeorisol-manager-") + QString::fromLatin1(hash);
}

std::optional<InstanceLock> InstanceLock::acquire(const QString& key)
{
#ifdef Q_OS_WIN
    // A named mutex disappears with the last handle, that is with the process.
    const QString name = QStringLiteral("Local\\") + key;
    HANDLE mutex = CreateMutexW(nullptr, FALSE, reinterpret_cast<LPCWSTR>(name.utf16()));
    if (mutex == nullptr) {
        return std::nullopt;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return std::nullopt;
    }
    return InstanceLock(reinterpret_cast<qintptr>(mutex));
#else
    // flock() locks belong to the open file description and vanish when the
    // process ends; the file itself may stay, an unlocked file means no instance.
    // Each user has a lock of their own, as each session has on Windows: the
    // temporary folder is shared, and another user's file there cannot be opened.
    const QString name = key + u'-' + QString::number(::getuid()) + QStringLiteral(".lock");
    const QByteArray path = QDir(QDir::tempPath()).filePath(name).toUtf8();
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        return std::nullopt;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return std::nullopt;
    }
    return InstanceLock(fd);
#endif
}

InstanceLock::InstanceLock(InstanceLock&& other) noexcept : m_handle(std::exchange(other.m_handle, -1)) {}

InstanceLock& InstanceLock::operator=(InstanceLock&& other) noexcept
{
    if (this != &other) {
        release();
        m_handle = std::exchange(other.m_handle, -1);
    }
    return *this;
}

InstanceLock::~InstanceLock()
{
    release();
}

void InstanceLock::release() noexcept
{
    if (m_handle == -1) {
        return;
    }
#ifdef Q_OS_WIN
    CloseHandle(reinterpret_cast<HANDLE>(m_handle));
#else
    ::close(static_cast<int>(m_handle));
#endif
    m_handle = -1;
}

} // namespace platform
