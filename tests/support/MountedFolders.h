#pragma once

#include <QString>

namespace testsupport {

// A folder made read-only for as long as this lives: bound read-only onto itself when the tests
// may mount (as root, where permissions alone would not stop a write), else stripped of write
// permission. isActive() is false when neither could be done; the test should then skip.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(QString folder);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    [[nodiscard]] bool isActive() const { return m_mounted || m_chmodded; }

private:
    QString m_folder;
    bool m_mounted = false;
    bool m_chmodded = false;
};

// A small empty file system of bytes bytes mounted on an empty folder for as long as this
// lives, to fill up. isActive() is false when the tests may not mount; the test should then skip.
class SmallDisk
{
public:
    SmallDisk(QString folder, qint64 bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    [[nodiscard]] bool isActive() const { return m_mounted; }

private:
    QString m_folder;
    bool m_mounted = false;
};

} // namespace testsupport
