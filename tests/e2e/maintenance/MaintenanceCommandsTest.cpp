// byeorisol-data compact, repair and delete, run as a user runs them, on temporary install trees.

#include "../../unit/maintenance/MaintenanceTree.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

using maintenancetest::MaintenanceTree;

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

struct Outcome
{
    int exitCode = -1;
    QString out;
    QString err;
};

class MaintenanceCommands : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(tree.isValid()); }

    Outcome run(const QStringList& arguments, const QString& workingFolder = {}) const
    {
        QProcess process;
        if (!workingFolder.isEmpty()) {
            process.setWorkingDirectory(workingFolder);
        }
        process.start(testsupport::builtProgramFolder() + QStringLiteral("/byeorisol-data"),
                      QStringList{QStringLiteral("--program-folder"), tree.programFolder()} + arguments);
        process.waitForFinished(120000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
    }

    MaintenanceTree tree;
};

TEST_F(MaintenanceCommands, compactsAWholeBibleOverAnOldScratchDatabase)
{
    const QString file = tree.path(QStringLiteral("my.dat"));
    ASSERT_TRUE(QFile::copy(testsupport::builtInstallFolder() + QStringLiteral("/개역.DAT"), file));
    QFile::setPermissions(file, QFile::permissions(file) | QFileDevice::WriteOwner);
    MaintenanceTree::churn(file);
    const auto before = MaintenanceTree::read(file);
    ASSERT_TRUE(before.has_value());
    ASSERT_EQ(before->size(), 31102u);
    MaintenanceTree::write(tree.scratchPath(), "old");

    const Outcome result = run({QStringLiteral("compact"), file});

    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, QStringLiteral("my.dat\n\n성공적으로 완료되었습니다.\n"
                                         "자료의 수정작업이 적으면 자주 최적화할 필요는 없습니다 !\n"));
    EXPECT_EQ(MaintenanceTree::read(file), before);
    EXPECT_EQ(tree.installEntries(), QStringList{QStringLiteral("my.dat")});
    EXPECT_TRUE(tree.programEntries().isEmpty());
}

TEST_F(MaintenanceCommands, aFailedCompactionSaysSoAndKeepsTheFile)
{
    const QString file = tree.path(QStringLiteral("text.dat"));
    MaintenanceTree::write(file, "창 1:1 태초에\r\n");
    const Outcome result = run({QStringLiteral("compact"), file});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.out, QStringLiteral("예기치 못한 오류가 발행하여 더이상 작업을 진행할 수 없습니다 !\n"));
    EXPECT_EQ(MaintenanceTree::bytes(file), QByteArray("창 1:1 태초에\r\n"));
}

TEST_F(MaintenanceCommands, repairsASoundFileAndReportsEachEngineErrorOfABrokenOne)
{
    const QString sound = tree.makeVersion(QStringLiteral("sound.dat"), 30);
    Outcome result = run({QStringLiteral("repair"), sound});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, QStringLiteral("sound.dat\n\n성공적으로 치료가 끝났습니다 !\n"));

    const QString broken = tree.path(QStringLiteral("broken.dat"));
    MaintenanceTree::write(broken, QByteArray(9000, '\0'));
    result = run({QStringLiteral("repair"), broken});
    EXPECT_EQ(result.exitCode, 2);
    const QStringList lines = result.out.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 7) << result.out.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("치료하지 못했습니다!"));
    EXPECT_EQ(lines[1], QStringLiteral("오류 번호: 3343"));
    EXPECT_EQ(lines[3], QStringLiteral("치료하지 못했습니다!"));
    EXPECT_EQ(lines[4], QStringLiteral("오류 번호: 3049"));
    EXPECT_EQ(MaintenanceTree::bytes(broken), QByteArray(9000, '\0'));
}

TEST_F(MaintenanceCommands, deletesPersonalVersionsAndRefusesShippedNames)
{
    QDir(tree.installFolder()).mkdir(QStringLiteral("copies"));
    for (const QString& name : {QStringLiteral("KJV.DAT"), QStringLiteral("User.dat"), QStringLiteral("개역.DAT")}) {
        SCOPED_TRACE(name.toStdString());
        const QString file = tree.path(QStringLiteral("copies/") + name);
        MaintenanceTree::write(file, "x");
        const Outcome result = run({QStringLiteral("delete"), file});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.out, name + QStringLiteral("\n\n선택하신 파일은 기본 제공파일로 삭제할 수 없습니다 !\n"));
        EXPECT_TRUE(QFileInfo::exists(file));
    }
    for (const QString& name : {QStringLiteral("kjv.dat.bak"), QStringLiteral("kjv2.dat")}) {
        SCOPED_TRACE(name.toStdString());
        MaintenanceTree::write(tree.path(name), "x");
        // A relative path names the file as the dialog's full path would.
        const Outcome result = run({QStringLiteral("delete"), name}, tree.installFolder());
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.out, name + QStringLiteral("\n\n삭제되었습니다 !\n"));
        EXPECT_FALSE(QFileInfo::exists(tree.path(name)));
    }
    const Outcome missing = run({QStringLiteral("delete"), tree.path(QStringLiteral("none.dat"))});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.out, QStringLiteral("파일을 찾을 수 없습니다.\n"));
}

TEST_F(MaintenanceCommands, aCommandWithoutExactlyOnePathIsAUsageError)
{
    for (const QStringList& arguments :
         {QStringList{QStringLiteral("compact")},
          QStringList{QStringLiteral("repair"), QStringLiteral("a"), QStringLiteral("b")},
          QStringList{QStringLiteral("delete")}}) {
        const Outcome result = run(arguments);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_TRUE(result.err.contains(QStringLiteral("needs exactly one path")));
    }
}

} // namespace
