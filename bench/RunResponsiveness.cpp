// How the windows stay with the user during a long run: a whole-Bible build into a version goes on a worker through
// runInBackground, as the import window runs it, while a timer on the window's thread ticks every 5 ms. Prints the
// longest the window's thread went without an event (it repaints within that), the whole run's time, and how soon a
// cancel given halfway through ends the run.
//   run-responsiveness   (run offscreen)

#include "KjvText.h"
#include "import/BuildPipeline.h"
#include "platform/RunControl.h"
#include "platform/gui/BackgroundRun.h"
#include "support/TestPaths.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace {

struct Measured
{
    qint64 runMs = 0;
    qint64 longestGapMs = 0;
    qint64 cancelToEndMs = -1;
    bool cancelled = false;
};

// A build of the whole Bible into the version "whole.DAT" of the install folder, cancelled once half of it is read
// when cancelHalfway.
Measured build(const QString& programFolder, const QStringList& files, bool cancelHalfway)
{
    platform::RunControl control;
    QElapsedTimer clock;
    QElapsedTimer sinceCancel;
    qint64 lastTick = 0;
    qint64 longestGap = 0;
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longestGap = std::max(longestGap, now - lastTick);
        lastTick = now;
        if (cancelHalfway && !control.cancelled() && control.stage() == 2 && control.total() > 0 &&
            control.done() * 2 >= control.total()) {
            sinceCancel.start();
            control.cancel();
        }
    });
    clock.start();
    ticks.start(5);
    importer::BuildPipeline pipeline(programFolder, control);
    const importer::RunResult result = platform::runInBackground(
        control, nullptr, [&] { return pipeline.runBuild(QStringLiteral("whole"), files).result; });
    Measured measured;
    measured.cancelToEndMs = sinceCancel.isValid() ? sinceCancel.elapsed() : -1;
    measured.runMs = clock.elapsed();
    ticks.stop();
    measured.longestGapMs = std::max(longestGap, measured.runMs - lastTick);
    measured.cancelled = result == importer::RunResult::Cancelled;
    return measured;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir root;
    const QString programFolder = root.filePath(QStringLiteral("viewer/manager"));
    QDir().mkpath(programFolder);
    const bool copied =
        QFile::copy(testsupport::builtInstallFolder() + QStringLiteral("/개역.DAT"),
                    root.filePath(QStringLiteral("viewer/개역.DAT"))) &&
        QFile::copy(testsupport::builtProgramFolder() + QStringLiteral("/null.mdb"), programFolder + "/null.mdb");
    const QStringList files = benchdata::kjvBookFiles();
    if (!copied || files.size() != 66) {
        std::fputs("run-responsiveness: cannot lay out the install folder or find the 66 book files\n", stderr);
        return 2;
    }
    const Measured fresh = build(programFolder, files, false);
    const Measured again = build(programFolder, files, false);
    const Measured cancelled = build(programFolder, files, true);
    std::printf("whole-Bible build on the worker: %lld ms fresh, %lld ms into the built; the window's thread went at "
                "most %lld ms without an event\n",
                static_cast<long long>(fresh.runMs), static_cast<long long>(again.runMs),
                static_cast<long long>(std::max(fresh.longestGapMs, again.longestGapMs)));
    std::printf("a cancel halfway into the built version ended the run %lld ms after it was given (%s)\n",
                static_cast<long long>(cancelled.cancelToEndMs), cancelled.cancelled ? "cancelled" : "NOT cancelled");
    return cancelled.cancelled ? 0 : 1;
}
