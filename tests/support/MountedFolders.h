#pragma once

#include <QFile>
#include <QString>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testsupport {

// A folder made read-only for as long as this lives: bound read-only onto itself when the tests may mount (as root,
// where permissions alone would not stop a write), else stripped of write permission. isActive() is false when neither
// could be done; the test should then skip.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString& folder) : m_path(QFile::encodeName(folder))
    {
        if (::mount(m_path.constData(), m_path.constData(), nullptr, MS_BIND, nullptr) == 0) {
            m_mounted = ::mount(nullptr, m_path.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
            if (!m_mounted) {
                ::umount2(m_path.constData(), MNT_DETACH);
            }
        }
        m_chmodded = !m_mounted && ::geteuid() != 0 && ::chmod(m_path.constData(), 0555) == 0;
    }
    ~ReadOnlyFolder()
    {
        if (m_mounted) {
            ::umount2(m_path.constData(), MNT_DETACH);
        }
        if (m_chmodded) {
            ::chmod(m_path.constData(), 0755);
        }
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    [[nodiscard]] bool isActive() const { return m_mounted || m_chmodded; }

private:
    QByteArray m_path;
    bool m_mounted = false;
    bool m_chmodded = false;
};

// A small empty file system of bytes bytes mounted on an empty folder for as long as this lives, to fill up.
// isActive() is false when the tests may not mount; the test should then skip.
class SmallDisk
{
public:
    SmallDisk(const QString& folder, qint64 bytes)
        : m_path(QFile::encodeName(folder)),
          m_mounted(::mount("tmpfs", m_path.constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                            ("size=" + QByteArray::number(bytes)).constData()) == 0)
    {}
    ~SmallDisk()
    {
        if (m_mounted) {
            ::umount2(m_path.constData(), MNT_DETACH);
        }
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    [[nodiscard]] bool isActive() const { return m_mounted; }

private:
    QByteArray m_path;
    bool m_mounted;
};

} // namespace testsupport
