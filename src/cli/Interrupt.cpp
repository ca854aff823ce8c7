#include "cli/Interrupt.h"

#include <atomic>
#include <csignal>

namespace cli {

namespace {

std::atomic<platform::RunControl*> g_interrupted{nullptr};
static_assert(std::atomic<platform::RunControl*>::is_always_lock_free);

extern "C" void cancelOnInterrupt(int)
{
    if (platform::RunControl* control = g_interrupted.exchange(nullptr)) {
        control->cancel();
    }
    // The next Ctrl+C ends the process.
    std::signal(SIGINT, SIG_DFL);
}

} // namespace

InterruptScope::InterruptScope(platform::RunControl& control)
{
    g_interrupted.store(&control);
    std::signal(SIGINT, cancelOnInterrupt);
}

InterruptScope::~InterruptScope()
{
    std::signal(SIGINT, SIG_DFL);
    g_interrupted.store(nullptr);
}

} // namespace cli
