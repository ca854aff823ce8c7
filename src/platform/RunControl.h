#pragma once

#include <QtGlobal>
#include <atomic>

namespace platform {

// What a long run shares with whoever watches it, across threads: how far it has come (a count out of a total:
// files, lines or verses; stage says which part of the run counts) and whether it is to stop. The run reports and
// asks between its steps; the watcher reads and cancels. A run that finds itself cancelled leaves every file as it
// was before it and ends with an outcome that says so.
class RunControl
{
public:
    void report(qint64 done, qint64 total) noexcept
    {
        m_total.store(total, std::memory_order_relaxed);
        m_done.store(done, std::memory_order_relaxed);
    }
    void setStage(int stage) noexcept { m_stage.store(stage, std::memory_order_relaxed); }
    void cancel() noexcept { m_cancelled.store(true, std::memory_order_relaxed); }

    [[nodiscard]] qint64 done() const noexcept { return m_done.load(std::memory_order_relaxed); }
    [[nodiscard]] qint64 total() const noexcept { return m_total.load(std::memory_order_relaxed); }
    [[nodiscard]] int stage() const noexcept { return m_stage.load(std::memory_order_relaxed); }
    [[nodiscard]] bool cancelled() const noexcept { return m_cancelled.load(std::memory_order_relaxed); }

private:
    std::atomic<qint64> m_done{0};
    std::atomic<qint64> m_total{0};
    std::atomic<int> m_stage{0};
    std::atomic<bool> m_cancelled{false};
};

} // namespace platform
