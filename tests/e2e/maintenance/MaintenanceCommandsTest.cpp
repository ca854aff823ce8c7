// byeorisol-data compact, repair and delete, run as a user runs them, on temporary install trees.

#include "maintenance/MaintenanceMessages.h"
#include "support/DataCommand.h"
#include "support/InstallTreeTest.h"
#include "support/TestPaths.h"
#include "versiondb/ErrorNumbers.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

using maintenance::MaintenanceMessages;
using maintenance::Message;

Message repairFailed(int number)
{
    return MaintenanceMessages::repairFailed(number, versiondb::errorDescription(number));
}

using MaintenanceCommands = testsupport::InstallTreeTest;

// Each outcome of each command: its output (LF line ends), its exit code, and whether the file is
// there afterwards (unchanged when the run failed). A relative path names the file in the working folder.
TEST_F(MaintenanceCommands, eachCommandSaysWhatItDidWithItsExitCode)
{
    QDir(installFolder()).mkdir(u"copies"_s);
    const QString sound = makeVersion(u"sound.dat"_s, 30, testsupport::Texts::Most);
    const auto records = testsupport::read(sound);
    testsupport::write(scratchPath(), "left by an earlier run");
    namespace number = versiondb::errorNumber;
    const struct
    {
        QString command, file;
        int exitCode;
        QList<Message> out;
        bool kept;
    } cases[] = {
        {"compact", sound, 0, {MaintenanceMessages::compactSucceeded("sound.dat")}, true},
        {"compact", path("text.dat"), 2, {MaintenanceMessages::compactFailed()}, true},
        {"repair", sound, 0, {MaintenanceMessages::repairSucceeded("sound.dat")}, true},
        {"repair",
         path("broken.dat"),
         2,
         {repairFailed(number::UnrecognizedFormat), repairFailed(number::DatabaseDamaged)},
         true},
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
        QString out;
        for (const Message& message : c.out) {
            out += QString(message.text).replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n') + u'\n';
        }
        EXPECT_EQ(result.out, out);
        EXPECT_EQ(QFileInfo::exists(file), c.kept);
        if (c.kept && c.exitCode != 0) {
            EXPECT_EQ(testsupport::bytes(file), before);
        }
        EXPECT_TRUE(programEntries().isEmpty()) << programEntries().join(u' ').toStdString();
    }
    EXPECT_EQ(testsupport::read(sound), records);
}

} // namespace
