#pragma once

#include "platform/RunControl.h"
#include "support/DataCommand.h"
#include "support/InstallTree.h"

#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <atomic>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <thread>

// Readable failure messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace testsupport {

// The seed of a test's random timings and data: BYEORISOL_TEST_SEED, or 0. Tests name it in their failures, so
// that a red run can be replayed.
[[nodiscard]] inline quint32 testSeed()
{
    return static_cast<quint32>(qEnvironmentVariableIntValue("BYEORISOL_TEST_SEED"));
}

// A message of the core as byeorisol-data prints it: LF line ends and a final one.
[[nodiscard]] inline QString console(QString message)
{
    return message.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n') + u'\n';
}

// Runs a program, which must succeed, to its end, its output into a file when one is given; what it printed (on
// standard output, or on both outputs when they are merged).
inline QString outputOf(const QString& program, const QStringList& arguments, const QString& into = {},
                        QProcess::ProcessChannelMode channels = QProcess::SeparateChannels)
{
    QProcess process;
    process.setProcessChannelMode(channels);
    if (!into.isEmpty()) {
        process.setStandardOutputFile(into);
    }
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(300000) && process.exitStatus() == QProcess::NormalExit &&
                process.exitCode() == 0)
        << program.toStdString() << ": " << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// What run() gives while a second thread cancels control, as a user's Cancel, once due() holds or run() has ended.
template <typename Run> auto cancelledWhen(platform::RunControl& control, const std::function<bool()>& due, Run run)
{
    std::atomic<bool> ended = false;
    std::thread canceller([&] {
        while (!ended && !due()) {
            std::this_thread::yield();
        }
        control.cancel();
    });
    auto result = run();
    ended = true;
    canceller.join();
    return result;
}

// Whether one of these programs is not on the PATH: a test that compares with them then skips.
[[nodiscard]] inline bool lacks(const QStringList& programs)
{
    return std::ranges::any_of(programs, [](const QString& p) { return QStandardPaths::findExecutable(p).isEmpty(); });
}

// A GoogleTest fixture with an install tree of its own.
class InstallTreeTest : public ::testing::Test, public InstallTree
{
protected:
    using InstallTree::InstallTree;
    void SetUp() override { ASSERT_TRUE(isValid()); }
};

// An install tree with the template and the built reference version, for runs of byeorisol-data.
class DataCommandTest : public InstallTreeTest
{
protected:
    DataCommandTest() : InstallTreeTest({QStringLiteral("null.mdb")}) {}
    void SetUp() override { ASSERT_TRUE(isValid() && addReference()); }
    [[nodiscard]] CommandResult run(const QStringList& arguments) const
    {
        return runDataCommand(programFolder(), arguments);
    }
    // Runs byeorisol-data, which must end with this exit code having printed this message of the core.
    void expectRun(const QStringList& arguments, int exitCode, const QString& message) const
    {
        const CommandResult result = run(arguments);
        EXPECT_EQ(result.exitCode, exitCode) << arguments.join(u' ').toStdString();
        EXPECT_EQ(result.out, console(message));
    }
    // Starts byeorisol-data without waiting for its end.
    void start(QProcess& process, const QStringList& arguments) const
    {
        process.start(builtProgramFolder() + QStringLiteral("/byeorisol-data"),
                      QStringList{QStringLiteral("--program-folder"), programFolder()} + arguments);
        ASSERT_TRUE(process.waitForStarted(10000));
    }
};

} // namespace testsupport
