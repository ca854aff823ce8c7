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
        {QStringLiteral("/viewer/kjv.dat"), true},   {QStringLiteral("/viewer/KJV.DAT"), true},
        {QStringLiteral("/viewer/Kjv.Dat"), true},   {QStringLiteral("/somewhere/else/kjv.dat"), true},
        {QStringLiteral("/viewer/User.Dat"), true},  {QStringLiteral("/viewer/개역.DAT"), true},
        {QStringLiteral("/viewer/개역.dat"), true},  {QStringLiteral("/viewer/kjv.dat.bak"), false},
        {QStringLiteral("/viewer/kjv2.dat"), false}, {QStringLiteral("/viewer/mykjv.dat"), false},
        {QStringLiteral("/viewer/kjv.dat "), false}, {QStringLiteral("/viewer/개역한글.dat"), false},
        {QStringLiteral("kjv.dat"), false}, // no separator: the display name is empty
        {QStringLiteral("/viewer/"), false},         {QStringLiteral(""), false},
    };
    for (const auto& [path, shipped] : cases) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_EQ(isShippedName(path), shipped);
    }
}

TEST(DisplayName, isThePartAfterTheLastSeparator)
{
    EXPECT_EQ(displayName(QStringLiteral("/viewer/data/mine.dat")), QStringLiteral("mine.dat"));
    EXPECT_EQ(displayName(QStringLiteral("mine.dat")), QString());
    EXPECT_EQ(displayName(QStringLiteral("/viewer/data/")), QString());
}

TEST(Paths, areBuiltByConcatenationWithoutNormalising)
{
    const QString pf = QStringLiteral("/opt/viewer/./manager");
    EXPECT_EQ(versionPath(pf, QStringLiteral("mine.DAT")), QStringLiteral("/opt/viewer/./manager/../mine.DAT"));
    EXPECT_EQ(templatePath(pf), QStringLiteral("/opt/viewer/./manager/null.mdb"));
    EXPECT_EQ(scratchPath(pf), QStringLiteral("/opt/viewer/./manager/temp.mdb"));
    EXPECT_EQ(referenceVersionPath(pf), QStringLiteral("/opt/viewer/./manager/../개역.DAT"));
}

namespace {

void touch(const QString& path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

} // namespace

TEST(ReferenceVersionPath, findsTheStoredNameWhateverItsLetterCase)
{
    const std::vector<QString> stored = {QStringLiteral("개역.dat"), QStringLiteral("개역.Dat"),
                                         QStringLiteral("개역.DAT")};
    for (const QString& name : stored) {
        SCOPED_TRACE(name.toStdString());
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString pf = dir.filePath(QStringLiteral("manager"));
        ASSERT_TRUE(QDir().mkpath(pf));
        touch(dir.filePath(name));
        EXPECT_EQ(referenceVersionPath(pf), pf + QStringLiteral("/../") + name);
    }
}

TEST(ResolveFileNameCase, prefersAnExactMatchAndLeavesAMissingNameAlone)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    touch(dir.filePath(QStringLiteral("kjv.dat")));
    touch(dir.filePath(QStringLiteral("KJV.DAT")));
    EXPECT_EQ(resolveFileNameCase(dir.filePath(QStringLiteral("KJV.DAT"))), dir.filePath(QStringLiteral("KJV.DAT")));
    EXPECT_EQ(resolveFileNameCase(dir.filePath(QStringLiteral("kjv.dat"))), dir.filePath(QStringLiteral("kjv.dat")));
    EXPECT_EQ(resolveFileNameCase(dir.filePath(QStringLiteral("none.dat"))), dir.filePath(QStringLiteral("none.dat")));
    EXPECT_EQ(resolveFileNameCase(dir.filePath(QStringLiteral("missing/개역.DAT"))),
              dir.filePath(QStringLiteral("missing/개역.DAT")));
}
