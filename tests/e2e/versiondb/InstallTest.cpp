// `cmake --install` lays out the shipped files under a prefix and never replaces a version file that is already there.

#include "support/InstallTreeTest.h"

#include <QFile>

using namespace Qt::StringLiterals;
using namespace testsupport;

// The laid-out files keep a rollback journal (header bytes 18 and 19 are 1), as every file the program writes does.
TEST(InstallShippedFiles, laysOutTheVersionFilesAndKeepsTheUsersOwn)
{
    QTemporaryDir prefix;
    const QStringList install{u"--install"_s, builtInstallFolder() + u"/.."_s, u"--prefix"_s, prefix.path()};
    outputOf(u"" BYEORISOL_CMAKE_COMMAND ""_s, install);
    const QString reference = prefix.filePath(u"개역.DAT"_s), user = prefix.filePath(u"user.dat"_s);
    const QString templateFile = prefix.filePath(u"manager/null.mdb"_s);
    const QByteArray builtTemplate = bytes(builtProgramFolder() + u"/null.mdb"_s);
    for (const auto& [file, built] : {std::pair{reference, bytes(builtInstallFolder() + u"/개역.DAT"_s)},
                                      {user, bytes(builtInstallFolder() + u"/user.dat"_s)},
                                      {templateFile, builtTemplate}}) {
        EXPECT_EQ(bytes(file), built) << file.toStdString();
        EXPECT_EQ(bytes(file).mid(18, 2), QByteArray("\x01\x01", 2)) << file.toStdString();
    }
    // The user has changed user.dat, and keeps the reference version under a name in another case.
    const QString renamed = prefix.filePath(u"개역.dat"_s);
    write(user, "the user's own verses");
    ASSERT_TRUE(QFile::rename(reference, renamed));
    write(renamed, "the user's reference version");
    write(templateFile, "old template");
    outputOf(u"" BYEORISOL_CMAKE_COMMAND ""_s, install);
    EXPECT_EQ(bytes(user), QByteArray("the user's own verses"));
    EXPECT_EQ(bytes(renamed), QByteArray("the user's reference version"));
    EXPECT_FALSE(QFile::exists(reference));
    EXPECT_EQ(bytes(templateFile), builtTemplate); // the program's own files are replaced
}
