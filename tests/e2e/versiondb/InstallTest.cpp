// `cmake --install` lays out the shipped files under a prefix and never
// replaces a version file that is already there.

#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray contentOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& content)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
}

// Runs cmake --install of the build into prefix; true when it succeeded.
bool install(const QString& prefix)
{
    QProcess cmake;
    const QString buildFolder = QDir::cleanPath(testsupport::builtInstallFolder() + QStringLiteral("/.."));
    cmake.start(QStringLiteral(BYEORISOL_CMAKE_COMMAND),
                {QStringLiteral("--install"), buildFolder, QStringLiteral("--prefix"), prefix});
    if (!cmake.waitForFinished(120000)) {
        return false;
    }
    if (cmake.exitStatus() != QProcess::NormalExit || cmake.exitCode() != 0) {
        ADD_FAILURE() << cmake.readAllStandardError().toStdString();
        return false;
    }
    return true;
}

} // namespace

TEST(InstallShippedFiles, laysOutTheVersionFilesAndKeepsTheUsersOwn)
{
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    ASSERT_TRUE(install(prefix.path()));
    const QString reference = prefix.filePath(QStringLiteral("개역.DAT"));
    const QString user = prefix.filePath(QStringLiteral("user.dat"));
    const QString templateFile = prefix.filePath(QStringLiteral("manager/null.mdb"));
    EXPECT_EQ(contentOf(reference), contentOf(testsupport::builtInstallFolder() + QStringLiteral("/개역.DAT")));
    EXPECT_EQ(contentOf(user), contentOf(testsupport::builtInstallFolder() + QStringLiteral("/user.dat")));
    EXPECT_EQ(contentOf(templateFile), contentOf(testsupport::builtProgramFolder() + QStringLiteral("/null.mdb")));

    // The user has changed user.dat, and keeps the reference version under a name in another case.
    writeFile(user, "the user's own verses");
    ASSERT_TRUE(QFile::rename(reference, prefix.filePath(QStringLiteral("개역.dat"))));
    writeFile(prefix.filePath(QStringLiteral("개역.dat")), "the user's reference version");
    writeFile(templateFile, "old template");

    ASSERT_TRUE(install(prefix.path()));
    EXPECT_EQ(contentOf(user), QByteArray("the user's own verses"));
    EXPECT_EQ(contentOf(prefix.filePath(QStringLiteral("개역.dat"))), QByteArray("the user's reference version"));
    EXPECT_FALSE(QFile::exists(reference));
    // The program's own files are replaced.
    EXPECT_EQ(contentOf(templateFile), contentOf(testsupport::builtProgramFolder() + QStringLiteral("/null.mdb")));
}
