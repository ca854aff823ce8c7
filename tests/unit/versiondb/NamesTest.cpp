// The reference version is found whatever the letter case of its stored name;
// an exact match is preferred and a missing name left alone.

#include "versiondb/Names.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(Names, fileNamesResolveWithoutRegardToLetterCase)
{
    QTemporaryDir dir;
    const QString pf = dir.filePath(QStringLiteral("manager"));
    ASSERT_TRUE(QDir().mkpath(pf));
    ASSERT_TRUE(QFile(dir.filePath(QStringLiteral("개역.Dat"))).open(QIODevice::WriteOnly));
    EXPECT_EQ(versiondb::referenceVersionPath(pf), pf + QStringLiteral("/../개역.Dat"));
    for (const QString& name : {QStringLiteral("kjv.dat"), QStringLiteral("KJV.DAT")}) {
        ASSERT_TRUE(QFile(dir.filePath(name)).open(QIODevice::WriteOnly));
    }
    for (const char* name : {"KJV.DAT", "kjv.dat", "none.dat", "missing/개역.DAT"}) {
        const QString path = dir.filePath(QString::fromUtf8(name));
        EXPECT_EQ(versiondb::resolveFileNameCase(path), path);
    }
}
