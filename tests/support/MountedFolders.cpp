#include "support/MountedFolders.h"

#include <QFile>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace testsupport {

ReadOnlyFolder::ReadOnlyFolder(QString folder) : m_folder(std::move(folder))
{
    const QByteArray path = QFile::encodeName(m_folder);
    if (::mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr) == 0) {
        if (::mount(nullptr, path.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0) {
            m_mounted = true;
            return;
        }
        ::umount2(path.constData(), MNT_DETACH);
    }
    if (::geteuid() != 0) {
        m_chmodded = ::chmod(path.constData(), 0555) == 0;
    }
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    const QByteArray path = QFile::encodeName(m_folder);
    if (m_mounted) {
        ::umount2(path.constData(), MNT_DETACH);
    }
    if (m_chmodded) {
        ::chmod(path.constData(), 0755);
    }
}

SmallDisk::SmallDisk(QString folder, qint64 bytes) : m_folder(std::move(folder))
{
    const QByteArray options = "size=" + QByteArray::number(bytes);
    m_mounted = ::mount("tmpfs", QFile::encodeName(m_folder).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                        options.constData()) == 0;
}

SmallDisk::~SmallDisk()
{
    if (m_mounted) {
        ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
    }
}

} // namespace testsupport
