// `cmake --install` lays out the shipped files under a prefix and never
// replaces a version file that is already there.

#include "support/InstallTree.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using testsupport::bytes;
using testsupport::write;

namespace {

// Runs cmake --install of the build into prefix; true when it succeeded.
bool install(const QString& prefix)
{
    QProcess cmake;
    cmake.start(QStringLiteral(BYEORISOL_CMAKE_COMMAND),
                {QStringLiteral("--install"),
                 QDir::cleanPath(testsupport::builtInstallFolder() + QStringLiteral("/..")), QStringLiteral("--prefix"),
                 prefix});
    const bool done = cmake.waitForFinished(120000) && cmake.exitStatus() == QProcess::NormalExit;
    EXPECT_EQ(done ? cmake.exitCode() : -1, 0) << cmake.readAllStandardError().toStdString();
    return done && cmake.exitCode() == 0;
}

} // namespace

TEST(InstallShippedFiles, laysOutTheVersionFilesAndKeepsTheUsersOwn)
{
    QTemporaryDir prefix;
    ASSERT_TRUE(install(prefix.path()));
    const QString reference = prefix.filePath(QStringLiteral("개역.DAT"));
    const QString user = prefix.filePath(QStringLiteral("user.dat"));
    const QString templateFile = prefix.filePath(QStringLiteral("manager/null.mdb"));
    const QByteArray builtTemplate = bytes(testsupport::builtProgramFolder() + QStringLiteral("/null.mdb"));
    EXPECT_EQ(bytes(reference), bytes(testsupport::builtInstallFolder() + QStringLiteral("/개역.DAT")));
    EXPECT_EQ(bytes(user), bytes(testsupport::builtInstallFolder() + QStringLiteral("/user.dat")));
    EXPECT_EQ(bytes(templateFile), builtTemplate);

    // The user has changed user.dat, and keeps the reference version under a name in another case.
    write(user, "the user's own verses");
    ASSERT_TRUE(QFile::rename(reference, prefix.filePath(QStringLiteral("개역.dat"))));
    write(prefix.filePath(QStringLiteral("개역.dat")), "the user's reference version");
    write(templateFile, "old template");
    ASSERT_TRUE(install(prefix.path()));
    EXPECT_EQ(bytes(user), QByteArray("the user's own verses"));
    EXPECT_EQ(bytes(prefix.filePath(QStringLiteral("개역.dat"))), QByteArray("the user's reference version"));
    EXPECT_FALSE(QFile::exists(reference));
    EXPECT_EQ(bytes(templateFile), builtTemplate); // the program's own files are replaced
}
