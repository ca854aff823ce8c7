#include "platform/FileNames.h"
#include "platform/InstanceLock.h"
#include "platform/ProgramFolders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUuid>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using platform::FileExists;
using platform::InstanceLock;

// Normal files only, by name or by wildcard: not folders, hidden files or missing folders.
TEST(SharedRoutines, fileExistsFindsNormalFilesOnly)
{
    QTemporaryDir dir;
    for (const QString& name : {u"kjv.dat"_s, u".hidden.dat"_s}) {
        ASSERT_TRUE(QFile(dir.filePath(name)).open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"folder.dat"_s));
    for (const QString& name : {u"kjv.dat"_s, u"k?v.dat"_s}) {
        EXPECT_TRUE(FileExists(QDir::toNativeSeparators(dir.filePath(name)))) << name.toStdString();
    }
    for (const QString& name :
         {u"folder.dat"_s, u".hidden.dat"_s, u"missing.dat"_s, u"*.txt"_s, u".h*"_s, u"missing-folder/*.dat"_s}) {
        EXPECT_FALSE(FileExists(QDir::toNativeSeparators(dir.filePath(name)))) << name.toStdString();
    }
    EXPECT_FALSE(FileExists(QString()));
}

TEST(SharedRoutines, theInstanceLockRefusesASecondHolderUntilTheFirstIsGone)
{
    const QString key = u"byeorisol-test-"_s + QUuid::createUuid().toString(QUuid::WithoutBraces);
    auto first = InstanceLock::acquire(key);
    ASSERT_TRUE(first.has_value());
    std::optional<InstanceLock> moved = std::move(*first);
    first.reset();
    EXPECT_FALSE(InstanceLock::acquire(key).has_value());
    moved.reset();
    EXPECT_TRUE(InstanceLock::acquire(key).has_value());
    EXPECT_NE(platform::instanceLockKey(u"/opt/a/manager"_s), platform::instanceLockKey(u"/opt/b/manager"_s));
    EXPECT_EQ(platform::instanceLockKey(u"/opt/a/manager"_s), platform::instanceLockKey(u"/opt/a/manager/"_s));
    EXPECT_EQ(platform::installFolder(u"/opt/성경/관리기"_s), u"/opt/성경/관리기/.."_s);
}
