// Names and places of version files.

#include "versiondb/Names.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace versiondb;

TEST(IsShippedName, comparesTheDisplayNameLowerCasedAndNothingElse)
{
    const std::vector<std::pair<QString, bool>> cases = {
        {QStringLiteral("/viewer/KJV.DAT"), true},       {QStringLiteral("/somewhere/else/kjv.dat"), true},
        {QStringLiteral("/viewer/User.Dat"), true},      {QStringLiteral("/viewer/개역.DAT"), true},
        {QStringLiteral("/viewer/개역.dat"), true},      {QStringLiteral("/viewer/kjv.dat.bak"), false},
        {QStringLiteral("/viewer/kjv2.dat"), false},     {QStringLiteral("/viewer/kjv.dat "), false},
        {QStringLiteral("/viewer/개역한글.dat"), false}, {QStringLiteral("kjv.dat"), false}, // no display name
    };
    for (const auto& [path, shipped] : cases) {
        EXPECT_EQ(isShippedName(path), shipped) << path.toStdString();
    }
}

TEST(Names, displayNameAndPathsAreBuiltByConcatenationWithoutNormalising)
{
    EXPECT_EQ(displayName(QStringLiteral("/viewer/data/mine.dat")), QStringLiteral("mine.dat"));
    EXPECT_EQ(displayName(QStringLiteral("mine.dat")), QString());
    EXPECT_EQ(displayName(QStringLiteral("/viewer/data/")), QString());
    const QString pf = QStringLiteral("/opt/viewer/./manager");
    EXPECT_EQ(versionPath(pf, QStringLiteral("mine.DAT")), QStringLiteral("/opt/viewer/./manager/../mine.DAT"));
    EXPECT_EQ(templatePath(pf), QStringLiteral("/opt/viewer/./manager/null.mdb"));
    EXPECT_EQ(scratchPath(pf), QStringLiteral("/opt/viewer/./manager/temp.mdb"));
    EXPECT_EQ(referenceVersionPath(pf), QStringLiteral("/opt/viewer/./manager/../개역.DAT"));
}

// The reference version is found whatever the letter case of its stored name;
// an exact match is preferred and a missing name left alone.
TEST(Names, fileNamesResolveWithoutRegardToLetterCase)
{
    QTemporaryDir dir;
    const QString pf = dir.filePath(QStringLiteral("manager"));
    ASSERT_TRUE(QDir().mkpath(pf));
    for (const QString& name : {QStringLiteral("개역.dat"), QStringLiteral("개역.Dat")}) {
        QFile::remove(dir.filePath(QStringLiteral("개역.dat")));
        ASSERT_TRUE(QFile(dir.filePath(name)).open(QIODevice::WriteOnly));
        EXPECT_EQ(referenceVersionPath(pf), pf + QStringLiteral("/../") + name);
    }
    for (const QString& name : {QStringLiteral("kjv.dat"), QStringLiteral("KJV.DAT")}) {
        ASSERT_TRUE(QFile(dir.filePath(name)).open(QIODevice::WriteOnly));
    }
    for (const char* name : {"KJV.DAT", "kjv.dat", "none.dat", "missing/개역.DAT"}) {
        const QString path = dir.filePath(QString::fromUtf8(name));
        EXPECT_EQ(resolveFileNameCase(path), path);
    }
}
