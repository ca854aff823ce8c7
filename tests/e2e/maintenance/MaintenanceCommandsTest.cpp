// byeorisol-data compact, repair and delete, run as a user runs them, on temporary install trees.

#include "support/DataCommand.h"
#include "support/InstallTree.h"
#include "support/TestPaths.h"
#include "versiondb/ErrorNumbers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using testsupport::InstallTree;

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

using Outcome = testsupport::CommandResult;

class MaintenanceCommands : public ::testing::Test
{
protected:
    Outcome run(const QStringList& arguments, const QString& workingFolder = {}) const
    {
        return testsupport::runDataCommand(tree.programFolder(), arguments, workingFolder);
    }

    InstallTree tree;
};

TEST_F(MaintenanceCommands, compactsAWholeBibleOverAnOldScratchDatabase)
{
    const QString file = tree.path(QStringLiteral("my.dat"));
    ASSERT_TRUE(QFile::copy(testsupport::builtInstallFolder() + QStringLiteral("/개역.DAT"), file));
    QFile::setPermissions(file, QFile::permissions(file) | QFileDevice::WriteOwner);
    testsupport::churn(file);
    const auto before = testsupport::read(file);
    ASSERT_TRUE(before.has_value());
    ASSERT_EQ(before->size(), 31102u);
    testsupport::write(tree.scratchPath(), "old");

    const Outcome result = run({QStringLiteral("compact"), file});

    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, QStringLiteral("my.dat\n\n성공적으로 완료되었습니다.\n"
                                         "자료의 수정작업이 적으면 자주 최적화할 필요는 없습니다 !\n"));
    EXPECT_EQ(testsupport::read(file), before);
    EXPECT_EQ(tree.installEntries(), QStringList{QStringLiteral("my.dat")});
    EXPECT_TRUE(tree.programEntries().isEmpty());
}

// Each run: its output, its exit code, and whether the file is there afterwards (unchanged when it is).
TEST_F(MaintenanceCommands, eachCommandSaysWhatItDidWithItsExitCode)
{
    QDir(tree.installFolder()).mkdir(QStringLiteral("copies"));
    const QString sound = tree.makeVersion(QStringLiteral("sound.dat"), 30, testsupport::Texts::Most);
    // A version without its table: nothing to salvage.
    const QString tableless = tree.makeVersion(QStringLiteral("tableless.dat"), 30, testsupport::Texts::Most);
    (void)testsupport::sql(tableless, QStringLiteral("PRAGMA secure_delete=ON; DROP TABLE \"본문\""));
    const QByteArray text = "창 1:1 태초에\r\n";
    const QString shipped = QStringLiteral("\n\n선택하신 파일은 기본 제공파일로 삭제할 수 없습니다 !\n");
    const auto failed = [](int number) {
        return QStringLiteral("치료하지 못했습니다!\n오류 번호: %1\n").arg(number) +
               versiondb::errorDescription(number) + QStringLiteral("\n");
    };
    struct Case
    {
        QString command;
        QString file;    // written with the text when it does not exist yet
        QString working; // a relative path names the file as the dialog's full path would
        int exitCode;
        QString out;
        bool kept;
    };
    const std::vector<Case> cases = {
        {"compact",
         tree.path("text.dat"),
         {},
         2,
         "예기치 못한 오류가 발행하여 더이상 작업을 진행할 수 없습니다 !\n",
         true},
        {"repair", sound, {}, 0, "sound.dat\n\n성공적으로 치료가 끝났습니다 !\n", true},
        {"repair",
         tree.path("broken.dat"),
         {},
         2,
         failed(versiondb::errorNumber::UnrecognizedFormat) + failed(versiondb::errorNumber::DatabaseDamaged),
         true},
        {"repair",
         tableless,
         {},
         2,
         failed(versiondb::errorNumber::NoSuchTable) + failed(versiondb::errorNumber::DatabaseDamaged),
         true},
        {"delete", tree.path("copies/KJV.DAT"), {}, 1, "KJV.DAT" + shipped, true},
        {"delete", "kjv.dat.bak", tree.installFolder(), 0, "kjv.dat.bak\n\n삭제되었습니다 !\n", false},
        {"delete", "kjv2.dat", tree.installFolder(), 0, "kjv2.dat\n\n삭제되었습니다 !\n", false},
    };
    for (const Case& c : cases) {
        const QString file = QDir(tree.installFolder()).filePath(c.file);
        SCOPED_TRACE(file.toStdString());
        if (!QFileInfo::exists(file)) {
            testsupport::write(file, text);
        }
        const QByteArray before = testsupport::bytes(file);
        const Outcome result = run({c.command, c.file}, c.working);
        EXPECT_EQ(result.exitCode, c.exitCode) << result.err.toStdString();
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(QFileInfo::exists(file), c.kept);
        if (c.kept && c.exitCode != 0) {
            EXPECT_EQ(testsupport::bytes(file), before);
        }
    }
    const Outcome missing = run({QStringLiteral("delete"), tree.path(QStringLiteral("none.dat"))});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.out, QStringLiteral("파일을 찾을 수 없습니다.\n"));
}

} // namespace
