// The built program started as a user would start it, on a temporary copy of its program folder, under a real X display
// (Xvfb in the test run).

#include "shell/gui/StartUp.h"

#include "platform/InstanceLock.h"
#include "support/InstallTree.h"
#include "support/TestPaths.h"

#include <QProcess>
#include <QSysInfo>
#include <QThread>
#include <gtest/gtest.h>
#include <list>

using namespace Qt::StringLiterals;

namespace {

// The platform plugin of a window on the desktop.
const QString kDesktop = QSysInfo::kernelType() == u"winnt"_s ? u"windows"_s : u"xcb"_s;

class StartUp : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY")) {
            GTEST_SKIP() << "no X display (DISPLAY is not set): run these tests under xvfb-run, as scripts/test does";
        }
        ASSERT_TRUE(m_tree.isValid());
    }
    // Starts the manager, or another program; every process started is killed when the test ends, by the destructor of
    // its QProcess.
    QProcess* start(const QString& platform = kDesktop, const QString& program = {}, const QStringList& arguments = {})
    {
        QProcess& process = m_started.emplace_back();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, platform);
        process.setProcessEnvironment(environment);
        process.start(program.isEmpty() ? m_tree.programFile(u"byeorisol-manager"_s) : program, arguments);
        EXPECT_TRUE(process.waitForStarted(5000));
        return &process;
    }
    // Waits until some process holds the instance lock of the temporary program folder, or none does.
    bool waitForLock(bool held) const
    {
        const QString key = platform::instanceLockKey(m_tree.programFolder());
        for (int i = 0; i < 200; ++i) {
            if (!platform::InstanceLock::acquire(key).has_value() == held) {
                return true;
            }
            QThread::msleep(25);
        }
        return false;
    }
    // Closes the first window of a manager started on X, as a user clicking its close box, and waits for its end: its
    // exit code (-1 when it did not end) and what it said on standard error.
    std::pair<int, QString> closeWindowOf(QProcess& process) const
    {
        QProcess helper;
        helper.start(testsupport::testBinFolder() + u"/test-window"_s,
                     {u"close"_s, QString::number(process.processId()), u"15000"_s});
        if (!helper.waitForFinished(20000) || helper.exitCode() != 0 || !process.waitForFinished(10000)) {
            return {-1, {}};
        }
        const QString said = QString(process.readAllStandardError()).replace(u"\r\n"_s, u"\n"_s);
        return {process.exitCode(), QString(said).replace(u"\n"_s, u"\r\n"_s)};
    }
    void holdWindow(const QString& className, const QString& title)
    {
        QProcess* helper =
            start(kDesktop, testsupport::testBinFolder() + u"/test-window"_s, {u"hold"_s, className, title});
        EXPECT_TRUE(helper->waitForReadyRead(10000) && helper->readLine().trimmed() == "ready");
    }
    testsupport::InstallTree m_tree{{u"byeorisol-manager"_s}};
    std::list<QProcess> m_started;
};

// A second instance is refused and ends; a killed instance leaves no lock behind, and the next starts.
TEST_F(StartUp, secondInstanceIsRefusedAndAKilledInstanceLeavesNoLockBehind)
{
    QProcess* first = start(u"offscreen"_s);
    ASSERT_TRUE(waitForLock(true));
    const auto [exitCode, said] = closeWindowOf(*start());
    EXPECT_EQ(exitCode, 1);
    EXPECT_TRUE(said.contains(shell::previousInstanceMessage())) << said.toStdString();
    EXPECT_EQ(first->state(), QProcess::Running);
    first->kill();
    ASSERT_TRUE(first->waitForFinished(5000));
    ASSERT_TRUE(waitForLock(false));
    QProcess* next = start();
    ASSERT_TRUE(waitForLock(true));
    EXPECT_EQ(closeWindowOf(*next).first, 0); // its main window: closing it ends the program
}

// Only the viewer's input window, by its class and exact title, stops the start.
TEST_F(StartUp, theViewerInputWindowStopsTheStartAndLookalikesDoNot)
{
    holdWindow(u"OtherForm"_s, u"성경입력전용창"_s);
    holdWindow(u"ThunderRT5Form"_s, u"성경입력전용창 "_s);
    QProcess* manager = start();
    ASSERT_TRUE(waitForLock(true));
    EXPECT_EQ(closeWindowOf(*manager).first, 0);
    holdWindow(u"ThunderRT5Form"_s, u"성경입력전용창"_s);
    const auto [exitCode, said] = closeWindowOf(*start());
    EXPECT_EQ(exitCode, 1);
    EXPECT_TRUE(said.contains(shell::viewerRunningMessage())) << said.toStdString();
}

} // namespace
