#pragma once

#include <QApplication>
#include <QCursor>
#include <QScopeGuard>

namespace platform {

// Runs work under the application-wide hourglass pointer and returns what it returns; the pointer is back before
// anything says what the work did.
template <typename Work> auto whileBusy(Work work)
{
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    return work();
}

} // namespace platform
