// byeorisol-data compact, repair and delete, run as a user runs them, on temporary install trees.

#include "maintenance/MaintenanceMessages.h"
#include "support/DataCommand.h"
#include "support/InstallTreeTest.h"
#include "support/TestPaths.h"
#include "versiondb/ErrorNumbers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

using maintenance::MaintenanceMessages;
using maintenance::Message;

// Messages as the console prints them, each line ended by LF.
QString console(const QList<Message>& messages)
{
    QString out;
    for (const Message& message : messages) {
        out += QString(message.text).replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n') + u'\n';
    }
    return out;
}

Message repairFailed(int number)
{
    return MaintenanceMessages::repairFailed(number, versiondb::errorDescription(number));
}

using MaintenanceCommands = testsupport::InstallTreeTest;

TEST_F(MaintenanceCommands, compactsAWholeBibleOverAnOldScratchDatabase)
{
    const QString file = path(u"my.dat"_s);
    ASSERT_TRUE(QFile::copy(testsupport::builtInstallFolder() + u"/개역.DAT"_s, file));
    QFile::setPermissions(file, QFile::permissions(file) | QFileDevice::WriteOwner);
    testsupport::churn(file);
    const auto before = testsupport::read(file);
    ASSERT_EQ(before.value_or(testsupport::Records{}).size(), 31102u);
    testsupport::write(scratchPath(), "old");
    const testsupport::CommandResult result = testsupport::runDataCommand(programFolder(), {u"compact"_s, file});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, console({MaintenanceMessages::compactSucceeded(u"my.dat"_s)}));
    EXPECT_EQ(testsupport::read(file), before);
    EXPECT_EQ(installEntries(), QStringList{u"my.dat"_s});
    EXPECT_TRUE(programEntries().isEmpty());
}

// Each run: its output, its exit code, and whether the file is there afterwards (unchanged when it
// failed). A relative path names the file in the working folder.
TEST_F(MaintenanceCommands, eachCommandSaysWhatItDidWithItsExitCode)
{
    QDir(installFolder()).mkdir(u"copies"_s);
    const QString sound = makeVersion(u"sound.dat"_s, 30, testsupport::Texts::Most);
    const QString tableless = makeVersion(u"tableless.dat"_s, 30, testsupport::Texts::Most);
    (void)testsupport::sql(tableless, u"PRAGMA secure_delete=ON; DROP TABLE \"본문\""_s);
    namespace number = versiondb::errorNumber;
    const struct
    {
        QString command, file;
        int exitCode;
        QList<Message> out;
        bool kept;
    } cases[] = {
        {"compact", path("text.dat"), 2, {MaintenanceMessages::compactFailed()}, true},
        {"repair", sound, 0, {MaintenanceMessages::repairSucceeded("sound.dat")}, true},
        {"repair",
         path("broken.dat"),
         2,
         {repairFailed(number::UnrecognizedFormat), repairFailed(number::DatabaseDamaged)},
         true},
        {"repair", tableless, 2, {repairFailed(number::NoSuchTable), repairFailed(number::DatabaseDamaged)}, true},
        {"delete", path("copies/KJV.DAT"), 1, {MaintenanceMessages::shippedFileRefused("KJV.DAT")}, true},
        {"delete", "kjv.dat.bak", 0, {MaintenanceMessages::deleted("kjv.dat.bak")}, false},
        {"delete", "none.dat", 2, {MaintenanceMessages::deleteFailed(MaintenanceMessages::fileNotFound())}, false},
    };
    for (const auto& c : cases) {
        const QString file = QDir(installFolder()).filePath(c.file);
        SCOPED_TRACE(file.toStdString());
        if (!QFileInfo::exists(file) && c.file != u"none.dat"_s) {
            testsupport::write(file, "창 1:1 태초에\r\n");
        }
        const QByteArray before = testsupport::bytes(file);
        const testsupport::CommandResult result =
            testsupport::runDataCommand(programFolder(), {c.command, c.file}, installFolder());
        EXPECT_EQ(result.exitCode, c.exitCode) << result.err.toStdString();
        EXPECT_EQ(result.out, console(c.out));
        EXPECT_EQ(QFileInfo::exists(file), c.kept);
        if (c.kept && c.exitCode != 0) {
            EXPECT_EQ(testsupport::bytes(file), before);
        }
    }
}

} // namespace
