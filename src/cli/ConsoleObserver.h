#pragma once

#include "platform/MessageIcon.h"
#include "platform/RunControl.h"

#include <QString>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

namespace cli {

// Shows how far a run has come on the terminal: while it lives, a thread of its own draws the run control's count
// as a progress bar on standard error every 100 ms, when that is a terminal, with the stage's status text when the
// run is a build. The run itself goes on on the caller's thread. Asks nothing.
class ConsoleObserver
{
public:
    explicit ConsoleObserver(const platform::RunControl& control, bool building);
    // Stops drawing and clears the bar's line.
    ~ConsoleObserver();
    ConsoleObserver(const ConsoleObserver&) = delete;
    ConsoleObserver& operator=(const ConsoleObserver&) = delete;

private:
    void draw();

    const platform::RunControl& m_control;
    const bool m_building;
    bool m_drawn = false;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::thread m_drawer;
};

// Prints a message text of the system on standard output: line breaks as the terminal's own.
void printMessage(const QString& text);
inline void printMessage(const platform::Message& message)
{
    printMessage(message.text);
}

} // namespace cli
