// Exclusive use across processes, and what a file holds after its writer was killed.

#include "support/InstallTreeTest.h"
#include "support/TestPaths.h"
#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/Password.h"
#include "versiondb/Recordset.h"
#include "versiondb/SideFiles.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QThread>

using testsupport::bytes;
using namespace versiondb;
using testsupport::errorOf;

namespace {

QString childProgram()
{
    return testsupport::testBinFolder() + QStringLiteral("/versiondb-test-child");
}

class CrossProcess : public testsupport::InstallTreeTest
{};

} // namespace

TEST_F(CrossProcess, aFileHeldByAnotherProcessFailsAtOnceAsInUseUntilItIsReleased)
{
    const QString file = makeVersion(QStringLiteral("held.dat"), 5);
    QProcess child;
    child.start(childProgram(), {QStringLiteral("hold"), file});
    ASSERT_TRUE(child.waitForStarted(10000));
    ASSERT_TRUE(child.waitForReadyRead(10000));
    ASSERT_EQ(child.readLine().trimmed(), QByteArray("open"));

    const QByteArray before = bytes(file);
    EXPECT_EQ(errorOf([&] { (void)DBEngine::instance().OpenDatabase(file, true, false, passwordConnect()); }),
              errorNumber::FileInUse);
    EXPECT_EQ(errorOf([&] { DBEngine::instance().RepairDatabase(file); }), errorNumber::FileInUse);
    EXPECT_EQ(bytes(file), before);

    child.closeWriteChannel();
    ASSERT_TRUE(child.waitForFinished(10000));
    EXPECT_EQ(child.exitCode(), 0);
    auto db = DBEngine::instance().OpenDatabase(file, true, false, passwordConnect());
    EXPECT_EQ(db->OpenRecordset(QStringLiteral("본문"))->RecordCount(), 5);
}

TEST_F(CrossProcess, aKilledWriterLeavesEveryReturnedUpdateInASoundFile)
{
    const QString file = makeVersion(QStringLiteral("crash.dat"), 0);
    QSet<int> reported;
    int next = 1;
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        QProcess child;
        child.start(childProgram(), {QStringLiteral("store"), file, QString::number(next)});
        ASSERT_TRUE(child.waitForStarted(10000));
        // Let it write for a random while, then kill it wherever it is.
        const int wanted = QRandomGenerator::global()->bounded(20, 400);
        QByteArray output;
        while (output.count('\n') < wanted && child.state() == QProcess::Running) {
            child.waitForReadyRead(1000);
            output += child.readAllStandardOutput();
        }
        QThread::usleep(QRandomGenerator::global()->bounded(3000));
        child.kill();
        ASSERT_TRUE(child.waitForFinished(10000));
        output += child.readAllStandardOutput();
        for (const QByteArray& line : output.split('\n')) {
            if (line.isEmpty()) {
                continue;
            }
            bool ok = false;
            const int n = line.toInt(&ok);
            ASSERT_TRUE(ok) << line.toStdString();
            reported.insert(n);
            next = std::max(next, n + 1);
        }
        // A record whose report was cut off may be stored too: the next round starts after it.
        ++next;

        auto db = DBEngine::instance().OpenDatabase(file, true, false, passwordConnect());
        auto rs = db->OpenRecordset(QStringLiteral("본문"));
        rs->setIndex(QStringLiteral("번호"));
        for (const int n : reported) {
            rs->Seek(QStringLiteral("="), n);
            ASSERT_FALSE(rs->NoMatch()) << n;
            EXPECT_EQ(rs->Fields(QStringLiteral("성경구절")).Value(), QVariant(QStringLiteral("창 %1:1").arg(n)));
            EXPECT_EQ(rs->Fields(QStringLiteral("본문")).Value(),
                      QVariant(QStringLiteral("본문 %1 ").arg(n).repeated(1 + n % 9)));
            if (n % 3 == 0) {
                EXPECT_EQ(rs->Fields(QStringLiteral("권")).Value(), QVariant(n % 66 + 1));
            }
        }
        rs->Close();
        db->Close();
        EXPECT_EQ(testsupport::integrityOf(file), QStringLiteral("ok"));
        // Once opened and closed again, the version is one file.
        for (const QString& side : sideFilePaths(file)) {
            EXPECT_FALSE(QFile::exists(side)) << side.toStdString();
        }
    }
    EXPECT_GT(reported.size(), 40);
}
