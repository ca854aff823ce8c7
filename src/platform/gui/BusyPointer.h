#pragma once

#include <QApplication>
#include <QCursor>

namespace platform {

// The application-wide hourglass pointer while the object lives; set() and
// restore() switch it explicitly for code that restores it before a message.
class BusyPointer
{
public:
    BusyPointer() { set(); }
    ~BusyPointer() { restore(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

    void set()
    {
        if (!m_active) {
            QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
            m_active = true;
        }
    }
    void restore()
    {
        if (m_active) {
            QApplication::restoreOverrideCursor();
            m_active = false;
        }
    }

private:
    bool m_active = false;
};

} // namespace platform
