// The built program started as a user would start it, on a temporary copy of
// its program folder, under a real X display (Xvfb in the test run).

#include "platform/InstanceLock.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

const QString kPreviousInstance =
    QStringLiteral("성경자료 관리기 프로그램이 이미 실행되고 있거나 불완전 종료되었습니다 !\n"
                   "불완전하게 종료되었을 경우 윈도우를 다시 시작해야 합니다 !");
const QString kViewerRunning = QStringLiteral("벼리솔이 실행되고 있습니다 !\n"
                                              "벼리솔을 종료한 다음 성경자료 관리기를 실행시켜 주십시오 !");

class StartUp : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY")) {
            GTEST_SKIP() << "no X display (DISPLAY is not set): run these tests under xvfb-run, as scripts/test does";
        }
        ASSERT_TRUE(m_tree.isValid());
        m_programFolder = m_tree.filePath(QStringLiteral("manager"));
        ASSERT_TRUE(QDir().mkpath(m_programFolder));
        m_program = m_programFolder + QStringLiteral("/byeorisol-manager");
        ASSERT_TRUE(QFile::copy(testsupport::builtProgramFolder() + QStringLiteral("/byeorisol-manager"), m_program));
    }

    void TearDown() override
    {
        for (QProcess* p : m_started) {
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
            delete p;
        }
    }

    QProcess* start(const QString& platform)
    {
        auto* process = new QProcess;
        m_started.push_back(process);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        process->setProcessEnvironment(env);
        process->start(m_program, {});
        EXPECT_TRUE(process->waitForStarted(5000));
        return process;
    }

    // True once some process holds the instance lock of the temporary program folder.
    bool lockHeld() const
    {
        return !platform::InstanceLock::acquire(platform::instanceLockKey(m_programFolder)).has_value();
    }

    bool waitForLock(bool held) const
    {
        for (int i = 0; i < 200; ++i) {
            if (lockHeld() == held) {
                return true;
            }
            QThread::msleep(25);
        }
        return false;
    }

    // Closes the first window the process shows, as a user clicking its close box.
    static bool closeWindowOf(const QProcess& process)
    {
        QProcess helper;
        helper.start(testsupport::testBinFolder() + QStringLiteral("/x11-test-window"),
                     {QStringLiteral("close"), QString::number(process.processId()), QStringLiteral("15000")});
        return helper.waitForFinished(20000) && helper.exitCode() == 0;
    }

    QProcess* holdWindow(const QString& className, const QString& title)
    {
        auto* helper = new QProcess;
        m_started.push_back(helper);
        helper->start(testsupport::testBinFolder() + QStringLiteral("/x11-test-window"),
                      {QStringLiteral("hold"), className, title});
        EXPECT_TRUE(helper->waitForReadyRead(10000));
        EXPECT_EQ(helper->readLine().trimmed(), QByteArray("ready"));
        return helper;
    }

    static QString standardError(QProcess& process) { return QString::fromUtf8(process.readAllStandardError()); }

    QTemporaryDir m_tree;
    QString m_programFolder;
    QString m_program;
    std::vector<QProcess*> m_started;
};

TEST_F(StartUp, secondInstanceIsRefusedAndEnds)
{
    QProcess* first = start(QStringLiteral("offscreen"));
    ASSERT_TRUE(waitForLock(true));

    QProcess* second = start(QStringLiteral("xcb"));
    ASSERT_TRUE(closeWindowOf(*second));
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_NE(second->exitCode(), 0);
    EXPECT_TRUE(standardError(*second).contains(kPreviousInstance));
    EXPECT_EQ(first->state(), QProcess::Running);
}

TEST_F(StartUp, killedInstanceLeavesNoLockBehind)
{
    QProcess* first = start(QStringLiteral("offscreen"));
    ASSERT_TRUE(waitForLock(true));
    first->kill();
    ASSERT_TRUE(first->waitForFinished(5000));
    ASSERT_TRUE(waitForLock(false));

    QProcess* next = start(QStringLiteral("xcb"));
    ASSERT_TRUE(waitForLock(true));
    ASSERT_TRUE(closeWindowOf(*next)); // its main window: closing it ends the program
    ASSERT_TRUE(next->waitForFinished(10000));
    EXPECT_EQ(next->exitCode(), 0);
    EXPECT_FALSE(standardError(*next).contains(kPreviousInstance));
}

TEST_F(StartUp, viewerInputWindowStopsTheStart)
{
    holdWindow(QStringLiteral("ThunderRT5Form"), QStringLiteral("성경입력전용창"));
    QProcess* manager = start(QStringLiteral("xcb"));
    ASSERT_TRUE(closeWindowOf(*manager));
    ASSERT_TRUE(manager->waitForFinished(10000));
    EXPECT_NE(manager->exitCode(), 0);
    EXPECT_TRUE(standardError(*manager).contains(kViewerRunning));
}

TEST_F(StartUp, windowsThatOnlyResembleTheViewerDoNotStopTheStart)
{
    holdWindow(QStringLiteral("OtherForm"), QStringLiteral("성경입력전용창"));
    holdWindow(QStringLiteral("ThunderRT5Form"), QStringLiteral("성경입력전용창 "));
    holdWindow(QStringLiteral("ThunderRT5Form"), QStringLiteral("벼리솔"));
    QProcess* manager = start(QStringLiteral("xcb"));
    ASSERT_TRUE(waitForLock(true));
    ASSERT_TRUE(closeWindowOf(*manager));
    ASSERT_TRUE(manager->waitForFinished(10000));
    EXPECT_EQ(manager->exitCode(), 0);
    const QString said = standardError(*manager);
    EXPECT_FALSE(said.contains(kViewerRunning)) << said.toStdString();
    EXPECT_FALSE(said.contains(kPreviousInstance)) << said.toStdString();
}

} // namespace
