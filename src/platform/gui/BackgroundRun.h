#pragma once

#include "platform/RunControl.h"

#include <QEventLoop>
#include <QFutureWatcher>
#include <QProgressBar>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>
#include <exception>
#include <optional>
#include <utility>

namespace platform {

// How often a window shows how far a run has come.
inline constexpr int kProgressIntervalMs = 50;

// Runs work on a worker thread and returns its result once it has ended, while the window's own events go on: it
// repaints, and its cancel button can call control.cancel(). The progress bar, when given, shows the control's count
// every 50 ms. The caller disables what would disturb the run before and enables it after, and keeps the window
// from closing meanwhile. What work throws is thrown again here, on the window's thread.
template <typename Work> auto runInBackground(RunControl& control, QProgressBar* bar, Work work)
{
    using Result = decltype(work());
    std::exception_ptr thrown;
    QFutureWatcher<std::optional<Result>> watcher;
    QEventLoop loop;
    QObject::connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
    QTimer progress;
    progress.setInterval(kProgressIntervalMs);
    QObject::connect(&progress, &QTimer::timeout, &loop, [&control, bar] {
        if (bar != nullptr && control.total() > 0) {
            bar->setRange(0, 1000);
            bar->setValue(static_cast<int>(1000 * std::min(control.done(), control.total()) / control.total()));
        }
    });
    watcher.setFuture(QtConcurrent::run([&work, &thrown]() -> std::optional<Result> {
        try {
            return work();
        } catch (...) {
            thrown = std::current_exception();
            return std::nullopt;
        }
    }));
    progress.start();
    if (!watcher.isFinished()) {
        loop.exec();
    }
    progress.stop();
    watcher.waitForFinished();
    if (thrown) {
        std::rethrow_exception(thrown);
    }
    return std::move(*watcher.future().takeResult());
}

} // namespace platform
