#include "platform/FileNames.h"
#include "platform/InstanceLock.h"
#include "platform/ProgramFolders.h"
#include "support/InstallTree.h"

#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <gtest/gtest.h>
#include <tuple>
#ifndef Q_OS_WIN
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;
using platform::fileExists;
using platform::InstanceLock;

// Normal files only, by name or wildcard (those here begin with k): not folders, hidden files or missing folders.
TEST(SharedRoutines, fileExistsFindsNormalFilesOnly)
{
    QTemporaryDir dir;
    for (const QString& name : {u"kjv.dat"_s, u".hidden.dat"_s}) {
        ASSERT_TRUE(QFile(dir.filePath(name)).open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"folder.dat"_s));
    for (const QString& name : {u"kjv.dat"_s, u"k?v.dat"_s, u"folder.dat"_s, u".hidden.dat"_s, u"missing.dat"_s,
                                u"*.txt"_s, u".h*"_s, u"missing-folder/*.dat"_s}) {
        EXPECT_EQ(fileExists(QDir::toNativeSeparators(dir.filePath(name))), name.startsWith(u'k'))
            << name.toStdString();
    }
    EXPECT_FALSE(fileExists(QString()));
}

TEST(SharedRoutines, theInstanceLockRefusesASecondHolderOfTheSameUserUntilTheFirstIsGone)
{
    const QString key = u"byeorisol-test-"_s + QUuid::createUuid().toString(QUuid::WithoutBraces);
    auto first = InstanceLock::acquire(key);
    ASSERT_TRUE(first.has_value());
    std::optional<InstanceLock> moved = std::move(*first);
    first.reset();
    EXPECT_FALSE(InstanceLock::acquire(key).has_value());
#ifndef Q_OS_WIN
    // Another user (nobody, when the tests run as root) starts while this user holds the lock.
    if (const pid_t other = ::getuid() == 0 ? ::fork() : -1; other == 0) {
        ::_exit(::setuid(65534) == 0 && InstanceLock::acquire(key).has_value() ? 0 : 1);
    } else if (int status = -1; other > 0) {
        EXPECT_TRUE(::waitpid(other, &status, 0) == other && WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
#endif
    moved.reset();
    EXPECT_TRUE(InstanceLock::acquire(key).has_value());
    EXPECT_NE(platform::instanceLockKey(u"/opt/a/manager"_s), platform::instanceLockKey(u"/opt/b/manager"_s));
    EXPECT_EQ(platform::instanceLockKey(u"/opt/a/manager"_s), platform::instanceLockKey(u"/opt/a/manager/"_s));
    EXPECT_EQ(QDir::fromNativeSeparators(platform::installFolder(u"/opt/성경/관리기"_s)), u"/opt/성경/관리기/.."_s);
}

// Installed only from a folder named bin without the reference version above it; the user's folder by XDG's rule.
TEST(ProgramFolders, theModeFollowsTheLayoutAndTheUsersFolderFollowsXdg)
{
    using enum platform::FolderMode;
    const std::tuple<QString, QStringList, platform::FolderMode> rows[] = {
        {u"/opt/viewer/manager"_s, {u"/opt/viewer/개역.DAT"_s}, Portable}, // as the build lays it out
        {u"/tmp/x/viewer/manager"_s, {}, Portable},                        // a test's tree
        {u"/usr/bin"_s, {u"/usr/share/byeorisol"_s}, Installed},
        {u"/tmp/root/usr/bin/"_s, {}, Installed},              // no data folder: said when a file is copied
        {u"/home/u/bin"_s, {u"/home/u/개역.DAT"_s}, Portable}, // a portable tree named bin
        {u"/home/u/binaries"_s, {}, Portable},
        {u"/"_s, {}, Portable},
    };
    for (const auto& [folder, existing, mode] : rows) {
        EXPECT_EQ(platform::folderMode(folder, [&](const QString& path) { return existing.contains(path); }), mode)
            << folder.toStdString();
    }
    EXPECT_EQ(QDir::fromNativeSeparators(platform::dataFolder(u"/r/usr/bin"_s)), u"/r/usr/share/byeorisol"_s);
    for (const auto& [xdg, expected] : {std::pair{u"/data/x/"_s, u"/data/x/byeorisol"_s},
                                        {u"data/x"_s, u"/home/u/.local/share/byeorisol"_s},
                                        {QString(), u"/home/u/.local/share/byeorisol"_s}}) {
        EXPECT_EQ(QDir::fromNativeSeparators(platform::userInstallFolder(xdg, u"/home/u"_s)), expected);
    }
}

// The first start copies the shipped files the user lacks; a user's file, in any letter case, is kept, and a
// half-copied file left under its temporary name does not count.
TEST(ProgramFolders, providesTheShippedFilesTheUserLacksAndKeepsTheUsersOwn)
{
    QTemporaryDir dir;
    const QString data = dir.filePath(u"share/byeorisol"_s), install = dir.filePath(u"home/byeorisol"_s);
    const auto write = [](const QString& path, const QByteArray& bytes) {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
        testsupport::write(path, bytes);
    };
    const auto files = [](const QString& folder) {
        QStringList listed;
        for (const QString& name : QDir(folder).entryList(QDir::Files)) {
            listed << name + u'=' + QString::fromUtf8(testsupport::bytes(folder + u'/' + name));
        }
        return listed.join(u", "_s);
    };
    EXPECT_EQ(platform::provideShippedFiles(data, install),
              (platform::FileFailure{QDir::toNativeSeparators(data), u"경로를 찾을 수 없습니다."_s}));
    for (const QString& name : platform::shippedFiles()) {
        write(data + u"/"_s + name, "shipped " + name.toUtf8());
    }
    write(install + u"/USER.DAT"_s, "the user's own");
    write(install + u"/개역.DAT.part-Ab12Cd"_s, "shipped 개");
    EXPECT_EQ(platform::provideShippedFiles(data, install), std::nullopt);
    write(install + u"/manager/null.mdb"_s, "changed by the user");
    EXPECT_EQ(platform::provideShippedFiles(data, install), std::nullopt);
    EXPECT_EQ(files(install), u"USER.DAT=the user's own, 개역.DAT=shipped 개역.DAT, 개역.DAT.part-Ab12Cd=shipped 개"_s);
    EXPECT_EQ(files(install + u"/manager"_s), u"null.mdb=changed by the user"_s);
}
