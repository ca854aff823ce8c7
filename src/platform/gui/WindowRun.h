#pragma once

#include "platform/RunControl.h"

#include <QList>
#include <QMetaObject>
#include <QPointer>

class QProgressBar;
class QPushButton;
class QWidget;

namespace platform {

// A run of a window, for as long as it lives: every control of the window is
// disabled but its cancel button, which cancels control, and its progress bar, which shows (busy until the run
// reports a count); the window refuses to close while running() says so. Afterwards everything is as before.
class WindowRun
{
public:
    WindowRun(QWidget* window, QProgressBar* progressBar, QPushButton* cancelButton, RunControl& control);
    ~WindowRun();
    WindowRun(const WindowRun&) = delete;
    WindowRun& operator=(const WindowRun&) = delete;

    // Sets up a window's progress bar and cancel button for its runs: both idle, the bar hidden without giving its
    // place away, the button never the one Enter presses.
    static void prepare(QProgressBar* progressBar, QPushButton* cancelButton);

    // Whether a run of the window is going on: its close and Escape are ignored meanwhile.
    [[nodiscard]] static bool running(const QWidget* window);

private:
    QWidget* m_window;
    QProgressBar* m_progressBar;
    QPushButton* m_cancelButton;
    QList<QPointer<QWidget>> m_disabled;
    QPointer<QWidget> m_focus;
    QMetaObject::Connection m_cancel;
};

} // namespace platform
